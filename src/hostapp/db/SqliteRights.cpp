#include "SqliteRights.h"

#include "OperatorRights.h"
#include "SchemaTables.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SqliteRights {

namespace {

// True when the session's operator lacks the change level on the right.
QString lacksChangeLevel(QStringView right)
{
    return u"coalesce((SELECT r.RightLevel FROM Sys_OperatorRight r"
           u" JOIN Sys_Operator o ON o.ID = r.OperatorID"
           u" WHERE o.OperatorCode = host_operator() AND r.RightCode = '%1'), 0) < %2"_s.arg(right)
               .arg(OperatorRights::changeLevel);
}

// True when the employee is outside the session operator's departments.
QString outsideDepartments(const QString &employeeCode)
{
    return u"%1 IS NOT NULL AND NOT EXISTS (SELECT 1 FROM HR_Employee e"
           u" JOIN Sys_OperatorDept d ON d.DeptCode = e.DeptCode"
           u" JOIN Sys_Operator o ON o.ID = d.OperatorID"
           u" WHERE e.EmployeeCode = %1 AND o.OperatorCode = host_operator())"_s.arg(employeeCode);
}

QString refusal(QStringView message, const QString &condition)
{
    return u"SELECT RAISE(ABORT, '%1') WHERE %2;"_s.arg(message, condition);
}

struct Event
{
    QStringView sql;
    QStringView name; // in the trigger's name
};
constexpr Event insert{u"INSERT", u"Insert"};
constexpr Event update{u"UPDATE", u"Update"};
constexpr Event remove{u"DELETE", u"Delete"};

QString trigger(QStringView table, Event event, const QString &body)
{
    return u"CREATE TRIGGER TR_%1_%2Right BEFORE %3 ON %1 WHEN host_operator() IS NOT NULL"
           u" BEGIN %4 END"_s.arg(table, event.name, event.sql, body);
}

// What the triggers of an exchange check: the level first, as the register
// checks it before anything else, then the employees the change touches.
QString exchangeChecks(const QStringList &employees)
{
    QString body = refusal(noRight, lacksChangeLevel(OperatorRights::registerRight));
    for (const QString &employee : employees)
        body += refusal(outsideScope, outsideDepartments(employee));
    return body;
}

} // namespace

QString triggers()
{
    const QStringView exchange = Schema::exchangeTable().name;
    QStringList statements{
        trigger(exchange, insert, exchangeChecks({u"NEW.EmployeeCode"_s})),
        trigger(exchange, update, exchangeChecks({u"OLD.EmployeeCode"_s, u"NEW.EmployeeCode"_s})),
        trigger(exchange, remove, exchangeChecks({u"OLD.EmployeeCode"_s})),
    };
    // The employees and departments decide the scope as much as the
    // operators' own tables do.
    const QString administration =
        refusal(noRight, lacksChangeLevel(OperatorRights::administrationRight));
    for (QStringView table : {u"Sys_Operator", u"Sys_OperatorRight", u"Sys_OperatorDept",
                              u"HR_Employee", u"Sys_Dept"}) {
        for (const Event event : {insert, update, remove})
            statements.append(trigger(table, event, administration));
    }
    return statements.join(u";\n"_s);
}

} // namespace SqliteRights
