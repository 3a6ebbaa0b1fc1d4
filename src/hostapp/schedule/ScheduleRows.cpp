#include "ScheduleRows.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

// The employees of a selection, as the condition every statement below shares:
// e is HR_Employee, $1 the department's code as a LIKE pattern.
QString employeeCondition(const QString &scope)
{
    return u"e.DELETED = 0 AND e.DeptCode IN %1 AND e.DeptCode LIKE $1 ESCAPE '!'"_s.arg(scope);
}

// A department and every department below it: its code followed by anything,
// the code's own wildcards standing for themselves.
QString departmentPattern(QString code)
{
    code.replace(u'!', u"!!"_s).replace(u'%', u"!%"_s).replace(u'_', u"!_"_s);
    return code + u'%';
}

QString dayText(const QDate &day)
{
    return day.toString(u"yyyy-MM-dd"_s);
}

QDate dateOf(const TDataSet &rows, int record, int field)
{
    return Rt::DateTime::toDate(rows.asDateTime(record, field));
}

// Four period columns from field onwards.
Schedule::Periods periodsOf(const TDataSet &rows, int record, int field)
{
    return Schedule::periodsFromTexts(
        rows.asString(record, field), rows.asString(record, field + 1),
        rows.asString(record, field + 2), rows.asString(record, field + 3));
}

const QString periodColumns = u"%1.period1Beg, %1.period1end, %1.period2Beg, %1.period2end"_s;

class Reader
{
public:
    Reader(Database &db, const ScheduleRows::Selection &selection, ScheduleRows &rows)
        : m_db(db)
        , m_rows(rows)
        , m_condition(employeeCondition(selection.scope))
        , m_department(departmentPattern(selection.department))
        , m_first(dayText(selection.range.first))
        , m_last(dayText(selection.range.last))
    {
        rows.range = selection.range;
    }

    void readEmployees()
    {
        const auto rows =
            m_db.select(u"SELECT e.EmployeeCode, e.JobNumber, e.PersonName, e.DeptCode"
                        u" FROM HR_Employee e WHERE %1 ORDER BY e.EmployeeCode"_s.arg(m_condition),
                        {m_department});
        m_rows.employees.reserve(rows->recordCount());
        m_numbers.reserve(rows->recordCount());
        for (int r = 0; r < rows->recordCount(); ++r) {
            const QString code = rows->asString(r, 0);
            m_numbers.insert(code, int(m_rows.employees.size()));
            m_rows.employees.append(
                {code, rows->asString(r, 1), rows->asString(r, 2), rows->asString(r, 3)});
        }
    }

    // The plan's rows of the range, then each employee's last planned day before
    // it, found through the plan's index on employee and day.
    void readPlan()
    {
        const QString columns = u"p.employeecode, p.WorkDate, "_s + periodColumns.arg(u"p"_s)
                                + u", p.ClassType, p.ClassID, p.SubClassNo"_s;
        const auto rows = m_db.select(
            u"SELECT %1 FROM HR_Employee e JOIN Kq_WorkPlan p ON p.employeecode = e.EmployeeCode"
            u" WHERE %2 AND p.WorkDate >= $2 AND p.WorkDate <= $3"
            u" UNION ALL"
            u" SELECT %1 FROM HR_Employee e JOIN Kq_WorkPlan p ON p.employeecode = e.EmployeeCode"
            u" AND p.WorkDate = (SELECT max(q.WorkDate) FROM Kq_WorkPlan q"
            u" WHERE q.employeecode = e.EmployeeCode AND q.WorkDate < $2)"
            u" WHERE %2"_s.arg(columns, m_condition),
            {m_department, m_first, m_last});
        m_rows.plan.reserve(size_t(rows->recordCount()));
        for (int r = 0; r < rows->recordCount(); ++r) {
            Schedule::PlanDay day;
            day.employee = m_numbers.value(rows->asString(r, 0), -1);
            day.date = dateOf(*rows, r, 1);
            day.periods = periodsOf(*rows, r, 2);
            day.classType = int(rows->asInteger(r, 6));
            day.classId = rows->asString(r, 7);
            day.subClassNo = int(rows->asInteger(r, 8));
            m_rows.plan.push_back(day);
        }
    }

    void readExchanges()
    {
        const auto rows = m_db.select(
            u"SELECT x.ID, x.EmployeeCode, x.ExchgDate, %1, x.WorkFlag, x.ExchgeReason,"
            u" x.OptorCode, coalesce(x.MODIFIED_TIME, x.CREATE_TIME)"
            u" FROM HR_Employee e JOIN Kq_ExchangeClass x ON x.EmployeeCode = e.EmployeeCode"
            u" WHERE %2 AND x.ExchgDate >= $2 AND x.ExchgDate <= $3"_s.arg(
                periodColumns.arg(u"x"_s), m_condition),
            {m_department, m_first, m_last});
        m_rows.exchanges.reserve(size_t(rows->recordCount()));
        m_rows.exchangeIds.reserve(size_t(rows->recordCount()));
        for (int r = 0; r < rows->recordCount(); ++r) {
            Schedule::Exchange exchange;
            exchange.employee = m_numbers.value(rows->asString(r, 1), -1);
            exchange.date = dateOf(*rows, r, 2);
            exchange.periods = periodsOf(*rows, r, 3);
            // A row written without the flag counts by its periods alone.
            exchange.working = rows->isNull(r, 7) || rows->asInteger(r, 7) != 0;
            exchange.reason = rows->asString(r, 8);
            exchange.operatorCode = rows->asString(r, 9);
            if (!rows->isNull(r, 10))
                exchange.changed = Rt::DateTime::toDateTime(rows->asDateTime(r, 10));
            m_rows.exchanges.push_back(exchange);
            m_rows.exchangeIds.push_back(rows->asInteger(r, 0));
        }
    }

    void readCycles()
    {
        const auto rows =
            m_db.select(u"SELECT d.ClassID, d.SubClassNo, %1 FROM Kq_ClassDetail d"_s.arg(
                periodColumns.arg(u"d"_s)));
        m_rows.cycles.reserve(size_t(rows->recordCount()));
        for (int r = 0; r < rows->recordCount(); ++r) {
            m_rows.cycles.push_back(
                {rows->asString(r, 0), int(rows->asInteger(r, 1)), periodsOf(*rows, r, 2)});
        }
    }

private:
    Database &m_db;
    ScheduleRows &m_rows;
    const QString m_condition;
    const QString m_department;
    const QString m_first;
    const QString m_last;
    QHash<QString, int> m_numbers; // employee code to position in m_rows.employees
};

} // namespace

ScheduleRows ScheduleRows::read(Database &db, const Selection &selection)
{
    ScheduleRows rows;
    Reader reader(db, selection, rows);
    reader.readEmployees();
    reader.readPlan();
    reader.readExchanges();
    reader.readCycles();
    return rows;
}

Schedule::Input ScheduleRows::input() const
{
    Schedule::Input input;
    input.range = range;
    input.employeeCount = int(employees.size());
    input.plan = plan;
    input.exchanges = exchanges;
    input.cycles = cycles;
    return input;
}
