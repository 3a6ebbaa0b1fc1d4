#include "CheckRulesCommand.h"

#include "CommandArguments.h"
#include "HostOptions.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/rules/BreachTable.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "runtime/exceptions.h"

#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool isCsv(const QString &fileName)
{
    return fileName.endsWith(u".csv"_s, Qt::CaseInsensitive);
}

bool isXls(const QString &fileName)
{
    return fileName.endsWith(u".xls"_s, Qt::CaseInsensitive);
}

// The days asked for: a day left out is the first or last of the other's
// month, or of this month when both are.
Schedule::DateRange rangeOf(const HostOptions &options)
{
    const QDate anchor = options.from.isValid() ? options.from
                         : options.to.isValid() ? options.to
                                                : QDate::currentDate();
    const QDate from =
        options.from.isValid() ? options.from : QDate(anchor.year(), anchor.month(), 1);
    const QDate to =
        options.to.isValid() ? options.to : QDate(from.year(), from.month(), from.daysInMonth());
    return {from, to};
}

void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
}

// The lines of the file on the standard output, then how many breaches each
// rule counted.
void printBreaches(const std::vector<BreachRow> &breaches)
{
    print(BreachTable::csvLine(BreachTable::header()));
    std::array<int, Schedule::RuleCount> counts{};
    for (const BreachRow &breach : breaches) {
        print(BreachTable::csvLine(BreachTable::cells(breach)));
        ++counts[size_t(breach.rule)];
    }
    print(QString());
    for (int rule = 0; rule < Schedule::RuleCount; ++rule) {
        print(u"%1：%2 条"_s.arg(Schedule::ruleId(Schedule::Rule(rule))).arg(counts[size_t(rule)]));
    }
}

} // namespace

QString CheckRulesCommand::name() const
{
    return u"check-rules"_s;
}

QString CheckRulesCommand::argumentsHelp() const
{
    return u"[OUT]"_s;
}

QString CheckRulesCommand::help() const
{
    return u"列出这段日期违反工时规则和最少在岗人数的记录，写入 OUT（.csv 或 .xls）或逐行打印"_s;
}

void CheckRulesCommand::checkArguments(const QStringList &arguments) const
{
    if (arguments.size() > 1)
        throw UsageError(u"check-rules 后面最多写一个文件名（.csv 或 .xls）。"_s);
    if (arguments.size() == 1 && !isCsv(arguments.first()) && !isXls(arguments.first()))
        throw UsageError(
            u"check-rules 只能写 .csv 或 .xls 文件，而不是“%1”。"_s.arg(arguments.first()));
}

int CheckRulesCommand::run(const HostOptions &options, Database &db, ErrorLog &log) const
{
    const HostSession session(db, log, options.operatorCode);
    if (!options.department.isEmpty()
        && db.nativeValue(u"SELECT count(*) FROM Sys_Dept WHERE DeptCode = $1"_s,
                          {options.department})
               == u"0"_s) {
        Terminal::say(u"没有编号为 %1 的部门。"_s.arg(options.department));
        return 1;
    }
    const Schedule::DateRange range = rangeOf(options);
    const std::vector<BreachRow> breaches = checkRules(
        db, {session.deptScope(session.currentOperator()->ID), options.department, range});
    if (options.commandArguments.isEmpty()) {
        printBreaches(breaches);
        return 0;
    }
    try {
        OutputFile file(options.commandArguments.first());
        if (isCsv(file.targetPath()))
            BreachTable::writeCsv(file.partialPath(), breaches);
        else
            BreachTable::writeXls(file.partialPath(), breaches);
        file.commit();
        print(u"已把 %1 至 %2 的 %3 条违规记录写入 %4"_s
                  .arg(range.first.toString(u"yyyy-MM-dd"_s), range.last.toString(u"yyyy-MM-dd"_s))
                  .arg(breaches.size())
                  .arg(file.targetPath()));
        return 0;
    } catch (const Rt::Exception &e) {
        Terminal::say(u"写入失败：%1"_s.arg(e.message()));
        return 1;
    }
}
