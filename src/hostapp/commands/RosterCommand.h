#pragma once

#include "HostCommand.h"

// talvex-host roster FILE.csv|FILE.xls [--from] [--to] [--dept CODE]: every
// current employee of the operator's scope (or of one department and those
// below it) with the effective schedule of each day of the range, for scripts
// and payroll. The range defaults to the current month. 0 only when the file
// was written; an earlier file of that name stays as it was otherwise.
class RosterCommand : public HostCommand
{
public:
    // The most days a roster covers: a workbook sheet has 256 columns.
    static constexpr int maxDays = 253;

    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    int options() const override { return DateRange | Department; }
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
