// The bulk reader on the fixture database, on either backend: which employees,
// plan rows and exchanges a selection reads, and the schedule they give.

#include "Fixture.h"

#include "hostapp/schedule/CellText.h"
#include "hostapp/schedule/ScheduleRows.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Each employee's days as "code: cell|cell|...".
QStringList shown(const ScheduleRows &rows)
{
    const Schedule::Grid grid = Schedule::effectiveSchedule(rows.input());
    QStringList lines;
    for (int e = 0; e < grid.employeeCount(); ++e) {
        QStringList cells;
        for (const Schedule::Cell &cell : grid.row(e))
            cells << CellText::cell(cell);
        lines << rows.employees.at(e).code + u": "_s + cells.join(u'|');
    }
    return lines;
}

} // namespace

class ScheduleRowsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheSelection_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        QTest::addColumn<int>("planRows");
        QTest::addColumn<QStringList>("expected");

        const QString all = Fixture::adminScope();
        const QString branch = Fixture::branchScope();
        // E004 is deleted; E002's last day before December is irregular, E005's
        // shift has lost its cycle, E003 has no plan.
        QTest::newRow("whole scope")
            << all << QString() << QDate(2026, 12, 1) << QDate(2026, 12, 4) << 4
            << QStringList{u"E001: 休|08:00-12:00 13:00-17:30|*09:00-12:00 13:00-18:00|"
                           u"08:00-12:00 13:00-17:30"_s,
                           u"E002: |*07:30-11:30||"_s, u"E003: |||*休"_s, u"E005: |||"_s};
        // Only the last planned day before the range is read, not the earlier ones.
        QTest::newRow("one day after the plan")
            << all << u"01"_s << QDate(2026, 12, 3) << QDate(2026, 12, 3) << 2
            << QStringList{u"E001: *09:00-12:00 13:00-18:00"_s, u"E002: "_s};
        QTest::newRow("a department and those below it")
            << all << u"0101"_s << QDate(2026, 12, 2) << QDate(2026, 12, 2) << 2
            << QStringList{u"E001: 08:00-12:00 13:00-17:30"_s, u"E002: *07:30-11:30"_s};
        QTest::newRow("a leaf department")
            << all << u"0201"_s << QDate(2026, 12, 4) << QDate(2026, 12, 5) << 0
            << QStringList{u"E003: *休|"_s};
        QTest::newRow("the clerk's scope")
            << branch << QString() << QDate(2026, 12, 4) << QDate(2026, 12, 4) << 1
            << QStringList{u"E003: *休"_s, u"E005: "_s};
        QTest::newRow("a department outside the scope")
            << branch << u"01"_s << QDate(2026, 12, 4) << QDate(2026, 12, 4) << 0 << QStringList{};
        // A new cycle begins in the range, and is carried on past its end.
        QTest::newRow("a new shift within the range")
            << all << u"010101"_s << QDate(2026, 12, 10) << QDate(2026, 12, 12) << 3
            << QStringList{u"E001: 06:00-14:00|14:00-22:00|休"_s};
        // Before E001's first planned day there is nothing to project; E002's
        // two-day cycle from 2026-11-01 goes on.
        QTest::newRow("before the first planned day")
            << all << u"0101"_s << QDate(2026, 11, 20) << QDate(2026, 11, 21) << 1
            << QStringList{u"E001: *休|"_s, u"E002: 15:00-23:00|07:00-15:00"_s};
        QTest::newRow("a department code with a wildcard")
            << all << u"0_"_s << QDate(2026, 12, 4) << QDate(2026, 12, 4) << 0 << QStringList{};
    }
    void readsTheSelection()
    {
        QFETCH(QString, scope);
        QFETCH(QString, department);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QFETCH(int, planRows);
        QFETCH(QStringList, expected);

        Fixture fixture;
        const ScheduleRows rows =
            ScheduleRows::read(fixture.db(), {scope, department, {first, last}});
        QCOMPARE(shown(rows), expected);
        QCOMPARE(int(rows.plan.size()), planRows);
        QCOMPARE(rows.exchangeIds.size(), rows.exchanges.size());
    }

    void carriesWhatTheTooltipsShow()
    {
        Fixture fixture;
        const ScheduleRows rows = ScheduleRows::read(
            fixture.db(), {Fixture::adminScope(), u"0201"_s, {{2026, 12, 1}, {2026, 12, 31}}});
        QCOMPARE(rows.employees.size(), 1);
        const ScheduleRows::Employee &employee = rows.employees.first();
        QCOMPARE(employee.jobNumber, u"10003"_s);
        QCOMPARE(employee.name, u"李明"_s);
        QCOMPARE(employee.deptCode, u"0201"_s);
        QCOMPARE(rows.exchanges.size(), size_t(1));
        const Schedule::Exchange &exchange = rows.exchanges.front();
        QCOMPARE(rows.exchangeIds.front(), 4);
        QCOMPARE(exchange.date, QDate(2026, 12, 4));
        QVERIFY(!exchange.working);
        QCOMPARE(exchange.reason, u"加班补休"_s);
        QCOMPARE(exchange.operatorCode, u"clerk"_s);
        QCOMPARE(exchange.changed, QDateTime(QDate(2026, 12, 2), QTime(8, 0), Qt::UTC));
    }
};

QTEST_GUILESS_MAIN(ScheduleRowsTest)
#include "tst_schedulerows.moc"
