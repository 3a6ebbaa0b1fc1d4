#include "RosterCommand.h"

#include "CommandArguments.h"
#include "HostOptions.h"
#include "RosterFile.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "runtime/exceptions.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString dayText(const QDate &day)
{
    return day.toString(u"yyyy-MM-dd"_s);
}

// The days asked for; a missing end is taken from the month of the other, and
// without either the range is the current month.
Schedule::DateRange rangeOf(const HostOptions &options)
{
    const QDate today = QDate::currentDate();
    QDate first = options.from;
    QDate last = options.to;
    if (!first.isValid()) {
        const QDate month = last.isValid() ? last : today;
        first = QDate(month.year(), month.month(), 1);
    }
    if (!last.isValid())
        last = QDate(first.year(), first.month(), first.daysInMonth());
    if (first > last) {
        throw Rt::Exception(u"起始日期 %1 晚于结束日期 %2。"_s.arg(dayText(first), dayText(last)));
    }
    if (first.daysTo(last) >= RosterCommand::maxDays) {
        throw Rt::Exception(
            u"%1 至 %2 太长：排班表最多 %3 天。"_s.arg(dayText(first), dayText(last))
                .arg(RosterCommand::maxDays));
    }
    return {first, last};
}

// A department named on the command line must be one the operator may see.
void requireInScope(Database &db, const QString &scope, const QString &department)
{
    const QString found = db.nativeValue(
        u"SELECT count(*) FROM Sys_Dept WHERE DeptCode = $1 AND DeptCode IN %1"_s.arg(scope),
        {department});
    if (found.toInt() == 0)
        throw Rt::Exception(u"没有部门 %1，或操作员不能查看它。"_s.arg(department));
}

} // namespace

QString RosterCommand::name() const
{
    return u"roster"_s;
}

QString RosterCommand::argumentsHelp() const
{
    return u"FILE.csv|FILE.xls"_s;
}

QString RosterCommand::help() const
{
    return u"把每名员工这段日期每天的班次（计划、轮班推算和调班）导出为 CSV 或 Excel 文件"_s;
}

void RosterCommand::checkArguments(const QStringList &arguments) const
{
    CommandArguments::requireOne(*this, arguments);
    const QString &file = arguments.first();
    if (!file.endsWith(u".csv"_s, Qt::CaseInsensitive) && !RosterFile::isWorkbook(file))
        throw UsageError(u"roster 的文件名要以 .csv 或 .xls 结尾，不能是“%1”。"_s.arg(file));
}

int RosterCommand::run(const HostOptions &options, Database &db, ErrorLog &log) const
{
    try {
        const HostSession session(db, log, options.operatorCode);
        const QString scope = session.deptScope(session.currentOperator()->ID);
        const Schedule::DateRange range = rangeOf(options);
        if (!options.department.isEmpty())
            requireInScope(db, scope, options.department);
        const ScheduleRows rows = ScheduleRows::read(db, {scope, options.department, range});
        const Schedule::Grid grid = Schedule::effectiveSchedule(rows.input());

        OutputFile file(options.commandArguments.first());
        RosterFile::write(file.partialPath(), rows, grid);
        file.commit();
        std::printf("%s\n", qPrintable(u"已导出 %1 至 %2 %3 名员工的排班：%4"_s
                                           .arg(dayText(range.first), dayText(range.last))
                                           .arg(rows.employees.size())
                                           .arg(file.targetPath())));
        return 0;
    } catch (const Rt::DatabaseError &) {
        return Terminal::reportFailure(log, std::current_exception());
    } catch (const Rt::Exception &e) {
        Terminal::say(u"导出失败：%1"_s.arg(e.message()));
        return 1;
    }
}
