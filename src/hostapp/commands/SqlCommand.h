#pragma once

#include "HostCommand.h"

// talvex-host sql "STATEMENT": runs one statement as the plug-in would send it
// through the host's database service, as the operator of the command line, and
// prints the rows (tab-separated, header first) or the number of rows changed. A
// failure prints the operator's message and writes its detail to the log.
class SqlCommand : public HostCommand
{
public:
    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
