#include "ExchangeWarnings.h"

#include "runtime/datetime.h"

#include <optional>

using namespace Qt::StringLiterals;
using Schedule::Breach;
using Schedule::Rule;

namespace {

// Whole hours as they are, others to a tenth.
QString hours(int minutes)
{
    return minutes % 60 == 0 ? QString::number(minutes / 60)
                             : QString::number(double(minutes) / 60, 'f', 1);
}

QString dayText(const QDate &day)
{
    return Rt::DateTime::toDateText(Rt::DateTime::fromDate(day));
}

// For these rules a smaller value is the worse one.
bool fewerIsWorse(Rule rule)
{
    return rule == Rule::Coverage || rule == Rule::DailyRest;
}

// The exchange brings the breach about, or makes the same breach worse.
bool worsens(const Breach &breach, const std::vector<Breach> &without)
{
    for (const Breach &before : without) {
        if (before.rule == breach.rule && before.day == breach.day
            && before.department == breach.department) {
            return fewerIsWorse(breach.rule) ? breach.value < before.value
                                             : breach.value > before.value;
        }
    }
    return true;
}

// The employee's rule breaches concern the day when their days take it in.
void keepThoseOf(const QDate &day, std::vector<Breach> &breaches)
{
    std::erase_if(breaches, [&](const Breach &breach) { return !breach.span.contains(day); });
}

} // namespace

ExchangeWarnings::ExchangeWarnings(ExchangeSurroundings surroundings)
    : m_surroundings(std::move(surroundings))
{
    // Row 0 is kept for the typed exchange; as employee -1 it counts for nobody.
    m_surroundings.exchanges.insert(m_surroundings.exchanges.begin(), Schedule::Exchange{});
    m_without = breaches();
}

std::vector<ExchangeWarning> ExchangeWarnings::of(const Schedule::Periods &periods)
{
    // A day of no working minutes is saved as a rest day.
    Schedule::Exchange &typed = m_surroundings.exchanges.front();
    typed.employee = 0;
    typed.date = m_surroundings.day;
    typed.periods = periods;
    typed.working = Schedule::workingMinutes(periods) != 0;

    std::vector<ExchangeWarning> warnings;
    // Of the averaged weeks that take in the day, the heaviest speaks for all.
    std::optional<size_t> weekly;
    int weeklyValue = 0;
    for (const Breach &breach : breaches()) {
        const bool blocks = breach.action == Schedule::Action::Block && worsens(breach, m_without);
        if (breach.rule == Rule::WeeklyHours && weekly) {
            ExchangeWarning &kept = warnings[*weekly];
            if (breach.value > weeklyValue) {
                kept.text = textOf(breach);
                weeklyValue = breach.value;
            }
            kept.blocks = kept.blocks || blocks;
            continue;
        }
        if (breach.rule == Rule::WeeklyHours) {
            weekly = warnings.size();
            weeklyValue = breach.value;
        }
        warnings.push_back({breach.rule, textOf(breach), blocks});
    }
    return warnings;
}

std::vector<Breach> ExchangeWarnings::breaches() const
{
    const ExchangeSurroundings &s = m_surroundings;
    static constexpr int employee[] = {0};
    const Schedule::Grid days =
        Schedule::effectiveSchedule({s.window, 1, s.plan, s.exchanges, s.cycles});
    std::vector<Breach> found = Schedule::checkEmployees(days, s.profile, s.asked, employee);
    keepThoseOf(s.day, found);
    if (s.departments.empty())
        return found;
    const Schedule::DateRange day{s.day, s.day};
    const Schedule::Grid members =
        Schedule::effectiveSchedule({day, s.memberCount, s.plan, s.exchanges, s.cycles});
    for (const ExchangeSurroundings::Department &department : s.departments) {
        const std::vector<Breach> shortOnTheDay =
            Schedule::checkCoverage(members, department.profile, day, {&department.requirement, 1});
        found.insert(found.end(), shortOnTheDay.begin(), shortOnTheDay.end());
    }
    return found;
}

QString ExchangeWarnings::textOf(const Breach &breach) const
{
    switch (breach.rule) {
    case Rule::DailyMax:
        return u"当天工作 %1 小时，超过 %2 小时"_s.arg(hours(breach.value), hours(breach.limit));
    case Rule::DailyOvertime:
        return u"当天工作 %1 小时，超过标准 %2 小时"_s.arg(hours(breach.value),
                                                           hours(breach.limit));
    case Rule::MonthlyOvertime:
        return u"本月加班已达 %1 小时，超过 %2 小时"_s.arg(hours(breach.value),
                                                           hours(breach.limit));
    case Rule::RestDays:
        return u"连续工作 %1 天，没有休息日"_s.arg(breach.value);
    case Rule::WeeklyHours:
        if (m_surroundings.profile.averagingWeeks > 1) {
            return u"%1 周平均每周工作 %2 小时，超过 %3 小时"_s.arg(
                QString::number(m_surroundings.profile.averagingWeeks), hours(breach.value),
                hours(breach.limit));
        }
        return u"本周工作 %1 小时，超过 %2 小时"_s.arg(hours(breach.value), hours(breach.limit));
    case Rule::DailyRest:
        return u"%1 下班到次日上班只休息 %2 小时，少于 %3 小时"_s.arg(
            dayText(breach.span.first), hours(breach.value), hours(breach.limit));
    case Rule::Coverage:
        return u"%1 %2 在岗 %3 人，低于最少 %4 人"_s.arg(
            m_surroundings.departments[size_t(breach.department)].name, dayText(breach.day),
            QString::number(breach.value), QString::number(breach.limit));
    }
    return {};
}
