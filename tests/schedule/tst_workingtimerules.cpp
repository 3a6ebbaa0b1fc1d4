#include "ScheduleText.h"

#include "schedule/WorkingTimeRules.h"

#include <QTest>

#include <random>

using namespace Qt::StringLiterals;
using namespace Schedule;

namespace {

Profile profileNamed(const QString &name)
{
    return name == u"EU"_s ? euProfile() : prcProfile();
}

// The same day text n times.
QStringList repeated(const QString &day, int n)
{
    QStringList days;
    for (int i = 0; i < n; ++i)
        days << day;
    return days;
}

// A schedule whose days, from first on, are days: each an irregular plan row
// (nothing projects from it), "" for a day without one. Further employees come
// one list each.
Grid scheduleOf(const QDate &first, const QList<QStringList> &employees)
{
    std::vector<PlanDay> plan;
    int length = 0;
    for (int e = 0; e < employees.size(); ++e) {
        const QStringList &days = employees[e];
        length = std::max(length, int(days.size()));
        for (int d = 0; d < days.size(); ++d) {
            if (!days[d].isEmpty())
                plan.push_back(
                    {e, first.addDays(d), ScheduleText::periods(days[d]), 3, u"WGZ"_s, 1});
        }
    }
    return effectiveSchedule(
        {{first, first.addDays(length - 1)}, int(employees.size()), plan, {}, {}});
}

Grid scheduleOf(const QDate &first, const QStringList &days)
{
    return scheduleOf(first, QList<QStringList>{days});
}

std::vector<Breach> breachesOf(Rule rule, const std::vector<Breach> &all)
{
    std::vector<Breach> found;
    std::copy_if(all.begin(), all.end(), std::back_inserter(found),
                 [&](const Breach &b) { return b.rule == rule; });
    return found;
}

std::vector<Breach> check(Rule rule, const Grid &grid, const Profile &profile,
                          const DateRange &asked)
{
    return breachesOf(rule, checkEmployees(grid, profile, asked));
}

// One breach of the rule counted on day with value, or none when day is null.
void verify(const std::vector<Breach> &found, const QDate &day, int value, int limit)
{
    if (day.isNull()) {
        QVERIFY2(found.empty(), qPrintable(u"%1 breaches"_s.arg(found.size())));
        return;
    }
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found[0].day, day);
    QCOMPARE(found[0].value, value);
    QCOMPARE(found[0].limit, limit);
}

const QDate dec8(2026, 12, 8); // a Tuesday

} // namespace

Q_DECLARE_METATYPE(Schedule::Rule)
Q_DECLARE_METATYPE(Schedule::Action)
Q_DECLARE_METATYPE(Schedule::DateRange)

