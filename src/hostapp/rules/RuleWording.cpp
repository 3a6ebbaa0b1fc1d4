#include "RuleWording.h"

using namespace Qt::StringLiterals;

namespace RuleWording {

QString title(Schedule::Rule rule)
{
    switch (rule) {
    case Schedule::Rule::DailyMax:
        return u"每日工时上限"_s;
    case Schedule::Rule::DailyOvertime:
        return u"每日加班"_s;
    case Schedule::Rule::MonthlyOvertime:
        return u"每月加班上限"_s;
    case Schedule::Rule::RestDays:
        return u"每周休息日"_s;
    case Schedule::Rule::WeeklyHours:
        return u"每周工时上限"_s;
    case Schedule::Rule::DailyRest:
        return u"每日休息时间"_s;
    case Schedule::Rule::Coverage:
        return u"最少在岗人数"_s;
    }
    return {};
}

QString hours(int minutes)
{
    const int whole = minutes / 60;
    const int rest = minutes % 60;
    return rest == 0 ? u"%1 小时"_s.arg(whole) : u"%1 小时 %2 分"_s.arg(whole).arg(rest);
}

QString describe(const BreachRow &breach, const QString &departmentName)
{
    switch (breach.rule) {
    case Schedule::Rule::DailyMax:
        return u"当天工作 %1，超过 %2"_s.arg(hours(breach.value), hours(breach.limit));
    case Schedule::Rule::DailyOvertime:
        return u"当天工作 %1，超过标准工作日 %2，计为加班"_s.arg(hours(breach.value),
                                                                 hours(breach.limit));
    case Schedule::Rule::MonthlyOvertime:
        return u"本月加班已达 %1，超过 %2"_s.arg(hours(breach.value), hours(breach.limit));
    case Schedule::Rule::RestDays:
        return u"连续工作 %1 天，没有休息日"_s.arg(breach.value);
    case Schedule::Rule::WeeklyHours:
        return u"本周工作 %1，超过 %2"_s.arg(hours(breach.value), hours(breach.limit));
    case Schedule::Rule::DailyRest:
        return u"两个工作日之间只休息 %1，少于 %2"_s.arg(hours(breach.value), hours(breach.limit));
    case Schedule::Rule::Coverage:
        return u"%1 %2 在岗 %3 人，低于最少 %4 人"_s
            .arg(departmentName.isEmpty() ? breach.deptCode : departmentName,
                 breach.day.toString(u"yyyy-MM-dd"_s))
            .arg(breach.value)
            .arg(breach.limit);
    }
    return {};
}

} // namespace RuleWording
