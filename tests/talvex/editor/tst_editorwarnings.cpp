// The editor's working-time warnings over the real host and the fixture database.
// E001 (10001, 一车间甲班 010101) works a 4-day shift projected on from
// 2026-12-01: 12-02 08:00-12:00 13:00-17:30, 12-03 the stored exchange 2
// (480 minutes), 12-04 a day shift, 12-05 rest, 12-06 to 12-08 day shifts,
// 12-09 rest. E002 (一车间 0101) works 12-02 through exchange 3.

#include "EditorDriver.h"
#include "HostFixture.h"

#include "talvex/editor/FrmKqExchgClassEdt.h"

#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList periods(const QString &times)
{
    return times.split(u' ');
}

const QString noBreach = u"没有违反工时规则"_s;
const QString twelveHours = u"当天工作 12 小时，超过 11 小时"_s;
const QStringList longDay = periods(u"07:00 12:00 13:00 20:00"_s);
const QStringList dayShift = periods(u"08:00 12:00 13:00 17:30"_s);
const QStringList restDay = periods(u"00:00 00:00 00:00 00:00"_s);

// Leaves the PRC profile's rules off but those named, and sets how they act.
void keepRules(Database &db, const QStringList &rules, bool block = false)
{
    db.execute(u"UPDATE Kq_RuleLimit SET Enabled = 0 WHERE ProfileName = 'PRC'"_s);
    for (const QString &rule : rules) {
        db.execute(u"UPDATE Kq_RuleLimit SET Enabled = 1, Blocks = $1"
                   " WHERE ProfileName = 'PRC' AND RuleId = $2"_s,
                   {block ? 1 : 0, rule});
    }
}

// The lines the panel shows, warnings or its note.
QStringList warnings(const OpenEditor &e)
{
    QStringList lines;
    for (const QLabel *line : e.child(u"pnlWarnings"_s)->findChildren<QLabel *>(u"lblWarning"_s)) {
        if (!line->isHidden())
            lines << line->text();
    }
    return lines;
}

QString exchangeCount(Database &db)
{
    return db.queryValue(u"select count(1) from Kq_ExchangeClass"_s);
}

bool runEditor(const QString &id, const std::function<void(OpenEditor &)> &drive)
{
    bool saved = false;
    driveEditor(
        [&] { saved = ShowKqExchgClassEdt(id.isEmpty() ? u"新增调班"_s : u"修改调班"_s, id); },
        drive);
    return saved;
}

// A new exchange of E001 on day.
void startExchange(const OpenEditor &e, const QDate &day)
{
    e.setDay(day);
    e.pick(u"10001"_s);
}

} // namespace

class EditorWarningsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // What the panel says of an exchange typed over E001's days: each rule at its
    // limit and past it, with the days around and the department's day.
    void warningsOfATypedExchange_data()
    {
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("expected");
        const QDate wednesday(2026, 12, 2);
        const QStringList daily = {u"daily-max"_s, u"daily-overtime"_s};
        QTest::newRow("11 hours, the daily maximum")
            << daily << QString() << QString() << wednesday << periods(u"07:00 12:00 13:00 19:00"_s)
            << QStringList{u"当天工作 11 小时，超过标准 8 小时"_s};
        QTest::newRow("12 hours") << daily << QString() << QString() << wednesday << longDay
                                  << QStringList{twelveHours,
                                                 u"当天工作 12 小时，超过标准 8 小时"_s};
        QTest::newRow("stored exchange changed to 12 hours")
            << QStringList{u"daily-max"_s} << QString() << u"2"_s << QDate(2026, 12, 3) << longDay
            << QStringList{twelveHours};
        // Worked on the rest day 12-05, 12-02 to 12-08 run without rest.
        QTest::newRow("the 7th working day in a row")
            << QStringList{u"rest-days"_s} << QString() << QString() << QDate(2026, 12, 5)
            << dayShift << QStringList{u"连续工作 7 天，没有休息日"_s};
        QTest::newRow("7 working days in a row allowed")
            << QStringList{u"rest-days"_s}
            << u"UPDATE Kq_RuleLimit SET LimitValue = 8 WHERE RuleId = 'rest-days'"_s << QString()
            << QDate(2026, 12, 5) << dayShift << QStringList{noBreach};
        // 30 minutes on 12-04, 12-06, 12-07 and 12-08, 60 typed: 3 hours.
        QTest::newRow("the month's overtime")
            << QStringList{u"monthly-overtime"_s}
            << u"UPDATE Kq_RuleLimit SET LimitValue = 120 WHERE RuleId = 'monthly-overtime'"_s
            << QString() << wednesday << periods(u"08:00 12:00 13:00 18:00"_s)
            << QStringList{u"本月加班已达 3 小时，超过 2 小时"_s};
        // 11-30 510, 12-02 typed, 12-03 480, 12-04 510, 12-06 510 minutes.
        QTest::newRow("the week's hours")
            << QStringList{u"weekly-hours"_s} << QString() << QString() << wednesday << dayShift
            << QStringList{u"本周工作 42 小时，超过 40 小时"_s};
        // Under the EU profile, which 一车间甲班 takes from 01 above it: the
        // projected 12-02 ends at 17:30, the changed 12-03 begins at 04:00.
        QTest::newRow("EU daily rest after a projected day")
            << QStringList{}
            << u"INSERT INTO Kq_DeptRuleProfile (DeptCode, ProfileName)"
               " VALUES ('01', 'EU')"_s
            << u"2"_s << QDate(2026, 12, 3) << periods(u"04:00 12:00 00:00 00:00"_s)
            << QStringList{u"2026-12-02 下班到次日上班只休息 10.5 小时，少于 11 小时"_s};
        QTest::newRow("EU daily rest of 11 hours")
            << QStringList{}
            << u"INSERT INTO Kq_DeptRuleProfile (DeptCode, ProfileName)"
               " VALUES ('01', 'EU')"_s
            << u"2"_s << QDate(2026, 12, 3) << periods(u"04:30 12:00 00:00 00:00"_s)
            << QStringList{noBreach};
        // 一车间甲班 is E001 alone; 一车间 adds E002, at work on 12-02. Departments
        // speak in the order of their codes.
        const QString minima =
            u"INSERT INTO Kq_CoverageOverride (DeptCode, CoverDate, MinimumCount)"
            " VALUES ('010101', '2026-12-02', 1);"
            "INSERT INTO Kq_CoverageMinimum (DeptCode, Weekday, MinimumCount)"
            " VALUES ('0101', 3, 2);"_s;
        QTest::newRow("coverage, the team and the workshop short")
            << QStringList{u"coverage"_s} << minima << QString() << wednesday << restDay
            << QStringList{u"一车间 2026-12-02 在岗 1 人，低于最少 2 人"_s,
                           u"一车间甲班 2026-12-02 在岗 0 人，低于最少 1 人"_s};
        QTest::newRow("coverage met") << QStringList{u"coverage"_s} << minima << QString()
                                      << wednesday << dayShift << QStringList{noBreach};
        QTest::newRow("coverage switched off") << QStringList{u"daily-max"_s} << minima << QString()
                                               << wednesday << restDay << QStringList{noBreach};
    }

    void warningsOfATypedExchange()
    {
        QFETCH(QStringList, rules);
        QFETCH(QString, setup);
        QFETCH(QString, id);
        QFETCH(QDate, day);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, expected);
        HostFixture host;
        keepRules(host.db(), rules);
        if (!setup.isEmpty())
            host.db().execute(setup);
        QStringList shown;
        runEditor(id, [&](OpenEditor &e) {
            if (id.isEmpty())
                startExchange(e, day);
            e.enter(typed);
            shown = warnings(e);
        });
        QCOMPARE(shown, expected);
        QVERIFY2(host.log.latest().isEmpty(), qPrintable(host.log.latest().join(u'\n')));
    }

    // The panel follows every change: the warnings come with the periods, go
    // when they are fixed, and the dialog grows for more lines than its room
    // holds and shrinks back.
    void warningsFollowThePeriods()
    {
        HostFixture host;
        keepRules(host.db(), {u"daily-max"_s, u"daily-overtime"_s, u"weekly-hours"_s});
        QStringList before, typed, fixed;
        int designed = 0, grown = 0, shrunk = 0;
        runEditor(QString(), [&](OpenEditor &e) {
            before = warnings(e);
            designed = e.form->height();
            startExchange(e, QDate(2026, 12, 2));
            e.enter(longDay);
            typed = warnings(e);
            grown = e.form->height();
            e.enter(periods(u"08:00 12:00 13:00 14:00"_s));
            fixed = warnings(e);
            shrunk = e.form->height();
        });
        QCOMPARE(before, QStringList{u"选择员工和调班时间后显示工时提示"_s});
        QCOMPARE(typed, (QStringList{twelveHours, u"当天工作 12 小时，超过标准 8 小时"_s,
                                     u"本周工作 45.5 小时，超过 40 小时"_s}));
        QCOMPARE(fixed, QStringList{noBreach});
        QVERIFY2(grown > designed, qPrintable(u"%1 %2"_s.arg(grown).arg(designed)));
        QCOMPARE(shrunk, designed);
        // The designed controls keep their places.
        runEditor(QString(), [&](OpenEditor &e) {
            QCOMPARE(e.child(u"cxGroupBox6"_s)->geometry(), QRect(24, 416, 435, 41));
        });
    }

    // A warning never stops OK. A rule set to block refuses the exchange that
    // breaks it, after the module's own checks, and the dialog stays open with
    // what was typed; an exchange that only leaves a breach as it was passes.
    void blockingRules_data()
    {
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<bool>("block");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("refusal");
        const QString refused = u"\n违反以上工时规则，不能保存！"_s;
        QTest::newRow("warning only")
            << QStringList{u"daily-max"_s} << false << longDay << QString();
        QTest::newRow("blocking daily maximum")
            << QStringList{u"daily-max"_s} << true << longDay << twelveHours + refused;
        QTest::newRow("blocking rule kept")
            << QStringList{u"daily-max"_s} << true << dayShift << QString();
        QTest::newRow("coverage made short")
            << QStringList{u"coverage"_s} << true << restDay
            << u"一车间甲班 2026-12-02 在岗 0 人，低于最少 2 人"_s + refused;
        QTest::newRow("coverage short anyway")
            << QStringList{u"coverage"_s} << true << dayShift << QString();
        QTest::newRow("module's check first")
            << QStringList{u"daily-max"_s} << true << periods(u"07:00 12:00 11:00 20:00"_s)
            << u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
    }

    void blockingRules()
    {
        QFETCH(QStringList, rules);
        QFETCH(bool, block);
        QFETCH(QStringList, typed);
        QFETCH(QString, refusal);
        HostFixture host;
        keepRules(host.db(), rules, block);
        host.db().execute(u"INSERT INTO Kq_CoverageOverride (DeptCode, CoverDate, MinimumCount)"
                          " VALUES ('010101', '2026-12-02', 2)"_s);
        const QString count = exchangeCount(host.db());
        bool openAfterOk = false;
        QStringList enteredAfterOk;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            startExchange(e, QDate(2026, 12, 2));
            e.enter(typed);
            e.ok();
            openAfterOk = e.isOpen();
            enteredAfterOk = e.entered();
        });
        if (refusal.isEmpty()) {
            QVERIFY(host.raisedErrors.isEmpty());
            QVERIFY(saved);
            return;
        }
        QCOMPARE(host.raisedErrors, QStringList{refusal});
        QVERIFY(!saved);
        QVERIFY(openAfterOk);
        QCOMPARE(enteredAfterOk, typed);
        QCOMPARE(exchangeCount(host.db()), count);
    }

    // A second exchange on a day that has one is refused with the module's
    // text alone, whatever the rules say of the typed periods.
    void duplicateDayRefusedFirst()
    {
        HostFixture host;
        keepRules(host.db(), {u"daily-max"_s}, true);
        runEditor(QString(), [&](OpenEditor &e) {
            startExchange(e, QDate(2026, 12, 3));
            e.enter(longDay);
            e.ok();
        });
        QCOMPARE(host.raisedErrors, QStringList{u" 该员工这天已有调班记录，请核实!"_s});
    }

    // An employee whose code holds a quote is read like any other: as the one
    // the exchange is for, and as a member of the team beside E001.
    void quotesInCodesStayInTheirLiterals()
    {
        HostFixture host;
        keepRules(host.db(), {u"coverage"_s});
        host.db().execute(
            u"INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, DeptCode,"
            " WorkStatus, DELETED) VALUES (9, 'O''9', '10099', '欧九', '010101', 0, 0);"
            "INSERT INTO Kq_WorkPlan (employeecode, WorkDate, period1Beg, period1end, period2Beg,"
            " period2end, ClassType, ClassID, SubClassNo)"
            " VALUES ('O''9', '2026-12-02', '08:00', '17:00', '00:00', '00:00', 1, 'BC1', 1);"
            "INSERT INTO Kq_CoverageOverride (DeptCode, CoverDate, MinimumCount)"
            " VALUES ('010101', '2026-12-02', 2)"_s);
        QStringList forHim, forE001;
        runEditor(QString(), [&](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10099"_s);
            e.enter(restDay);
            forHim = warnings(e);
        });
        runEditor(QString(), [&](OpenEditor &e) {
            startExchange(e, QDate(2026, 12, 2));
            e.enter(dayShift);
            forE001 = warnings(e);
        });
        QCOMPARE(forHim, QStringList{u"一车间甲班 2026-12-02 在岗 1 人，低于最少 2 人"_s});
        QCOMPARE(forE001, QStringList{noBreach});
        QVERIFY2(host.log.latest().isEmpty(), qPrintable(host.log.latest().join(u'\n')));
    }

    // Without the rules' tables the panel says so, the log tells why, and the
    // exchange is saved as it always was.
    void unreadableRulesLeaveTheEditorAsItWas()
    {
        HostFixture host;
        host.db().execute(u"DROP TABLE Kq_RuleLimit"_s);
        QStringList shown;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            startExchange(e, QDate(2026, 12, 2));
            e.enter(longDay);
            shown = warnings(e);
            e.ok();
        });
        QCOMPARE(shown, QStringList{u"无法读取工时规则，不显示工时提示"_s});
        QVERIFY(saved);
        QVERIFY(host.raisedErrors.isEmpty());
        QCOMPARE(host.log.latest().size(), 1);
        QVERIFY2(host.log.latest().first().contains(u"读取工时规则失败!"_s),
                 qPrintable(host.log.latest().first()));
    }
};

QTEST_MAIN(EditorWarningsTest)
#include "tst_editorwarnings.moc"
