#include "WorkingTimeRules.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Schedule {

namespace {

constexpr std::array<QLatin1StringView, RuleCount> ruleIds = {
    "daily-max"_L1,    "daily-overtime"_L1, "monthly-overtime"_L1, "rest-days"_L1,
    "weekly-hours"_L1, "daily-rest"_L1,     "coverage"_L1,
};

constexpr int minutesPerDay = 24 * 60;

QDate monthStart(const QDate &day)
{
    return QDate(day.year(), day.month(), 1);
}

QDate monthEnd(const QDate &day)
{
    return QDate(day.year(), day.month(), day.daysInMonth());
}

// The Mondays of range.
DateRange mondays(const DateRange &range)
{
    return {range.first.addDays((8 - range.first.dayOfWeek()) % 7),
            range.last.addDays(1 - range.last.dayOfWeek())};
}

// One employee's days of the grid, read by date; days outside it count as rest.
class Days
{
public:
    Days(const Grid &grid, int employee)
        : m_cells(grid.row(employee))
        , m_first(grid.range().first)
    {}

    const Cell *at(const QDate &date) const
    {
        const qint64 d = m_first.daysTo(date);
        return d >= 0 && d < qint64(m_cells.size()) ? &m_cells[size_t(d)] : nullptr;
    }
    bool working(const QDate &date) const
    {
        const Cell *cell = at(date);
        return cell && cell->isWorking();
    }
    int minutes(const QDate &date) const
    {
        const Cell *cell = at(date);
        return cell && cell->isWorking() ? cell->minutes : 0;
    }

private:
    std::span<const Cell> m_cells;
    QDate m_first;
};

// Collects the breaches of one employee, with the profile's action for each rule.
class Checker
{
public:
    Checker(const Profile &profile, const DateRange &asked, std::vector<Breach> &out)
        : m_profile(profile)
        , m_asked(asked)
        , m_out(out)
    {}

    void check(const Days &days, int employee)
    {
        m_days = &days;
        m_employee = employee;
        if (on(Rule::DailyMax))
            dailyAbove(Rule::DailyMax);
        if (on(Rule::DailyOvertime))
            dailyAbove(Rule::DailyOvertime);
        if (on(Rule::MonthlyOvertime))
            monthlyOvertime();
        if (on(Rule::RestDays))
            restDays();
        if (on(Rule::WeeklyHours))
            weeklyHours();
        if (on(Rule::DailyRest))
            dailyRest();
    }

private:
    bool on(Rule rule) const { return m_profile[rule].action != Action::Off; }
    int limit(Rule rule) const { return m_profile[rule].limit; }

    void add(Rule rule, const QDate &day, const DateRange &span, int value)
    {
        // Overtime within the day is only ever reported.
        const Action action = rule == Rule::DailyOvertime ? Action::Warn : m_profile[rule].action;
        m_out.push_back({rule, action, m_employee, -1, day, span, value, limit(rule)});
    }

    void dailyAbove(Rule rule)
    {
        for (QDate day = m_asked.first; day <= m_asked.last; day = day.addDays(1)) {
            const int minutes = m_days->minutes(day);
            if (m_days->working(day) && minutes > limit(rule))
                add(rule, day, {day, day}, minutes);
        }
    }

    void monthlyOvertime()
    {
        const int standard = m_profile.standardDayMinutes;
        for (QDate first = monthStart(m_asked.first); first <= m_asked.last;
             first = first.addMonths(1)) {
            if (!m_asked.contains(first))
                continue;
            const QDate last = monthEnd(first);
            int overtime = 0;
            for (QDate day = first; day <= last; day = day.addDays(1))
                overtime += std::max(m_days->minutes(day) - standard, 0);
            if (overtime > limit(Rule::MonthlyOvertime))
                add(Rule::MonthlyOvertime, first, {first, last}, overtime);
        }
    }

    // Counted on the day that completes limit working days in a row; the value is
    // the run's length up to the end of the asked range, so that it does not
    // depend on how far the caller read.
    void restDays()
    {
        const int days = limit(Rule::RestDays);
        if (days <= 0)
            return;
        for (QDate day = m_asked.first; day <= m_asked.last; day = day.addDays(1)) {
            const QDate runStart = day.addDays(1 - days);
            bool run = true;
            for (QDate d = runStart; run && d <= day; d = d.addDays(1))
                run = m_days->working(d);
            if (!run || m_days->working(runStart.addDays(-1)))
                continue;
            QDate runEnd = day;
            while (runEnd < m_asked.last && m_days->working(runEnd.addDays(1)))
                runEnd = runEnd.addDays(1);
            add(Rule::RestDays, day, {runStart, runEnd}, int(runStart.daysTo(runEnd)) + 1);
        }
    }

    // Counted on the Monday of each week; with several weeks averaged, that week
    // is the last of them.
    void weeklyHours()
    {
        const int weeks = std::max(m_profile.averagingWeeks, 1);
        const qint64 allowed = qint64(limit(Rule::WeeklyHours)) * weeks;
        const DateRange monday = mondays(m_asked);
        for (QDate week = monday.first; week <= monday.last; week = week.addDays(7)) {
            const DateRange span{week.addDays(-7 * (weeks - 1)), week.addDays(6)};
            qint64 total = 0;
            for (QDate day = span.first; day <= span.last; day = day.addDays(1))
                total += m_days->minutes(day);
            if (total > allowed) {
                // Rounded up, so that any excess shows above the limit.
                add(Rule::WeeklyHours, week, span, int((total + weeks - 1) / weeks));
            }
        }
    }

