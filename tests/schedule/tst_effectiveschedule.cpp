#include "ScheduleText.h"

#include "schedule/EffectiveSchedule.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Schedule;

Q_DECLARE_METATYPE(Schedule::Source)

namespace {

const DateRange december{QDate(2026, 12, 1), QDate(2026, 12, 31)};

// A four-day shift with a rest day at position 4, a two-day one, and a
// three-day one whose position 3 has lost its row.
const QStringList shifts = {
    u"S4 1 08:00-12:00 13:00-17:30"_s,
    u"S4 2 06:00-14:00"_s,
    u"S4 3 14:00-22:00"_s,
    u"S4 4 休"_s,
    u"S2 1 08:00-20:00"_s,
    u"S2 2 休"_s,
    u"S3 1 06:00-14:00"_s,
    u"S3 2 14:00-22:00"_s,
    u"S3 4 22:00-23:00"_s,
};

} // namespace

// What one employee works on one day, from his plan rows and exchanges.
class EffectiveScheduleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cells_data()
    {
        QTest::addColumn<QStringList>("plan");
        QTest::addColumn<QStringList>("exchanges");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<Source>("source");
        QTest::addColumn<QString>("periods");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<Source>("plannedSource");
        QTest::addColumn<QString>("planned");

        const QDate dec1(2026, 12, 1);
        QTest::newRow("a planned day")
            << QStringList{u"2026-12-03 1 S4 2 06:00-14:00"_s} << QStringList() << dec1.addDays(2)
            << Source::Plan << u"06:00-14:00"_s << 480 << Source::Plan << u"06:00-14:00"_s;
        QTest::newRow("a planned two-period day")
            << QStringList{u"2026-12-01 1 S4 1 08:00-12:00 13:00-17:30"_s} << QStringList() << dec1
            << Source::Plan << u"08:00-12:00 13:00-17:30"_s << 510 << Source::Plan
            << u"08:00-12:00 13:00-17:30"_s;
        QTest::newRow("projected across the cycle's end: (3 + 2) mod 4 = 1")
            << QStringList{u"2026-11-29 1 S4 3 14:00-22:00"_s} << QStringList() << dec1
            << Source::Projected << u"08:00-12:00 13:00-17:30"_s << 510 << Source::Projected
            << u"08:00-12:00 13:00-17:30"_s;
        QTest::newRow("projected onto the last position: (2 + 2) mod 4 = 0, read as 4")
            << QStringList{u"2026-11-29 1 S4 2 06:00-14:00"_s} << QStringList() << dec1
            << Source::Projected << u"休"_s << 0 << Source::Projected << u"休"_s;
        QTest::newRow("projected many cycles on")
            << QStringList{u"2026-11-29 2 S2 1 08:00-20:00"_s} << QStringList()
            << QDate(2026, 12, 31) << Source::Projected << u"08:00-20:00"_s << 720
            << Source::Projected << u"08:00-20:00"_s;
        QTest::newRow("range starts before the first planned day: nothing yet")
            << QStringList{u"2026-12-10 1 S4 1 08:00-12:00 13:00-17:30"_s} << QStringList()
            << dec1.addDays(4) << Source::None << QString() << 0 << Source::None << QString();
        QTest::newRow("range starts before the first planned day: projected after it")
            << QStringList{u"2026-12-10 1 S4 1 08:00-12:00 13:00-17:30"_s} << QStringList()
            << dec1.addDays(10) << Source::Projected << u"06:00-14:00"_s << 480 << Source::Projected
            << u"06:00-14:00"_s;
        QTest::newRow("irregular last day: nothing after it")
            << QStringList{u"2026-11-30 3 S4 1 09:00-12:00"_s} << QStringList() << dec1
            << Source::None << QString() << 0 << Source::None << QString();
        QTest::newRow("irregular day itself is planned")
            << QStringList{u"2026-12-01 4 WGZ 1 09:00-12:00"_s} << QStringList() << dec1
            << Source::Plan << u"09:00-12:00"_s << 180 << Source::Plan << u"09:00-12:00"_s;
        QTest::newRow("ClassType 2 is still a rotating shift")
            << QStringList{u"2026-11-30 2 S4 1 08:00-12:00 13:00-17:30"_s} << QStringList() << dec1
            << Source::Projected << u"06:00-14:00"_s << 480 << Source::Projected
            << u"06:00-14:00"_s;
        QTest::newRow("deleted shift: nothing")
            << QStringList{u"2026-11-30 1 GONE 1 08:00-16:00"_s} << QStringList() << dec1
            << Source::None << QString() << 0 << Source::None << QString();
        QTest::newRow("cycle position without a row: nothing")
            << QStringList{u"2026-11-30 1 S3 2 14:00-22:00"_s} << QStringList() << dec1
            << Source::None << QString() << 0 << Source::None << QString();
        QTest::newRow("a later plan row restarts the projection")
            << QStringList{u"2026-11-29 1 S4 3 14:00-22:00"_s, u"2026-12-03 1 S2 2 休"_s}
            << QStringList() << dec1.addDays(3) << Source::Projected << u"08:00-20:00"_s << 720
            << Source::Projected << u"08:00-20:00"_s;
        QTest::newRow("the last of several days before the range counts")
            << QStringList{u"2026-11-30 1 S4 3 14:00-22:00"_s, u"2026-11-20 3 WGZ 1 09:00-12:00"_s}
            << QStringList() << dec1 << Source::Projected << u"休"_s << 0 << Source::Projected
            << u"休"_s;
        QTest::newRow("of two rows on one day, the first counts")
            << QStringList{u"2026-12-01 1 S4 2 06:00-14:00"_s, u"2026-12-01 1 S4 3 14:00-22:00"_s}
            << QStringList() << dec1 << Source::Plan << u"06:00-14:00"_s << 480 << Source::Plan
            << u"06:00-14:00"_s;
        QTest::newRow("exchange on a planned rest day")
            << QStringList{u"2026-12-01 1 S4 4 休"_s}
            << QStringList{u"2026-12-01 09:00-12:00 13:00-18:00"_s} << dec1 << Source::Exchange
            << u"09:00-12:00 13:00-18:00"_s << 480 << Source::Plan << u"休"_s;
        QTest::newRow("rest-day exchange on a projected day")
            << QStringList{u"2026-11-30 1 S4 1 08:00-12:00 13:00-17:30"_s}
            << QStringList{u"2026-12-01 休"_s} << dec1 << Source::Exchange << u"休"_s << 0
            << Source::Projected << u"06:00-14:00"_s;
        QTest::newRow("exchange where nothing is planned")
            << QStringList() << QStringList{u"2026-12-01 07:30-11:30"_s} << dec1 << Source::Exchange
            << u"07:30-11:30"_s << 240 << Source::None << QString();
    }

    void cells()
    {
        QFETCH(QStringList, plan);
        QFETCH(QStringList, exchanges);
        QFETCH(QDate, day);
        const std::vector<PlanDay> planRows = ScheduleText::planRows(plan);
        const std::vector<Exchange> exchangeRows = ScheduleText::exchangeRows(exchanges);
        const std::vector<CycleDay> cycleRows = ScheduleText::cycleRows(shifts);
        const Grid grid = effectiveSchedule({december, 1, planRows, exchangeRows, cycleRows});

        const Cell &cell = grid.at(0, grid.dayIndex(day));
        QTEST(cell.source, "source");
        QTEST(ScheduleText::text(cell), "periods");
        QTEST(int(cell.minutes), "minutes");
        QTEST(cell.plannedSource, "plannedSource");
        Cell planned = cell;
        planned.periods = cell.planned;
        planned.source = cell.plannedSource;
        planned.rest = cell.planned.isRest();
        QTEST(ScheduleText::text(planned), "planned");
        QCOMPARE(cell.exchange, exchanges.isEmpty() ? -1 : 0);
    }

    // One employee's broken rows leave the others' days as they are.
    void brokenRowsSpareOthers()
    {
        const std::vector<CycleDay> cycleRows = ScheduleText::cycleRows(shifts);
        std::vector<PlanDay> plan =
            ScheduleText::planRows({u"2026-11-30 1 GONE 1 08:00-16:00"_s}, 0);
        const std::vector<PlanDay> healthy =
            ScheduleText::planRows({u"2026-11-30 1 S2 1 08:00-20:00"_s}, 1);
        plan.insert(plan.end(), healthy.begin(), healthy.end());
        plan.push_back({7, QDate(2026, 12, 2), {}, 1, u"S2"_s, 1}); // no such employee
        plan.push_back({1, QDate(), {}, 1, u"S2"_s, 1});            // no date
        const std::vector<Exchange> exchanges = {{-1, QDate(2026, 12, 2), {}, false, {}, {}, {}}};
        const Grid grid = effectiveSchedule({december, 2, plan, exchanges, cycleRows});

        QStringList first, second;
        for (int d = 0; d < 4; ++d) {
            first << ScheduleText::text(grid.at(0, d));
            second << ScheduleText::text(grid.at(1, d));
        }
        QCOMPARE(first, QStringList({QString(), QString(), QString(), QString()}));
        QCOMPARE(second, QStringList({u"休"_s, u"08:00-20:00"_s, u"休"_s, u"08:00-20:00"_s}));
    }

    void workingCounts()
    {
        const std::vector<CycleDay> cycleRows = ScheduleText::cycleRows(shifts);
        std::vector<PlanDay> plan;
        const QStringList lastDays = {u"2026-11-30 1 S2 1 08:00-20:00"_s, u"2026-11-30 1 S2 2 休"_s,
                                      u"2026-11-30 3 WGZ 1 09:00-12:00"_s};
        for (int e = 0; e < lastDays.size(); ++e) {
            const std::vector<PlanDay> rows = ScheduleText::planRows({lastDays[e]}, e);
            plan.insert(plan.end(), rows.begin(), rows.end());
        }
        const std::vector<Exchange> exchanges = ScheduleText::exchangeRows({u"2026-12-02 休"_s}, 1);
        const Grid grid = effectiveSchedule({december, 3, plan, exchanges, cycleRows});

        const std::vector<int> all = Schedule::workingCounts(grid);
        QCOMPARE(std::vector<int>(all.begin(), all.begin() + 4), std::vector<int>({1, 1, 1, 1}));
        const std::vector<int> listed = {1, 2, 5};
        const std::vector<int> some = Schedule::workingCounts(grid, listed);
        QCOMPARE(std::vector<int>(some.begin(), some.begin() + 4), std::vector<int>({1, 0, 1, 0}));
    }

    void clockTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");
        QTest::newRow("morning") << u"08:05"_s << 485;
        QTest::newRow("last minute") << u"23:59"_s << 1439;
        QTest::newRow("not set") << u"00:00"_s << 0;
        QTest::newRow("hour 24") << u"24:00"_s << -1;
        QTest::newRow("minute 60") << u"08:60"_s << -1;
        QTest::newRow("one-digit hour") << u"8:00"_s << -1;
        QTest::newRow("seconds") << u"08:00:00"_s << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("full-width digits") << u"０８:００"_s << -1;
    }

    void clockTexts()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        QCOMPARE(clockMinutes(text).value_or(-1), minutes);
        if (minutes >= 0)
            QCOMPARE(clockText(minutes), text);
    }

    // As the editor's work-time box counts them.
    void workingMinutes_data()
    {
        QTest::addColumn<QString>("periods");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("begin");
        QTest::addColumn<int>("end");
        QTest::newRow("two periods") << u"08:00-12:00 13:00-17:30"_s << 510 << 480 << 1050;
        QTest::newRow("one period") << u"14:00-22:00"_s << 480 << 840 << 1320;
        QTest::newRow("crossing midnight counts negative")
            << u"22:00-06:00"_s << -960 << 1320 << 360;
        QTest::newRow("period 2 alone") << u"00:00-00:00 13:00-17:00"_s << 240 << 780 << 1020;
        QTest::newRow("rest") << u"休"_s << 0 << 0 << 0;
    }

    void workingMinutes()
    {
        QFETCH(QString, periods);
        const Periods p = ScheduleText::periods(periods);
        QTEST(Schedule::workingMinutes(p), "minutes");
        QTEST(p.begin(), "begin");
        QTEST(p.end(), "end");
    }

    void cyclePositions_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("expected");
        QTest::newRow("within the cycle") << 1 << 2 << 4 << 3;
        QTest::newRow("past the end") << 3 << 2 << 4 << 1;
        QTest::newRow("onto the last position") << 2 << 2 << 4 << 4;
        QTest::newRow("one-day cycle") << 1 << 40 << 1 << 1;
        QTest::newRow("broken position 0 still lands in the cycle") << 0 << 3 << 4 << 3;
        QTest::newRow("broken negative position") << -6 << 1 << 4 << 3;
        QTest::newRow("largest position") << 2147483647 << 2 << 4 << 1;
    }

    void cyclePositions()
    {
        QFETCH(int, position);
        QFETCH(int, days);
        QFETCH(int, length);
        QFETCH(int, expected);
        QCOMPARE(cyclePosition(position, days, length), expected);
        const QDate planned(2026, 11, 29);
        QCOMPARE(projectedPosition(position, planned, planned.addDays(days), length), expected);
    }
};

QTEST_APPLESS_MAIN(EffectiveScheduleTest)
#include "tst_effectiveschedule.moc"
