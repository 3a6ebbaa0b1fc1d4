// talvex-host check-rules end to end: the real executable over the fixture
// database and one employee whose first January week of 2027 breaks rules on
// known days, on the test run's engine.

#include "Fixture.h"
#include "HostProcess.h"
#include "ReadXls.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// E006 of 010101 works 2027-01-04 (a Monday) 07:00-19:01, 721 minutes, then
// 06:00-14:00 every day to Sunday 01-10: 3,601 minutes that week, 659 minutes of
// rest after Monday, seven days without rest. E001, also of 010101, works the
// BC3 shift projected from his plan: 01-04, 01-06, 01-07, 01-09 and 01-10.
// 0101 (with 010101 below it) asks for 3 on Mondays, 4 on 01-06.
const QString breakingWeek = uR"sql(
INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, DeptCode, WorkStatus, DELETED)
    VALUES (6, 'E006', '10006', '孙, 丽', '010101', 0, 0);
INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, period1Beg, period1End, period2Beg,
    period2End, SubClassType, WorkTime, WorkFlag, ExchgType, OptorCode) VALUES
    (10, 'E006', '2027-01-04', '07:00', '19:01', '00:00', '00:00', 0, 721, 1, 1, 'admin'),
    (11, 'E006', '2027-01-05', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin'),
    (12, 'E006', '2027-01-06', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin'),
    (13, 'E006', '2027-01-07', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin'),
    (14, 'E006', '2027-01-08', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin'),
    (15, 'E006', '2027-01-09', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin'),
    (16, 'E006', '2027-01-10', '06:00', '14:00', '00:00', '00:00', 0, 480, 1, 1, 'admin');
INSERT INTO Kq_CoverageMinimum (DeptCode, Weekday, MinimumCount) VALUES ('0101', 1, 3);
INSERT INTO Kq_CoverageOverride (DeptCode, CoverDate, MinimumCount) VALUES ('0101', '2027-01-06', 4);
)sql"_s;

const QString header = u"规则,员工编号,员工姓名,部门,日期,值,限度"_s;

QStringList lines(const QString &text)
{
    return text.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class CheckRulesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<Fixture>();
        m_fixture->db().execute(breakingWeek);
    }
    void cleanup() { m_fixture.reset(); }

    void listsTheBreaches_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected");

        const QStringList week{u"--from"_s, u"2027-01-04"_s, u"--to"_s, u"2027-01-10"_s};
        QTest::newRow("PRC, the default")
            << QString() << week
            << QStringList{u"daily-max,E006,\"孙, 丽\",010101,2027-01-04,721,660"_s,
                           u"daily-overtime,E006,\"孙, 丽\",010101,2027-01-04,721,480"_s,
                           u"weekly-hours,E006,\"孙, 丽\",010101,2027-01-04,3601,2400"_s,
                           u"coverage,,,0101,2027-01-04,2,3"_s,
                           u"coverage,,,0101,2027-01-06,2,4"_s,
                           u"rest-days,E006,\"孙, 丽\",010101,2027-01-10,7,7"_s};
        // The run began before the range and the week's Monday lies outside it.
        QTest::newRow("the end of a run")
            << QString() << QStringList{u"--from"_s, u"2027-01-08"_s, u"--to"_s, u"2027-01-10"_s}
            << QStringList{u"rest-days,E006,\"孙, 丽\",010101,2027-01-10,7,7"_s};
        // 01 takes EU, and 010101 below it with it: 721 minutes are within 780,
        // the week within the 17 weeks' average, the rest after Monday is not.
        QTest::newRow("EU, inherited")
            << u"INSERT INTO Kq_DeptRuleProfile VALUES ('01', 'EU')"_s << week
            << QStringList{u"coverage,,,0101,2027-01-04,2,3"_s,
                           u"daily-rest,E006,\"孙, 丽\",010101,2027-01-05,659,660"_s,
                           u"coverage,,,0101,2027-01-06,2,4"_s,
                           u"rest-days,E006,\"孙, 丽\",010101,2027-01-10,7,7"_s};
        QTest::newRow("rules switched off")
            << u"UPDATE Kq_RuleLimit SET Enabled = 0 WHERE ProfileName = 'PRC'"
               u" AND RuleId IN ('daily-overtime', 'coverage', 'weekly-hours')"_s
            << week
            << QStringList{u"daily-max,E006,\"孙, 丽\",010101,2027-01-04,721,660"_s,
                           u"rest-days,E006,\"孙, 丽\",010101,2027-01-10,7,7"_s};
        QTest::newRow("a limit raised")
            << u"UPDATE Kq_RuleLimit SET LimitValue = 721 WHERE RuleId = 'daily-max'"_s
            << QStringList{u"--from"_s, u"2027-01-04"_s, u"--to"_s, u"2027-01-04"_s}
            << QStringList{u"daily-overtime,E006,\"孙, 丽\",010101,2027-01-04,721,480"_s,
                           u"weekly-hours,E006,\"孙, 丽\",010101,2027-01-04,3601,2400"_s,
                           u"coverage,,,0101,2027-01-04,2,3"_s};
        // A department below the one with the minimum: its employees only.
        QTest::newRow("one department")
            << QString() << week + QStringList{u"--dept"_s, u"010101"_s}
            << QStringList{u"daily-max,E006,\"孙, 丽\",010101,2027-01-04,721,660"_s,
                           u"daily-overtime,E006,\"孙, 丽\",010101,2027-01-04,721,480"_s,
                           u"weekly-hours,E006,\"孙, 丽\",010101,2027-01-04,3601,2400"_s,
                           u"rest-days,E006,\"孙, 丽\",010101,2027-01-10,7,7"_s};
        QTest::newRow("outside the clerk's scope")
            << QString() << week + QStringList{u"--operator"_s, u"clerk"_s} << QStringList{};
    }

    void listsTheBreaches()
    {
        QFETCH(QString, settings);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        if (!settings.isEmpty())
            m_fixture->db().execute(settings);

        QTemporaryDir dir;
        const QString file = dir.filePath(u"违规 一月.csv"_s);
        const HostRun written = run(QStringList{u"check-rules"_s, file} + arguments);
        QVERIFY2(written.status == 0, qPrintable(written.err));
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(lines(QString::fromUtf8(csv.readAll()).remove(u'\r')),
                 QStringList{header} + expected);

        // Without a file: the same lines, then a count per rule.
        const HostRun printed = run(QStringList{u"check-rules"_s} + arguments);
        QVERIFY2(printed.status == 0, qPrintable(printed.err));
        const QStringList out = lines(printed.out);
        QCOMPARE(out.mid(0, expected.size() + 1), QStringList{header} + expected);
        const QStringList summary = out.mid(expected.size() + 1);
        QCOMPARE(summary.size(), 7);
        for (const QString &rule : {u"daily-max"_s, u"coverage"_s, u"rest-days"_s}) {
            const qsizetype count =
                std::count_if(expected.cbegin(), expected.cend(),
                              [&](const QString &line) { return line.startsWith(rule + u','); });
            QVERIFY2(summary.contains(u"%1：%2 条"_s.arg(rule).arg(count)),
                     qPrintable(summary.join(u'\n')));
        }
    }

    void writesAnExcelFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"breaches.xls"_s);
        const HostRun written =
            run({u"check-rules"_s, file, u"--from"_s, u"2027-01-04"_s, u"--to"_s, u"2027-01-06"_s});
        QVERIFY2(written.status == 0, qPrintable(written.err));
        QCOMPARE(readXls(file),
                 (QStringList{u"规则\t员工编号\t员工姓名\t部门\t日期\t值\t限度"_s,
                              u"daily-max\tE006\t孙, 丽\t010101\t2027-01-04\t721\t660"_s,
                              u"daily-overtime\tE006\t孙, 丽\t010101\t2027-01-04\t721\t480"_s,
                              u"weekly-hours\tE006\t孙, 丽\t010101\t2027-01-04\t3601\t2400"_s,
                              u"coverage\t\t\t0101\t2027-01-04\t2\t3"_s,
                              u"coverage\t\t\t0101\t2027-01-06\t2\t4"_s}));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                == QStringList{QFileInfo(file).fileName()});
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        QTest::newRow("not csv or xls")
            << QStringList{u"check-rules"_s, u"out.txt"_s} << 2 << u"只能写 .csv 或 .xls 文件"_s;
        QTest::newRow("two files")
            << QStringList{u"check-rules"_s, u"a.csv"_s, u"b.csv"_s} << 2 << u"最多写一个文件名"_s;
        QTest::newRow("no such department") << QStringList{u"check-rules"_s, u"--dept"_s, u"0809"_s}
                                            << 1 << u"没有编号为 0809 的部门"_s;
        QTest::newRow("no such folder")
            << QStringList{u"check-rules"_s, u"/nonexistent/folder/out.csv"_s} << 1
            << u"/nonexistent/folder 不存在"_s;
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const HostRun refused = run(arguments);
        QCOMPARE(refused.status, status);
        QVERIFY2(refused.err.contains(message), qPrintable(refused.err));
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

QTEST_GUILESS_MAIN(CheckRulesTest)
#include "tst_checkrules.moc"