    // From the end of one working day's work to the start of the next day's.
    void dailyRest()
    {
        for (QDate day = m_asked.first; day <= m_asked.last; day = day.addDays(1)) {
            const QDate before = day.addDays(-1);
            if (!m_days->working(before) || !m_days->working(day))
                continue;
            const int rest = minutesPerDay - m_days->at(before)->periods.end()
                             + m_days->at(day)->periods.begin();
            if (rest < limit(Rule::DailyRest))
                add(Rule::DailyRest, day, {before, day}, rest);
        }
    }

    const Profile &m_profile;
    DateRange m_asked;
    std::vector<Breach> &m_out;
    const Days *m_days = nullptr;
    int m_employee = -1;
};

bool isValid(const DateRange &range)
{
    return range.first.isValid() && range.last.isValid() && range.first <= range.last;
}

RuleSetting warnAt(int limit)
{
    return {Action::Warn, limit};
}

} // namespace

QLatin1StringView ruleId(Rule rule)
{
    return ruleIds[size_t(rule)];
}

std::optional<Rule> ruleFromId(QStringView id)
{
    for (size_t i = 0; i < ruleIds.size(); ++i) {
        if (id == ruleIds[i])
            return Rule(i);
    }
    return std::nullopt;
}

Profile prcProfile()
{
    Profile profile{u"PRC"_s, {}, 480, 1};
    profile[Rule::DailyMax] = warnAt(660);
    profile[Rule::DailyOvertime] = warnAt(480);
    profile[Rule::MonthlyOvertime] = warnAt(2160);
    profile[Rule::RestDays] = warnAt(7);
    profile[Rule::WeeklyHours] = warnAt(2400);
    profile[Rule::Coverage] = warnAt(0);
    return profile;
}

Profile euProfile()
{
    Profile profile{u"EU"_s, {}, 480, 17};
    profile[Rule::DailyMax] = warnAt(780);
    profile[Rule::RestDays] = warnAt(7);
    profile[Rule::WeeklyHours] = warnAt(2880);
    profile[Rule::DailyRest] = warnAt(660);
    profile[Rule::Coverage] = warnAt(0);
    return profile;
}

DateRange readRange(const Profile &profile, const DateRange &asked)
{
    DateRange read = asked;
    if (!isValid(asked))
        return read;
    const auto on = [&](Rule rule) { return profile[rule].action != Action::Off; };
    const auto widen = [&](const QDate &first, const QDate &last) {
        read.first = std::min(read.first, first);
        read.last = std::max(read.last, last);
    };
    if (on(Rule::MonthlyOvertime))
        widen(monthStart(asked.first), monthEnd(asked.last));
    if (on(Rule::WeeklyHours)) {
        const int weeks = std::max(profile.averagingWeeks, 1);
        const DateRange monday = mondays(asked);
        if (monday.first <= monday.last)
            widen(monday.first.addDays(-7 * (weeks - 1)), monday.last.addDays(6));
    }
    // The run before the range, and the day before it that tells where it began.
    if (on(Rule::RestDays))
        widen(asked.first.addDays(-std::max(profile[Rule::RestDays].limit, 1)), asked.last);
    if (on(Rule::DailyRest))
        widen(asked.first.addDays(-1), asked.last);
    return read;
}

std::vector<Breach> checkEmployees(const Grid &grid, const Profile &profile, const DateRange &asked,
                                   std::span<const int> employees)
{
    std::vector<Breach> breaches;
    if (!isValid(asked))
        return breaches;
    Checker checker(profile, asked, breaches);
    const auto checkOne = [&](int employee) {
        if (employee >= 0 && employee < grid.employeeCount())
            checker.check(Days(grid, employee), employee);
    };
    if (employees.empty()) {
        for (int e = 0; e < grid.employeeCount(); ++e)
            checkOne(e);
    } else {
        for (const int e : employees)
            checkOne(e);
    }
    return breaches;
}

std::vector<Breach> checkCoverage(const Grid &grid, const Profile &profile, const DateRange &asked,
                                  std::span<const CoverageRequirement> requirements)
{
    std::vector<Breach> breaches;
    const RuleSetting &setting = profile[Rule::Coverage];
    if (setting.action == Action::Off || !isValid(asked))
        return breaches;
    for (const CoverageRequirement &requirement : requirements) {
        const std::vector<int> counts = workingCounts(grid, requirement.employees);
        for (QDate day = asked.first; day <= asked.last; day = day.addDays(1)) {
            const int d = grid.dayIndex(day);
            if (d < 0 || d >= grid.dayCount())
                continue;
            int minimum = requirement.weekdayMinimum[size_t(day.dayOfWeek() - 1)];
            const auto override =
                std::find_if(requirement.overrides.cbegin(), requirement.overrides.cend(),
                             [&](const CoverageRequirement::Override &o) { return o.date == day; });
            if (override != requirement.overrides.cend())
                minimum = override->minimum;
            if (counts[size_t(d)] < minimum) {
                breaches.push_back({Rule::Coverage,
                                    setting.action,
                                    -1,
                                    requirement.department,
                                    day,
                                    {day, day},
                                    counts[size_t(d)],
                                    minimum});
            }
        }
    }
    return breaches;
}

} // namespace Schedule
