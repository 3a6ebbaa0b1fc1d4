#pragma once

#include "schedule/EffectiveSchedule.h"

#include <QList>
#include <QString>

#include <vector>

class Database;

// The rows the effective schedule of a department needs, read in bulk: a few
// statements for any number of employees and days, never one per employee or
// per day. The board, the roster command, batch exchanges, swaps and the
// working-time checks all read through here and hand the rows to the schedule
// library (schedule/EffectiveSchedule.h).
//
//     const ScheduleRows rows = ScheduleRows::read(db, {scope, u"0201"_s, range});
//     const Schedule::Grid grid = Schedule::effectiveSchedule(rows.input());
//     // grid.at(e, d) is rows.employees[e] on day range.first + d
class ScheduleRows
{
public:
    // Which employees and days to read.
    struct Selection
    {
        // The departments the operator may see, as the SQL value list that
        // OperatorRights::deptScope() gives, e.g. ('01','0101').
        QString scope;
        // A department code: that department and every one below it (codes nest
        // by prefix). Empty for the whole scope.
        QString department;
        Schedule::DateRange range;
    };

    struct Employee
    {
        QString code; // EmployeeCode, what plans and exchanges refer to
        QString jobNumber;
        QString name;
        QString deptCode;
    };

    // Current employees (DELETED = 0) of the selection, by employee code, and
    // their plan rows, exchanges and the shift cycles. Raises DbError.
    static ScheduleRows read(Database &db, const Selection &selection);

    // The rows as the schedule library takes them; valid while this object lives
    // unchanged. Employee numbers are positions in employees.
    Schedule::Input input() const;

    Schedule::DateRange range;
    QList<Employee> employees;
    // The plan rows of the range and each employee's last planned day before it.
    std::vector<Schedule::PlanDay> plan;
    std::vector<Schedule::Exchange> exchanges;
    // Every shift's cycle: few rows, and a projection may need any shift.
    std::vector<Schedule::CycleDay> cycles;
    // The key (ID) of each exchange, in the order of exchanges.
    std::vector<qint64> exchangeIds;
};
