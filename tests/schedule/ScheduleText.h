#pragma once

#include "schedule/EffectiveSchedule.h"

#include <QStringList>

// Schedules written as the roster shows them, so that test tables read like one:
// "08:00-12:00 13:00-17:30" for the periods, "休" for a rest day, "" for nothing.
namespace ScheduleText {

using namespace Qt::StringLiterals;

inline Schedule::Periods periods(const QString &text)
{
    if (text == u"休"_s || text.isEmpty())
        return {};
    const QStringList parts = text.split(u' ');
    const QStringList first = parts[0].split(u'-');
    const QStringList second =
        parts.size() > 1 ? parts[1].split(u'-') : QStringList{u"00:00"_s, u"00:00"_s};
    return Schedule::periodsFromTexts(first[0], first[1], second[0], second[1]);
}

inline QString text(const Schedule::Cell &cell)
{
    if (cell.source == Schedule::Source::None)
        return {};
    if (cell.rest)
        return u"休"_s;
    const Schedule::Periods &p = cell.periods;
    QString out = Schedule::clockText(p.period1Beg) + u'-' + Schedule::clockText(p.period1End);
    if (p.hasPeriod2())
        out += u' ' + Schedule::clockText(p.period2Beg) + u'-' + Schedule::clockText(p.period2End);
    return out;
}

// Plan rows "yyyy-mm-dd ClassType ClassID SubClassNo periods..." of employee.
inline std::vector<Schedule::PlanDay> planRows(const QStringList &rows, int employee = 0)
{
    std::vector<Schedule::PlanDay> plan;
    for (const QString &row : rows) {
        const QStringList f = row.split(u' ');
        plan.push_back({employee, QDate::fromString(f[0], Qt::ISODate),
                        periods(f.mid(4).join(u' ')), f[1].toInt(), f[2], f[3].toInt()});
    }
    return plan;
}

// Exchange rows "yyyy-mm-dd periods..." or "yyyy-mm-dd 休" of employee.
inline std::vector<Schedule::Exchange> exchangeRows(const QStringList &rows, int employee = 0)
{
    std::vector<Schedule::Exchange> exchanges;
    for (const QString &row : rows) {
        const QString rest = row.mid(11);
        exchanges.push_back({employee,
                             QDate::fromString(row.left(10), Qt::ISODate),
                             periods(rest),
                             rest != u"休"_s,
                             {},
                             {},
                             {}});
    }
    return exchanges;
}

// Cycle rows "ClassID SubClassNo periods...".
inline std::vector<Schedule::CycleDay> cycleRows(const QStringList &rows)
{
    std::vector<Schedule::CycleDay> cycles;
    for (const QString &row : rows) {
        const QStringList f = row.split(u' ');
        cycles.push_back({f[0], f[1].toInt(), periods(f.mid(2).join(u' '))});
    }
    return cycles;
}

} // namespace ScheduleText
