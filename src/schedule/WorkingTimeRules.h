#pragma once

#include "EffectiveSchedule.h"

#include <QLatin1StringView>

#include <array>
#include <optional>
#include <span>
#include <vector>

// Labour rules over effective schedules: pure functions that report breaches as
// data. Callers word the texts; the rule ids are the only names here.
//
// A day's working minutes are those of its cell; a day with no periods (rest or
// nothing) is a rest day. Each breach is counted on one day:
//   daily-max, daily-overtime   the day itself
//   monthly-overtime            the first day of the month
//   weekly-hours                the Monday of the week (the last of the averaged weeks)
//   rest-days                   the working day that completes the run without rest
//   daily-rest                  the second of the two working days
//   coverage                    the day itself
namespace Schedule {

enum class Rule : quint8 {
    DailyMax,        // one day's minutes above the limit
    DailyOvertime,   // one day above the standard day; never blocks
    MonthlyOvertime, // a calendar month's minutes above the standard day, summed
    RestDays,        // limit consecutive days without a rest day
    WeeklyHours,     // a Monday-Sunday week's minutes, or their average, above the limit
    DailyRest,       // minutes between two working days' work below the limit
    Coverage,        // a department's employees working on a day below its minimum
};
inline constexpr int RuleCount = 7;

// "daily-max", "daily-overtime", "monthly-overtime", "rest-days", "weekly-hours",
// "daily-rest", "coverage".
QLatin1StringView ruleId(Rule rule);
std::optional<Rule> ruleFromId(QStringView id);

enum class Action : quint8 { Off, Warn, Block };

struct RuleSetting
{
    Action action = Action::Off;
    int limit = 0; // minutes; days for rest-days; unused for coverage
};

// A profile of limits, as the host stores it.
struct Profile
{
    QString name;
    std::array<RuleSetting, RuleCount> rules;
    int standardDayMinutes = 480; // what counts as overtime above
    int averagingWeeks = 1;       // weekly-hours: the number of weeks averaged

    const RuleSetting &operator[](Rule rule) const { return rules[size_t(rule)]; }
    RuleSetting &operator[](Rule rule) { return rules[size_t(rule)]; }
};

// PRC Labour Law: daily-max 660, daily-overtime 480, monthly-overtime 2160,
// rest-days 7, weekly-hours 2400 per Monday-Sunday week; all warn.
Profile prcProfile();
// EU Working Time Directive: daily-max 780, rest-days 7, weekly-hours 2880
// averaged over 17 weeks, daily-rest 660; all warn.
Profile euProfile();

struct Breach
{
    Rule rule = Rule::DailyMax;
    Action action = Action::Warn;
    int employee = -1;   // -1 for coverage
    int department = -1; // coverage only: CoverageRequirement::department
    QDate day;           // the day the breach is counted on
    DateRange span;      // the days it concerns (the day, the run, the month, the weeks)
    // Minutes; employees for coverage; for rest-days the days worked in a row, up
    // to the end of the asked range.
    int value = 0;
    int limit = 0;
};

// The days of schedule the rules of profile need so that every breach counted on
// a day of asked is found: the months, the weeks averaged, the run before, the day
// before. Build the grid over (at least) this range.
DateRange readRange(const Profile &profile, const DateRange &asked);

// The breaches counted on a day of asked, for the listed employees (all when
// empty), employee by employee, rule by rule, day by day. Only the days of the
// grid are read, days outside it count as rest: build it over readRange(asked).
// An empty or reversed asked range reports nothing.
std::vector<Breach> checkEmployees(const Grid &grid, const Profile &profile, const DateRange &asked,
                                   std::span<const int> employees = {});

// A department's minimum of employees working on each day.
struct CoverageRequirement
{
    int department = -1;                 // the caller's number for the department
    std::vector<int> employees;          // grid rows of it and its sub-departments
    std::array<int, 7> weekdayMinimum{}; // Monday first; 0 asks for nobody
    struct Override
    {
        QDate date;
        int minimum = 0;
    };
    std::vector<Override> overrides; // a date's own minimum
};

// The days of asked on which a department has fewer employees working than its
// minimum. Nothing when the profile switches coverage off.
std::vector<Breach> checkCoverage(const Grid &grid, const Profile &profile, const DateRange &asked,
                                  std::span<const CoverageRequirement> requirements);

} // namespace Schedule
