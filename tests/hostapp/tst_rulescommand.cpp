// talvex-host rules end to end: each change reaches its row; each refusal says
// why in Chinese and leaves every rule table as it was.

#include "Fixture.h"
#include "HostProcess.h"
#include "RowsAsText.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList ruleTables{u"Kq_RuleProfile"_s, u"Kq_RuleLimit"_s, u"Kq_DeptRuleProfile"_s,
                             u"Kq_CoverageMinimum"_s, u"Kq_CoverageOverride"_s};

QStringList everyRule(Database &db)
{
    QStringList rows;
    for (const QString &table : ruleTables) {
        QStringList lines = rowsAsText(db, u"SELECT * FROM "_s + table);
        std::sort(lines.begin() + 1, lines.end());
        rows << table << lines;
    }
    return rows;
}

} // namespace

class RulesCommandTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_fixture = std::make_unique<Fixture>(); }
    void cleanup() { m_fixture.reset(); }

    void changes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");

        const QString limitRow = u"SELECT LimitValue || '/' || Enabled || '/' || Blocks"
                                 u" FROM Kq_RuleLimit WHERE ProfileName = '%1' AND RuleId = '%2'"_s;
        QTest::newRow("block") << QStringList{u"set"_s, u"PRC"_s, u"daily-max"_s, u"block"_s}
                               << limitRow.arg(u"PRC"_s, u"daily-max"_s) << u"660/1/1"_s;
        QTest::newRow("off") << QStringList{u"set"_s, u"EU"_s, u"rest-days"_s, u"off"_s}
                             << limitRow.arg(u"EU"_s, u"rest-days"_s) << u"7/0/0"_s;
        // Left off by PRC, with EU's limit ready.
        QTest::newRow("on") << QStringList{u"set"_s, u"PRC"_s, u"daily-rest"_s, u"on"_s}
                            << limitRow.arg(u"PRC"_s, u"daily-rest"_s) << u"660/1/0"_s;
        QTest::newRow("limit") << QStringList{u"limit"_s, u"EU"_s, u"daily-rest"_s, u"720"_s}
                               << limitRow.arg(u"EU"_s, u"daily-rest"_s) << u"720/1/0"_s;
        QTest::newRow("department")
            << QStringList{u"dept"_s, u"0101"_s, u"EU"_s}
            << u"SELECT ProfileName FROM Kq_DeptRuleProfile WHERE DeptCode = '0101'"_s << u"EU"_s;
        QTest::newRow("default")
            << QStringList{u"dept"_s, u"default"_s, u"EU"_s}
            << u"SELECT ProfileName FROM Kq_DeptRuleProfile WHERE DeptCode = ''"_s << u"EU"_s;
        QTest::newRow("weekday")
            << QStringList{u"coverage"_s, u"010101"_s, u"7"_s, u"12"_s}
            << u"SELECT MinimumCount FROM Kq_CoverageMinimum WHERE Weekday = 7"_s << u"12"_s;
        QTest::newRow("date")
            << QStringList{u"coverage"_s, u"0101"_s, u"2026-12-24"_s, u"0"_s}
            << u"SELECT CoverDate || ' ' || MinimumCount FROM Kq_CoverageOverride"_s
            << u"2026-12-24 0"_s;
    }

    void changes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, query);
        QFETCH(QString, expected);
        const HostRun changed = run(QStringList{u"rules"_s} + arguments);
        QVERIFY2(changed.status == 0, qPrintable(changed.err));
        QCOMPARE(m_fixture->db().nativeValue(query), expected);
    }

    void removesAMinimum()
    {
        QCOMPARE(run({u"rules"_s, u"coverage"_s, u"0101"_s, u"1"_s, u"3"_s}).status, 0);
        QCOMPARE(run({u"rules"_s, u"coverage"_s, u"0101"_s, u"1"_s, u"-"_s}).status, 0);
        QCOMPARE(m_fixture->db().nativeValue(u"SELECT count(*) FROM Kq_CoverageMinimum"_s), u"0"_s);
    }

    void listsTheSettings()
    {
        QCOMPARE(run({u"rules"_s, u"coverage"_s, u"0101"_s, u"2026-12-24"_s, u"4"_s}).status, 0);
        const HostRun listed = run({u"rules"_s});
        QCOMPARE(listed.status, 0);
        QVERIFY2(listed.out.contains(u"  daily-max  提醒  限度 660"_s), qPrintable(listed.out));
        QVERIFY(listed.out.contains(u"  daily-rest  关闭  限度 660"_s));
        QVERIFY(listed.out.contains(u"  default  PRC"_s));
        QVERIFY(listed.out.contains(u"  0101  周一 0，"_s));
        QVERIFY(listed.out.contains(u"2026-12-24 4"_s));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        QTest::newRow("unknown profile")
            << QStringList{u"set"_s, u"US"_s, u"daily-max"_s, u"block"_s} << 1
            << u"没有名为 US 的规则方案"_s;
        QTest::newRow("unknown rule") << QStringList{u"set"_s, u"PRC"_s, u"night-work"_s, u"off"_s}
                                      << 1 << u"没有 night-work 这条规则"_s;
        QTest::newRow("unknown action")
            << QStringList{u"set"_s, u"PRC"_s, u"daily-max"_s, u"stop"_s} << 1
            << u"“stop”不是 on、off、warn 或 block"_s;
        QTest::newRow("overtime blocks")
            << QStringList{u"set"_s, u"PRC"_s, u"daily-overtime"_s, u"block"_s} << 1
            << u"daily-overtime 只记作加班提醒"_s;
        QTest::newRow("no limit") << QStringList{u"limit"_s, u"PRC"_s, u"daily-max"_s, u"0"_s} << 1
                                  << u"限度“0”无效"_s;
        QTest::newRow("coverage limit") << QStringList{u"limit"_s, u"PRC"_s, u"coverage"_s, u"5"_s}
                                        << 1 << u"coverage 没有限度"_s;
        QTest::newRow("unknown department")
            << QStringList{u"dept"_s, u"0809"_s, u"EU"_s} << 1 << u"没有编号为 0809 的部门"_s;
        QTest::newRow("department and profile unknown")
            << QStringList{u"dept"_s, u"0101"_s, u"US"_s} << 1 << u"没有名为 US 的规则方案"_s;
        QTest::newRow("outside the clerk's departments")
            << QStringList{u"coverage"_s, u"0101"_s, u"1"_s, u"3"_s, u"--operator"_s, u"clerk"_s}
            << 1 << u"操作员 clerk 无权管理它"_s;
        QTest::newRow("viewer") << QStringList{u"set"_s, u"PRC"_s,        u"daily-max"_s,
                                               u"off"_s, u"--operator"_s, u"viewer"_s}
                                << 1 << u"只能查看"_s;
        QTest::newRow("no weekday")
            << QStringList{u"coverage"_s, u"0101"_s, u"8"_s, u"3"_s} << 1 << u"既不是星期几"_s;
        QTest::newRow("no count") << QStringList{u"coverage"_s, u"0101"_s, u"1"_s, u"three"_s} << 1
                                  << u"人数“three”无效"_s;
        QTest::newRow("words missing") << QStringList{u"set"_s, u"PRC"_s, u"daily-max"_s} << 2
                                       << u"rules set PROFILE RULE on|off|warn|block"_s;
        QTest::newRow("no such change") << QStringList{u"drop"_s} << 2 << u"rules 后面可以写"_s;
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QStringList before = everyRule(m_fixture->db());
        const HostRun refused = run(QStringList{u"rules"_s} + arguments);
        QCOMPARE(refused.status, status);
        QVERIFY2(refused.err.contains(message), qPrintable(refused.err));
        QCOMPARE(everyRule(m_fixture->db()), before);
    }

private:
    HostRun run(const QStringList &arguments)
    {
        // On a server each operator connects as his own role.
        return runHost(QStringList{u"--db"_s, m_fixture->deskLocation(operatorOf(arguments))}
                           + arguments,
                       m_home.path());
    }

    std::unique_ptr<Fixture> m_fixture;
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(RulesCommandTest)
#include "tst_rulescommand.moc"
