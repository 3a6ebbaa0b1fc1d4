#include "BoardPalette.h"

using namespace Qt::StringLiterals;

namespace BoardPalette {

QColor background(quint8 flags, const QDate &day, const QDate &todayDate)
{
    if (flags & BoardData::BreaksRule)
        return breach;
    if (flags & BoardData::Exchanged)
        return exchanged;
    if (day == todayDate)
        return today;
    if (day.dayOfWeek() >= 6)
        return weekend;
    return {};
}

QColor foreground(quint8 flags)
{
    if (flags & BoardData::BreaksRule)
        return breachText;
    if (flags & BoardData::Projected)
        return projectedText;
    return {};
}

QList<LegendEntry> legend()
{
    return {
        {{}, {}, u"08:00-17:00"_s, u"排班计划"_s},
        {{}, projectedText, u"08:00-17:00"_s, u"轮班推算"_s},
        {exchanged, {}, u"*08:00-17:00"_s, u"调班 *"_s},
        {breach, breachText, u"08:00-21:00"_s, u"违反工时规则"_s},
        {{}, {}, u"休"_s, u"休息日"_s},
        {weekend, {}, QString(), u"周末"_s},
        {today, {}, QString(), u"今天"_s},
        {shortDay, QColor(Qt::white), u"11"_s, u"低于最少在岗人数"_s},
    };
}

} // namespace BoardPalette
