// The effective schedule of 20,000 employees over 31 days from synthetic rows,
// and the working-time rules of both profiles over the same month, read as wide
// as the rules need, and one employee's rules around a day as the editor works
// them out. Building the rows is not measured: that is the reading the callers do.
//
//   bench_schedule [EMPLOYEES] [RUNS]
#include "BenchTiming.h"

#include "schedule/EffectiveSchedule.h"
#include "schedule/WorkingTimeRules.h"

#include <QCoreApplication>

#include <random>

using namespace Qt::StringLiterals;
using namespace Schedule;

namespace {

const QString shiftIds[] = {u"BC2"_s, u"BC3"_s, u"BC4"_s};

// Three rotating shifts of 2, 3 and 4 days, as in the demo data.
std::vector<CycleDay> cycles()
{
    const Periods rest{};
    const Periods longDay{480, 1200, 0, 0};
    const Periods early{360, 840, 0, 0};
    const Periods late{840, 1320, 0, 0};
    const Periods office{480, 720, 780, 1050};
    const std::vector<std::vector<Periods>> days = {
        {longDay, rest}, {early, late, rest}, {office, office, office, rest}};
    std::vector<CycleDay> rows;
    for (size_t s = 0; s < days.size(); ++s) {
        for (size_t i = 0; i < days[s].size(); ++i)
            rows.push_back({shiftIds[s], int(i) + 1, days[s][i]});
    }
    return rows;
}

struct Rows
{
    std::vector<PlanDay> plan;
    std::vector<Exchange> exchanges;
    std::vector<CycleDay> cycles = ::cycles();
};

// Every employee has a planned day before range.first; about half are planned
// through the first ten days of the range, the rest are projected; one day in
// thirty has an exchange; a few employees follow an irregular schedule.
Rows synthesize(int employees, const DateRange &range, const DateRange &read)
{
    std::mt19937 random(20261206);
    Rows rows;
    rows.plan.reserve(size_t(employees) * 11);
    for (int e = 0; e < employees; ++e) {
        const int shift = e % 3;
        const int length = shift + 2;
        const int classType = e % 50 == 0 ? 3 : 1;
        const int start = int(random() % length) + 1;
        const auto planDay = [&](const QDate &date, int offset) {
            const int k = (start + offset) % length + 1;
            const CycleDay &row = rows.cycles[size_t(shift * (shift + 3) / 2 + k - 1)];
            rows.plan.push_back({e, date, row.periods, classType, shiftIds[shift], k});
        };
        planDay(read.first.addDays(-1), 0);
        if (e % 2 == 0) {
            for (int d = 0; d < 10; ++d)
                planDay(range.first.addDays(d), d + 1);
        }
        for (int d = 0; d < read.days(); ++d) {
            if (random() % 30 == 0) {
                const bool working = random() % 2 == 0;
                rows.exchanges.push_back({e,
                                          read.first.addDays(d),
                                          working ? Periods{540, 720, 780, 1080} : Periods{},
                                          working,
                                          u"家中有事"_s,
                                          u"admin"_s,
                                          {}});
            }
        }
    }
    return rows;
}

void report(const QString &what, const Bench::Timing &timing)
{
    Bench::print(u"%1: %2 ms elapsed, %3 ms processor (medians)"_s.arg(what)
                     .arg(timing.medianElapsed(), 0, 'f', 2)
                     .arg(timing.medianCpu(), 0, 'f', 2));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int employees = args.size() > 1 ? args[1].toInt() : 20000;
    const int runs = args.size() > 2 ? args[2].toInt() : 5;
    const DateRange month{QDate(2026, 12, 1), QDate(2026, 12, 31)};

    const Profile prc = prcProfile();
    const Profile eu = euProfile();
    const DateRange prcRead = readRange(prc, month);
    const DateRange euRead = readRange(eu, month);
    const Rows rows = synthesize(employees, month, euRead);
    Bench::print(u"%1 employees x %2 days: %3 plan rows, %4 exchanges"_s.arg(employees)
                     .arg(month.days())
                     .arg(rows.plan.size())
                     .arg(rows.exchanges.size()));

    const auto schedule = [&](const DateRange &range) {
        return effectiveSchedule({range, employees, rows.plan, rows.exchanges, rows.cycles});
    };
    Grid grid;
    report(u"effective schedule, 31 days"_s,
           Bench::timeRuns(runs, [&](int) { grid = schedule(month); }));
    std::vector<int> totals;
    report(u"daily totals"_s, Bench::timeRuns(runs, [&](int) { totals = workingCounts(grid); }));

    for (const auto &[profile, read] : {std::pair(prc, prcRead), std::pair(eu, euRead)}) {
        size_t breaches = 0;
        report(u"%1 rules, schedule of %2 days and check"_s.arg(profile.name).arg(read.days()),
               Bench::timeRuns(runs, [&](int) {
                   const Grid wide = schedule(read);
                   breaches = checkEmployees(wide, profile, month).size();
               }));
        Bench::print(u"  %1 breaches"_s.arg(breaches));
    }

    // What the editor works out after each change: one employee's days around the
    // exchange day, under the wider profile.
    const QDate day(2026, 12, 15);
    const DateRange around = readRange(eu, {day, day});
    const Rows one = synthesize(1, month, euRead);
    report(
        u"one employee's EU rules around a day"_s, Bench::timeRuns(runs * 20, [&](int) {
            const Grid grid = effectiveSchedule({around, 1, one.plan, one.exchanges, one.cycles});
            checkEmployees(grid, eu, {day, day});
        }));
    return 0;
}
