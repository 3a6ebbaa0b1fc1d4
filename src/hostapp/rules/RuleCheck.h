#pragma once

#include "schedule/WorkingTimeRules.h"

#include <QDate>
#include <QString>

#include <vector>

class Database;

// One breach of a working-time rule as the host reports it, with the employee
// or, for coverage, the department it names.
struct BreachRow
{
    Schedule::Rule rule = Schedule::Rule::DailyMax;
    Schedule::Action action = Schedule::Action::Warn;
    QString employeeCode; // empty for coverage
    QString employeeName; // empty for coverage
    QString deptCode;     // the employee's department, or the department short of staff
    QDate day;            // the day the breach is counted on
    int value = 0;        // minutes, days in a row for rest-days, employees for coverage
    int limit = 0;
};

// Which employees and days to check.
struct RuleCheckSelection
{
    // The departments the operator may see, as OperatorRights::deptScope() gives them.
    QString scope;
    // A department and those below it; empty for the whole scope.
    QString department;
    Schedule::DateRange range;
};

// Every breach counted on a day of the selection's range, by day, then rule,
// then employee or department. Each employee is checked under his department's
// profile over his effective schedule, read as far before and after the range
// as the profile's rules look; each department of the selection with a minimum
// is checked under its own profile. Raises DbError.
std::vector<BreachRow> checkRules(Database &db, const RuleCheckSelection &selection);
