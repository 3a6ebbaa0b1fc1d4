#pragma once

#include "HostCommand.h"

// talvex-host export-xls FILE.xls [--from yyyy-mm-dd] [--to yyyy-mm-dd]: the
// register's search for a date range, as the operator of the command line sees
// it, saved by the window's own Excel export without a screen. 0 only when the
// file was written. Needs the host's application and screen objects in place.
class ExportXlsCommand : public HostCommand
{
public:
    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    int options() const override { return DateRange; }
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