// Hand-built schedules at each limit and one minute past it, for both profiles.
class WorkingTimeRulesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dailyMax_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("day");
        QTest::addColumn<bool>("breaks");
        QTest::newRow("PRC at 660") << u"PRC"_s << u"06:00-17:00"_s << false;
        QTest::newRow("PRC at 661") << u"PRC"_s << u"06:00-17:01"_s << true;
        QTest::newRow("PRC at 661 in two periods")
            << u"PRC"_s << u"06:00-12:00 12:59-18:00"_s << true;
        QTest::newRow("EU at 780") << u"EU"_s << u"06:00-19:00"_s << false;
        QTest::newRow("EU at 781") << u"EU"_s << u"06:00-19:01"_s << true;
    }

    void dailyMax()
    {
        QFETCH(QString, profile);
        QFETCH(QString, day);
        QFETCH(bool, breaks);
        const Profile limits = profileNamed(profile);
        const Grid grid = scheduleOf(dec8, {day});
        const int minutes = workingMinutes(ScheduleText::periods(day));
        verify(check(Rule::DailyMax, grid, limits, {dec8, dec8}), breaks ? dec8 : QDate(), minutes,
               limits[Rule::DailyMax].limit);
    }

    void dailyOvertime_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("day");
        QTest::addColumn<bool>("breaks");
        QTest::newRow("PRC at 480") << u"PRC"_s << u"08:00-16:00"_s << false;
        QTest::newRow("PRC at 481") << u"PRC"_s << u"08:00-16:01"_s << true;
        QTest::newRow("EU has no such rule") << u"EU"_s << u"08:00-18:00"_s << false;
    }

    void dailyOvertime()
    {
        QFETCH(QString, profile);
        QFETCH(QString, day);
        QFETCH(bool, breaks);
        const Grid grid = scheduleOf(dec8, {day});
        verify(check(Rule::DailyOvertime, grid, profileNamed(profile), {dec8, dec8}),
               breaks ? dec8 : QDate(), workingMinutes(ScheduleText::periods(day)), 480);
    }

    // 18 days of 600 minutes are 2160 minutes of overtime; a 19th day adds more.
    void monthlyOvertime_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("extraDay");
        QTest::addColumn<QDate>("askedFirst");
        QTest::addColumn<QDate>("expectedDay");
        QTest::addColumn<int>("value");
        const QDate dec1(2026, 12, 1);
        QTest::newRow("PRC at 2160") << u"PRC"_s << u"休"_s << dec1 << QDate() << 0;
        QTest::newRow("PRC at 2161") << u"PRC"_s << u"08:00-16:01"_s << dec1 << dec1 << 2161;
        QTest::newRow("PRC counts the month on its first day")
            << u"PRC"_s << u"08:00-16:01"_s << dec1.addDays(1) << QDate() << 0;
        QTest::newRow("EU has no such rule") << u"EU"_s << u"08:00-16:01"_s << dec1 << QDate() << 0;
    }

    void monthlyOvertime()
    {
        QFETCH(QString, profile);
        QFETCH(QString, extraDay);
        QFETCH(QDate, askedFirst);
        QFETCH(QDate, expectedDay);
        QFETCH(int, value);
        // November's last day has overtime of its own, which December does not count.
        const QStringList days = QStringList{u"08:00-18:00"_s} + repeated(u"08:00-18:00"_s, 18)
                                 + QStringList{extraDay} + repeated(u"休"_s, 12);
        const Grid grid = scheduleOf(QDate(2026, 11, 30), days);
        verify(check(Rule::MonthlyOvertime, grid, profileNamed(profile),
                     {askedFirst, QDate(2026, 12, 31)}),
               expectedDay, value, 2160);
    }

    // A run of working days, offsets from the first asked day (Tuesday 8 December);
    // every other day rests.
    void restDays_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("runStart");
        QTest::addColumn<int>("runLength");
        QTest::addColumn<int>("expectedOffset"); // -100: no breach
        QTest::addColumn<int>("value");
        for (const QString &profile : {u"PRC"_s, u"EU"_s}) {
            const QByteArray p = profile.toLatin1();
            QTest::addRow("%s 6 days", p.constData()) << profile << 0 << 6 << -100 << 0;
            QTest::addRow("%s 7 days", p.constData()) << profile << 0 << 7 << 6 << 7;
            QTest::addRow("%s run starting before the range", p.constData())
                << profile << -3 << 7 << 3 << 7;
            QTest::addRow("%s 6 days before the range, 1 in it", p.constData())
                << profile << -6 << 7 << 0 << 7;
            QTest::addRow("%s 7th day before the range", p.constData())
                << profile << -7 << 9 << -100 << 0;
            QTest::addRow("%s 10 days", p.constData()) << profile << 0 << 10 << 6 << 10;
            QTest::addRow("%s run past the range counts to its end", p.constData())
                << profile << 8 << 10 << 14 << 8;
        }
    }

    void restDays()
    {
        QFETCH(QString, profile);
        QFETCH(int, runStart);
        QFETCH(int, runLength);
        QFETCH(int, expectedOffset);
        QFETCH(int, value);
        const DateRange asked{dec8, dec8.addDays(15)};
        const Profile limits = profileNamed(profile);
        const DateRange read = readRange(limits, asked);
        QStringList days = repeated(u"休"_s, read.days() + 10);
        for (int i = 0; i < runLength; ++i)
            days[int(read.first.daysTo(dec8)) + runStart + i] = u"08:00-16:00"_s;
        const Grid grid = scheduleOf(read.first, days);
        verify(check(Rule::RestDays, grid, limits, asked),
               expectedOffset == -100 ? QDate() : dec8.addDays(expectedOffset), value, 7);
    }

    void weeklyHours_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<DateRange>("asked");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<QDate>("expectedDay");
        QTest::addColumn<int>("value");

        // Monday 30 November to Sunday 6 December.
        const QDate nov30(2026, 11, 30);
        const DateRange november{QDate(2026, 11, 1), QDate(2026, 11, 30)};
        const DateRange december{QDate(2026, 12, 1), QDate(2026, 12, 31)};
        const QStringList at2400 = repeated(u"08:00-16:00"_s, 5) + repeated(u"休"_s, 2);
        QStringList at2401 = at2400;
        at2401[4] = u"08:00-16:01"_s;
        QTest::newRow("PRC at 2400, across the month")
            << u"PRC"_s << november << nov30 << at2400 << QDate() << 0;
        QTest::newRow("PRC at 2401, across the month")
            << u"PRC"_s << november << nov30 << at2401 << nov30 << 2401;
        QTest::newRow("PRC week counted in the month of its Monday")
            << u"PRC"_s << december << nov30 << at2401 << QDate() << 0;
        QStringList sunday = at2400;
        sunday[6] = u"10:00-10:01"_s;
        QTest::newRow("PRC Sunday belongs to the week before")
            << u"PRC"_s << november << nov30 << sunday << nov30 << 2401;

        // 17 weeks to the week of Monday 7 December, six days of 480 minutes each.
        const QDate dec7(2026, 12, 7);
        const QDate weeksStart = dec7.addDays(-7 * 16);
        const QStringList week = repeated(u"08:00-16:00"_s, 6) + QStringList{u"休"_s};
        QStringList at2880;
        for (int w = 0; w < 17; ++w)
            at2880 += week;
        QStringList past = at2880;
        past[0] = u"08:00-16:01"_s;
        QStringList evened = at2880;
        for (int d = 0; d < 6; ++d) {
            evened[d] = u"08:00-16:20"_s;     // first week 3000
            evened[7 + d] = u"08:00-15:40"_s; // second week 2760
        }
        const DateRange week7{dec7, dec7.addDays(6)};
        QTest::newRow("EU average at 2880")
            << u"EU"_s << week7 << weeksStart << at2880 << QDate() << 0;
        QTest::newRow("EU average one minute past")
            << u"EU"_s << week7 << weeksStart << past << dec7 << 2881;
        QTest::newRow("EU heavy week evened out")
            << u"EU"_s << week7 << weeksStart << evened << QDate() << 0;
        QTest::newRow("PRC takes the heavy week alone")
            << u"PRC"_s << DateRange{weeksStart, weeksStart.addDays(6)} << weeksStart << evened
            << weeksStart << 3000;
    }

    void weeklyHours()
    {
        QFETCH(QString, profile);
        QFETCH(DateRange, asked);
        QFETCH(QDate, first);
        QFETCH(QStringList, days);
        QFETCH(QDate, expectedDay);
        QFETCH(int, value);
        const Profile limits = profileNamed(profile);
        verify(check(Rule::WeeklyHours, scheduleOf(first, days), limits, asked), expectedDay, value,
               limits[Rule::WeeklyHours].limit);
    }

    // Day 1 is planned, day 2 projected from it; the rest between them.
    void dailyRest_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("day1");
        QTest::addColumn<QString>("day2");
        QTest::addColumn<bool>("breaks");
        QTest::addColumn<int>("value");
        QTest::newRow("EU at 660")
            << u"EU"_s << u"09:00-20:00"_s << u"07:00-15:00"_s << false << 660;
        QTest::newRow("EU at 659")
            << u"EU"_s << u"09:00-20:00"_s << u"06:59-15:00"_s << true << 659;
        QTest::newRow("EU ends with period 2")
            << u"EU"_s << u"08:00-12:00 13:00-20:01"_s << u"07:00-15:00"_s << true << 659;
        QTest::newRow("EU begins with period 2")
            << u"EU"_s << u"09:00-20:00"_s << u"00:00-00:00 06:59-15:00"_s << true << 659;
        QTest::newRow("EU rest day between")
            << u"EU"_s << u"09:00-23:59"_s << u"休"_s << false << 0;
        QTest::newRow("PRC has no such rule")
            << u"PRC"_s << u"09:00-20:00"_s << u"06:59-15:00"_s << false << 0;
    }

    void dailyRest()
    {
        QFETCH(QString, profile);
        QFETCH(QString, day1);
        QFETCH(QString, day2);
        QFETCH(bool, breaks);
        QFETCH(int, value);
        const QDate dec1(2026, 12, 1);
        const std::vector<CycleDay> cycle = {{u"N"_s, 1, ScheduleText::periods(day1)},
                                             {u"N"_s, 2, ScheduleText::periods(day2)},
                                             {u"N"_s, 3, {}}};
        const std::vector<PlanDay> plan = {{0, dec1, ScheduleText::periods(day1), 1, u"N"_s, 1}};
        const Grid grid = effectiveSchedule({{dec1, dec1.addDays(2)}, 1, plan, {}, cycle});
        QCOMPARE(grid.at(0, 1).source, Source::Projected);
        verify(
            check(Rule::DailyRest, grid, profileNamed(profile), {dec1.addDays(1), dec1.addDays(2)}),
            breaks ? dec1.addDays(1) : QDate(), value, 660);
    }

    // A department of employees 0 to 2 (its sub-departments included by the
    // caller); employee 3 works elsewhere. Tuesdays need 2.
    void coverage_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("working");
        QTest::addColumn<int>("override"); // -1: none on the day
        QTest::addColumn<bool>("breaks");
        QTest::addColumn<int>("limit");
        for (const QString &profile : {u"PRC"_s, u"EU"_s}) {
            const QByteArray p = profile.toLatin1();
            QTest::addRow("%s at the minimum", p.constData()) << profile << 2 << -1 << false << 2;
            QTest::addRow("%s one short", p.constData()) << profile << 1 << -1 << true << 2;
            QTest::addRow("%s override raises the minimum", p.constData())
                << profile << 2 << 3 << true << 3;
            QTest::addRow("%s override of a holiday", p.constData())
                << profile << 0 << 0 << false << 0;
        }
    }

    void coverage()
    {
        QFETCH(QString, profile);
        QFETCH(int, working);
        QFETCH(int, override);
        QFETCH(bool, breaks);
        QFETCH(int, limit);
        QList<QStringList> days;
        for (int e = 0; e < 3; ++e)
            days << QStringList{e < working ? u"08:00-16:00"_s : u"休"_s};
        days << QStringList{u"08:00-16:00"_s};
        const Grid grid = scheduleOf(dec8, days);

        CoverageRequirement team{42, {0, 1, 2}, {}, {}};
        team.weekdayMinimum[Qt::Tuesday - 1] = 2;
        team.overrides.push_back({dec8.addDays(1), 5});
        if (override >= 0)
            team.overrides.push_back({dec8, override});
        const std::vector<Breach> found =
            checkCoverage(grid, profileNamed(profile), {dec8, dec8}, {&team, 1});
        verify(found, breaks ? dec8 : QDate(), working, limit);
        if (breaks) {
            QCOMPARE(found[0].department, 42);
            QCOMPARE(found[0].employee, -1);
        }
    }

    // A day of 700 minutes and a department one short, under changed settings.
    void settings_data()
    {
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<Action>("setting");
        QTest::addColumn<int>("expected"); // the breach's action, -1 for none
        QTest::newRow("daily-max off") << Rule::DailyMax << Action::Off << -1;
        QTest::newRow("daily-max warns") << Rule::DailyMax << Action::Warn << int(Action::Warn);
        QTest::newRow("daily-max blocks") << Rule::DailyMax << Action::Block << int(Action::Block);
        QTest::newRow("daily-overtime never blocks")
            << Rule::DailyOvertime << Action::Block << int(Action::Warn);
        QTest::newRow("daily-overtime off") << Rule::DailyOvertime << Action::Off << -1;
        QTest::newRow("coverage off") << Rule::Coverage << Action::Off << -1;
        QTest::newRow("coverage blocks") << Rule::Coverage << Action::Block << int(Action::Block);
    }

    void settings()
    {
        QFETCH(Rule, rule);
        QFETCH(Action, setting);
        QFETCH(int, expected);
        Profile profile = prcProfile();
        profile[rule].action = setting;
        const Grid grid = scheduleOf(dec8, {u"08:00-19:40"_s});
        CoverageRequirement team{1, {0}, {}, {}};
        team.weekdayMinimum.fill(2);
        std::vector<Breach> found = checkEmployees(grid, profile, {dec8, dec8});
        const std::vector<Breach> short_ = checkCoverage(grid, profile, {dec8, dec8}, {&team, 1});
        found.insert(found.end(), short_.begin(), short_.end());
        found = breachesOf(rule, found);
        if (expected < 0) {
            QVERIFY(found.empty());
            return;
        }
        QCOMPARE(found.size(), size_t(1));
        QCOMPARE(int(found[0].action), expected);
    }

    // A caller's empty or reversed range asks for nothing, and gets it.
    void rangesWithoutDays_data()
    {
        QTest::addColumn<DateRange>("asked");
        QTest::newRow("null") << DateRange{};
        QTest::newRow("reversed") << DateRange{dec8, dec8.addDays(-1)};
    }

    void rangesWithoutDays()
    {
        QFETCH(DateRange, asked);
        const Grid grid = scheduleOf(dec8.addDays(-7), repeated(u"06:00-20:00"_s, 14));
        CoverageRequirement team{1, {0}, {}, {}};
        team.weekdayMinimum.fill(2);
        for (const Profile &profile : {prcProfile(), euProfile()}) {
            QVERIFY(checkEmployees(grid, profile, asked).empty());
            QVERIFY(checkCoverage(grid, profile, asked, {&team, 1}).empty());
            QCOMPARE(readRange(profile, asked), asked);
        }
    }

    void ruleIds()
    {
        QStringList ids;
        for (int r = 0; r < RuleCount; ++r) {
            ids << ruleId(Rule(r));
            QCOMPARE(ruleFromId(ids.last()), Rule(r));
        }
        QCOMPARE(ids,
                 QStringList({u"daily-max"_s, u"daily-overtime"_s, u"monthly-overtime"_s,
                              u"rest-days"_s, u"weekly-hours"_s, u"daily-rest"_s, u"coverage"_s}));
        QVERIFY(!ruleFromId(u"weekly"_s));
    }

    void readRanges_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<DateRange>("asked");
        QTest::addColumn<DateRange>("expected");
        const DateRange december{QDate(2026, 12, 1), QDate(2026, 12, 31)};
        // Mondays 7 to 28 December: their weeks run to 3 January.
        QTest::newRow("PRC month: a run and a day before, the last week after")
            << u"PRC"_s << december << DateRange{QDate(2026, 11, 24), QDate(2027, 1, 3)};
        QTest::newRow("EU month: 16 weeks before the first Monday")
            << u"EU"_s << december << DateRange{QDate(2026, 8, 17), QDate(2027, 1, 3)};
        QTest::newRow("PRC day: its month") << u"PRC"_s << DateRange{dec8, dec8}
                                            << DateRange{QDate(2026, 12, 1), QDate(2026, 12, 31)};
        QTest::newRow("EU day: the run and a day before")
            << u"EU"_s << DateRange{dec8, dec8} << DateRange{QDate(2026, 12, 1), dec8};
    }

    void readRanges()
    {
        QFETCH(QString, profile);
        QFETCH(DateRange, asked);
        QTEST(readRange(profileNamed(profile), asked), "expected");
    }

    // Schedules checked over the range the rules ask for give the same breaches
    // as checked over a much wider one.
    void readRangeIsEnough_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::newRow("PRC") << u"PRC"_s;
        QTest::newRow("EU") << u"EU"_s;
    }

    void readRangeIsEnough()
    {
        QFETCH(QString, profile);
        const Profile limits = profileNamed(profile);
        const DateRange asked{QDate(2026, 12, 1), QDate(2026, 12, 31)};
        const DateRange read = readRange(limits, asked);
        const DateRange wide{read.first.addDays(-60), read.last.addDays(60)};

        // Long days, nights close to mornings and week-long runs, so every rule
        // finds something.
        const QStringList cycleTexts = {u"A 1 08:00-19:30"_s,
                                        u"B 1 13:00-23:30"_s,
                                        u"B 2 06:00-14:00"_s,
                                        u"B 3 08:00-21:30"_s,
                                        u"C 1 08:00-12:00 13:00-17:30"_s,
                                        u"C 2 休"_s};
        const std::vector<CycleDay> cycles = ScheduleText::cycleRows(cycleTexts);
        const QString classes[] = {u"A"_s, u"B"_s, u"C"_s};
        const int lengths[] = {1, 3, 2};
        std::mt19937 random(17);
        const int employees = 40;
        std::vector<PlanDay> plan;
        std::vector<Exchange> exchanges;
        for (int e = 0; e < employees; ++e) {
            for (QDate day = wide.first; day <= wide.last; day = day.addDays(1 + random() % 40)) {
                const int c = int(random() % 3);
                plan.push_back({e, day, {}, 1, classes[c], 1 + int(random() % lengths[c])});
            }
            for (QDate day = wide.first; day <= wide.last; day = day.addDays(1 + random() % 9)) {
                const bool working = random() % 3 != 0;
                const qint16 begin = qint16(360 + random() % 300);
                exchanges.push_back(
                    {e,
                     day,
                     working ? Periods{begin, qint16(begin + 600), 0, 0} : Periods{},
                     working,
                     {},
                     {},
                     {}});
            }
        }
        const std::vector<CoverageRequirement> teams = {
            {0, {0, 1, 2, 3, 4, 5, 6, 7}, {5, 5, 5, 5, 5, 3, 3}, {{QDate(2026, 12, 24), 8}}},
            {1, {10, 11, 12}, {2, 2, 2, 2, 2, 2, 2}, {}}};
        const auto breaches = [&](const DateRange &range) {
            const Grid grid = effectiveSchedule({range, employees, plan, exchanges, cycles});
            std::vector<Breach> found = checkEmployees(grid, limits, asked);
            const std::vector<Breach> short_ = checkCoverage(grid, limits, asked, teams);
            found.insert(found.end(), short_.begin(), short_.end());
            QStringList lines;
            for (const Breach &b : found) {
                lines << u"%1 %2 %3 %4 %5 %6 %7 %8"_s.arg(ruleId(b.rule))
                             .arg(b.employee)
                             .arg(b.department)
                             .arg(b.day.toString(Qt::ISODate), b.span.first.toString(Qt::ISODate),
                                  b.span.last.toString(Qt::ISODate))
                             .arg(b.value)
                             .arg(b.limit);
            }
            return lines;
        };
        const QStringList fromRead = breaches(read);
        QCOMPARE(fromRead, breaches(wide));
        // Every rule of the profile found something to report.
        for (int r = 0; r < RuleCount; ++r) {
            if (limits[Rule(r)].action == Action::Off)
                continue;
            const QString id = ruleId(Rule(r)) + u' ';
            QVERIFY2(std::any_of(fromRead.begin(), fromRead.end(),
                                 [&](const QString &line) { return line.startsWith(id); }),
                     qPrintable(id));
        }
    }
};

QTEST_APPLESS_MAIN(WorkingTimeRulesTest)
#include "tst_workingtimerules.moc"
