#include "ExchangeHistory.h"

#include "Database.h"
#include "SchemaTables.h"

#include "runtime/dataset.h"

using namespace Qt::StringLiterals;

namespace ExchangeHistory {

namespace {

// A text searched for inside names: its wildcards stand for themselves.
QString containing(QString text)
{
    text.replace(u'!', u"!!"_s).replace(u'%', u"!%"_s).replace(u'_', u"!_"_s);
    return u'%' + text + u'%';
}

} // namespace

QStringList fields()
{
    QStringList names;
    for (const Schema::Column &column : Schema::exchangeTable().columns)
        names.append(column.name.toString());
    return names;
}

QList<Change> find(Database &db, const Filter &filter)
{
    const QString history = Schema::exchangeHistoryTable().name.toString();
    // Both engines compare a date-time with a day's text: text order in SQLite,
    // a timestamp in PostgreSQL.
    QVariantList parameters{filter.from.toString(u"yyyy-MM-dd"_s)};
    QString sql = u"SELECT h.*, e.PersonName AS ChangedPersonName FROM %1 h"
                  u" LEFT JOIN HR_Employee e"
                  u" ON e.EmployeeCode = coalesce(h.New_EmployeeCode, h.Old_EmployeeCode)"
                  u" WHERE h.ChangedAt >= $1"_s.arg(history);
    // The range ends before the day after it. The last day of year 9999 has no
    // such day in four digits ("10000-01-01" sorts before every date as text):
    // it leaves the range open.
    const QDate dayAfter = filter.to.addDays(1);
    if (dayAfter.year() <= 9999) {
        parameters.append(dayAfter.toString(u"yyyy-MM-dd"_s));
        sql += u" AND h.ChangedAt < $%1"_s.arg(parameters.size());
    }
    if (!filter.operatorCode.isEmpty()) {
        parameters.append(filter.operatorCode);
        sql += u" AND h.OperatorCode = $%1"_s.arg(parameters.size());
    }
    parameters.append(filter.viewerCode);
    sql += u" AND e.DeptCode IN (SELECT d.DeptCode FROM Sys_OperatorDept d"
           u" JOIN Sys_Operator o ON o.ID = d.OperatorID WHERE o.OperatorCode = $%1)"_s.arg(
               parameters.size());
    const QString employee = filter.employee.trimmed();
    if (!employee.isEmpty()) {
        parameters.append(employee);
        const qsizetype exact = parameters.size();
        parameters.append(containing(employee));
        sql += u" AND (h.Old_EmployeeCode = $%1 OR h.New_EmployeeCode = $%1"
               u" OR e.JobNumber = $%1 OR e.PersonName LIKE $%2 ESCAPE '!')"_s.arg(exact)
                   .arg(parameters.size());
    }
    sql += u" ORDER BY h.ChangedAt DESC, h.HistoryID DESC"_s;

    const std::unique_ptr<TDataSet> rows = db.select(sql, parameters);
    const QStringList names = fields();
    std::vector<int> beforeFields;
    std::vector<int> afterFields;
    for (const QString &name : names) {
        beforeFields.push_back(rows->fieldByName(Schema::historyColumn(name, false)).index());
        afterFields.push_back(rows->fieldByName(Schema::historyColumn(name, true)).index());
    }
    const int id = rows->fieldByName(u"HistoryID"_s).index();
    const int changedAt = rows->fieldByName(u"ChangedAt"_s).index();
    const int kind = rows->fieldByName(u"ChangeKind"_s).index();
    const int operatorCode = rows->fieldByName(u"OperatorCode"_s).index();
    const int personName = rows->fieldByName(u"ChangedPersonName"_s).index();
    const int newEmployee = afterFields[size_t(names.indexOf(u"EmployeeCode"_s))];
    const int oldEmployee = beforeFields[size_t(names.indexOf(u"EmployeeCode"_s))];

    QList<Change> changes;
    changes.reserve(rows->recordCount());
    for (int r = 0; r < rows->recordCount(); ++r) {
        Change change;
        change.id = rows->asInteger(r, id);
        change.changedAt = rows->asString(r, changedAt);
        change.kind = rows->asString(r, kind);
        change.operatorCode = rows->asString(r, operatorCode);
        change.employeeCode = rows->isNull(r, newEmployee) ? rows->asString(r, oldEmployee)
                                                           : rows->asString(r, newEmployee);
        change.personName = rows->asString(r, personName);
        for (size_t f = 0; f < beforeFields.size(); ++f) {
            change.before.append(rows->asString(r, beforeFields[f]));
            change.after.append(rows->asString(r, afterFields[f]));
        }
        changes.append(change);
    }
    return changes;
}

} // namespace ExchangeHistory
