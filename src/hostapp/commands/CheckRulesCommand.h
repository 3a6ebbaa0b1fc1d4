#pragma once

#include "HostCommand.h"

// talvex-host check-rules [OUT.csv|OUT.xls] [--from] [--to] [--dept]: every
// breach of the working-time rules counted on a day of the range, in the
// operator's scope, written to the file or, without one, printed with a count
// per rule. 0 when it ran, whatever it found.
class CheckRulesCommand : public HostCommand
{
public:
    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    int options() const override { return DateRange | Department; }
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
