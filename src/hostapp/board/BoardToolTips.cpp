#include "BoardToolTips.h"

#include "BoardData.h"

#include "hostapp/rules/RuleWording.h"
#include "runtime/datetime.h"

using namespace Qt::StringLiterals;

namespace BoardToolTips {

namespace {

QString shown(const BoardData &board, quint16 text)
{
    return text == 0 ? u"没有排班"_s : board.texts.text(text);
}

QString sourceCaption(Schedule::Source source)
{
    return source == Schedule::Source::Projected ? u"按轮班推算"_s : u"排班计划"_s;
}

} // namespace

QString weekdayName(const QDate &day)
{
    static const QString names[] = {u"一"_s, u"二"_s, u"三"_s, u"四"_s, u"五"_s, u"六"_s, u"日"_s};
    return names[day.dayOfWeek() - 1];
}

QString cell(const BoardData &board, int employee, int day)
{
    const ScheduleRows::Employee &who = board.rows.employees.at(employee);
    const QDate date = board.day(day);
    const BoardData::Cell &shownCell = board.cell(employee, day);
    QStringList lines{u"%1（%2）%3 星期%4"_s.arg(
        who.name, who.jobNumber, date.toString(u"yyyy-MM-dd"_s), weekdayName(date))};
    const qint64 key = board.cellKey(employee, day);
    if (const auto note = board.exchangeNotes.constFind(key); note != board.exchangeNotes.cend()) {
        const Schedule::Exchange &exchange = board.rows.exchanges.at(size_t(note->exchange));
        lines << u"调班：%1"_s.arg(shown(board, shownCell.text));
        lines << (note->plannedSource == Schedule::Source::None
                      ? u"原来：没有排班"_s
                      : u"原来（%1）：%2"_s.arg(sourceCaption(note->plannedSource),
                                                shown(board, note->plannedText)));
        lines << u"调班理由：%1"_s.arg(exchange.reason);
        lines << u"操作员：%1"_s.arg(exchange.operatorCode);
        if (exchange.changed.isValid())
            lines << u"时间：%1"_s.arg(
                Rt::DateTime::toText(Rt::DateTime::fromDateTime(exchange.changed)));
    } else if (shownCell.text == 0) {
        lines << u"没有排班"_s;
    } else {
        const auto source = shownCell.flags & BoardData::Projected ? Schedule::Source::Projected
                                                                   : Schedule::Source::Plan;
        lines << u"%1：%2"_s.arg(sourceCaption(source), shown(board, shownCell.text));
    }
    for (const BoardData::CellBreach &breach : board.breachesOf(employee, day)) {
        const bool note = breach.rule == Schedule::Rule::DailyOvertime;
        BreachRow row;
        row.rule = breach.rule;
        row.day = date;
        row.value = breach.value;
        row.limit = breach.limit;
        lines << u"%1 %2（%3）：%4"_s.arg(
            note ? u"加班提醒"_s : u"违反规则"_s, Schedule::ruleId(breach.rule),
            RuleWording::title(breach.rule), RuleWording::describe(row));
    }
    return lines.join(u'\n');
}

QString total(const BoardData &board, int day)
{
    QStringList lines{u"%1 在岗 %2 人"_s.arg(board.day(day).toString(u"yyyy-MM-dd"_s))
                          .arg(board.workingCounts.at(size_t(day)))};
    for (auto breach = board.coverageBreaches.constFind(day);
         breach != board.coverageBreaches.cend() && breach.key() == day; ++breach) {
        lines << RuleWording::describe(*breach, board.departmentName(breach->deptCode));
    }
    return lines.join(u'\n');
}

} // namespace BoardToolTips
