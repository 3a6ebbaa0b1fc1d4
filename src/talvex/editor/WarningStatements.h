#pragma once

#include <QDate>
#include <QString>

// The statements behind the editor's working-time warnings, beside the module's
// own: Oracle SQL text for the host's database service. Every text value stands
// between single quotes with its quotes doubled and dates go in through to_date,
// so that no value can end its literal or change a statement.
namespace WarningStatements {

// Who the rows are for: the employee, and the department (with those below it)
// whose working count on the day a minimum asks for; an empty department asks
// for the employee alone.
struct Scope
{
    QString employeeCode;
    QString deptCode;
    // The record being changed: its stored row is replaced by what is typed, so
    // it is left out. Empty for a new exchange; a number otherwise.
    QString recordId;
};

QString ruleProfiles();
QString ruleLimits();
QString departmentProfiles();
// Every department's weekday minima, with the department's name, by department.
QString coverageMinima();
// The minima of one day in place of its weekday's, with the department's name,
// by department.
QString coverageOverrides(const QDate &day);

// The employee's department.
QString employeeDepartment(const QString &employeeCode);
// The current employees of the department, with their departments.
QString members(const Scope &scope);
// The employee's planned days of days, and his last planned day before them.
QString employeePlan(const QString &employeeCode, const QDate &first, const QDate &last);
// The last planned day on or before day of each other member of the department.
QString membersPlan(const Scope &scope, const QDate &day);
// The employee's exchanges of the days first to last, and the department's on day.
QString exchanges(const Scope &scope, const QDate &first, const QDate &last, const QDate &day);
// Every shift's cycle.
QString cycles();

} // namespace WarningStatements
