#include "SwapExchange.h"

#include "ExchangeWriter.h"
#include "PeriodRefusal.h"

#include "hostapp/db/Database.h"
#include "hostapp/schedule/CellText.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "hostapp/services/OperatorMessage.h"
#include "runtime/datetime.h"

using namespace Qt::StringLiterals;

namespace {

QString dayText(const QDate &day)
{
    return Rt::DateTime::toDateText(Rt::DateTime::fromDate(day));
}

// One side of the swap: the employee and what he works on his day.
struct Side
{
    BoardCell cell;
    QString name;
    QString jobNumber;
    Schedule::Cell schedule;

    QString who() const { return u"%1（%2）"_s.arg(name, jobNumber); }
};

[[noreturn]] void refuse(const QString &text)
{
    throw HostError(text, {});
}

Side readSide(Database &db, const QString &scope, const BoardCell &cell)
{
    // The employee's own department is enough to read: one employee's day. One
    // who is no longer on file reads as one outside the operator's departments.
    const QString department = db.nativeValue(
        u"SELECT DeptCode FROM HR_Employee WHERE EmployeeCode = $1 AND DELETED = 0"_s,
        {cell.employeeCode});
    const ScheduleRows rows =
        department.isNull() ? ScheduleRows()
                            : ScheduleRows::read(db, {scope, department, {cell.day, cell.day}});
    for (int e = 0; e < rows.employees.size(); ++e) {
        const ScheduleRows::Employee &employee = rows.employees.at(e);
        if (employee.code != cell.employeeCode)
            continue;
        const Schedule::Grid grid = Schedule::effectiveSchedule(rows.input());
        return {cell, employee.name, employee.jobNumber, grid.at(e, 0)};
    }
    refuse(OperatorMessage::forFailure(DbFailure::OutsideScope));
}

// What to write on to's day: from's schedule, a rest day as all 00:00.
ExchangeWriter::Row rowFor(const Side &to, const Side &from)
{
    if (from.schedule.source == Schedule::Source::None) {
        refuse(u"%1在%2没有排班，无法对调。"_s.arg(from.who(), dayText(from.cell.day)));
    }
    const Schedule::Periods periods =
        from.schedule.rest ? Schedule::Periods() : from.schedule.periods;
    const QString refusal = PeriodRefusal::of(periods);
    if (!refusal.isEmpty()) {
        refuse(u"%1在%2的班次不能用于对调：%3"_s.arg(from.who(), dayText(from.cell.day), refusal));
    }
    const QString reason =
        from.cell.day == to.cell.day
            ? u"与%1对调"_s.arg(from.who())
            : u"与%1对调（对方%2的班次）"_s.arg(from.who(), dayText(from.cell.day));
    return {to.cell.employeeCode, to.cell.day, periods, reason, {}};
}

QString written(const Side &side, const ExchangeWriter::Row &row)
{
    const QString periods = CellText::periods(row.periods);
    return u"%1 %2：%3"_s.arg(side.who(), dayText(side.cell.day), periods);
}

} // namespace

namespace SwapExchange {

Result swap(Database &db, const QString &scope, const QString &operatorCode, const BoardCell &a,
            const BoardCell &b)
{
    if (a.employeeCode == b.employeeCode)
        refuse(u"对调需要两名不同员工的班次，请选择两名员工的单元格。"_s);

    // Read inside the transaction: a file is locked from its start, so what was
    // read is what gets swapped.
    TransactionScope transaction(db);
    const Side first = readSide(db, scope, a);
    const Side second = readSide(db, scope, b);
    const ExchangeWriter::Row toFirst = rowFor(first, second);
    const ExchangeWriter::Row toSecond = rowFor(second, first);

    // A day that already has an exchange takes the swapped periods in its place:
    // that exchange is what the employee works, so it is what the swap replaces;
    // its old values stay in the change history. Refusing would make a day once
    // changed impossible to swap.
    ExchangeWriter writer(db, operatorCode);
    writer.insertOrReplace(toFirst);
    writer.insertOrReplace(toSecond);
    transaction.commit();
    return {written(first, toFirst), written(second, toSecond)};
}

} // namespace SwapExchange
