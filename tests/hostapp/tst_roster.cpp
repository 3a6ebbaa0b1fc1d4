// talvex-host roster end to end: the real executable over the fixture database,
// on the test run's engine.

#include "Fixture.h"
#include "HostProcess.h"
#include "ReadXls.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString dayShift = u"08:00-12:00 13:00-17:30"_s;

QStringList linesOf(const QString &file)
{
    QFile text(file);
    if (!text.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(text.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class RosterTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_fixture = std::make_unique<Fixture>(); }
    void cleanup() { m_fixture.reset(); }

    // 王芳 (E001) works BC4 as planned to 12-01, its rest day on 12-01; 12-02 is
    // projected from it back to the first day of the cycle; 12-03 is exchange 2.
    // 欧阳 雪 (E002) is projected from her BC2 plan of 11-01 until her irregular
    // day of 11-30 stops it. 赵强 (E004) is deleted; 李明 (E003) has no plan.
    void listsEachEmployeesDays()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"排班 十一月.csv"_s);
        const HostRun run =
            roster({file, u"--from"_s, u"2026-11-28"_s, u"--to"_s, u"2026-12-03"_s});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList lines = linesOf(file);
        QCOMPARE(lines.value(0), u"员工编号,员工姓名,部门,2026-11-28,2026-11-29,2026-11-30,"
                                 u"2026-12-01,2026-12-02,2026-12-03"_s);
        QCOMPARE(lines.value(1),
                 u"E001,王芳,010101,%1,%1,%1,休,%1,*09:00-12:00 13:00-18:00"_s.arg(dayShift));
        QVERIFY2(lines.value(2).startsWith(u"E002,欧阳 雪,0101,15:00-23:00,07:00-15:00,"_s),
                 qPrintable(lines.value(2)));
        QCOMPARE(lines.value(3), u"E003,李明,0201,,,,,,"_s);
        QVERIFY(!lines.join(u'\n').contains(u"E004"_s));
        QCOMPARE(lines.size(), 5); // E005 last
    }

    // The clerk's roster holds his branch alone; a department lists those below.
    void keepsToTheScopeAndTheDepartment_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("employees");
        QTest::newRow("clerk") << QStringList{u"--operator"_s, u"clerk"_s}
                               << QStringList{u"E003"_s, u"E005"_s};
        QTest::newRow("department 01")
            << QStringList{u"--dept"_s, u"01"_s} << QStringList{u"E001"_s, u"E002"_s};
        QTest::newRow("clerk's 0201")
            << QStringList{u"--operator"_s, u"clerk"_s, u"--dept"_s, u"0201"_s}
            << QStringList{u"E003"_s};
    }

    void keepsToTheScopeAndTheDepartment()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, employees);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"r.csv"_s);
        const HostRun run = roster(QStringList{file} + arguments);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QStringList listed;
        for (const QString &line : linesOf(file).mid(1))
            listed << line.section(u',', 0, 0);
        QCOMPARE(listed, employees);
    }

    // The same days as a workbook, read back by a reader we did not write.
    void writesAWorkbook()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"r.xls"_s);
        const HostRun run =
            roster({file, u"--from"_s, u"2026-12-01"_s, u"--to"_s, u"2026-12-03"_s});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList rows = readXls(file);
        QVERIFY2(rows.value(0).contains(u"员工编号"_s), qPrintable(rows.join(u'\n')));
        QVERIFY2(rows.join(u'\n').contains(u"休\t%1\t*09:00-12:00 13:00-18:00"_s.arg(dayShift)),
                 qPrintable(rows.join(u'\n')));
    }

    // Refused runs leave an earlier file as it was.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("not .csv or .xls")
            << QStringList{u"--name"_s, u"r.txt"_s} << 2 << u"要以 .csv 或 .xls 结尾"_s;
        QTest::newRow("range backwards")
            << QStringList{u"--from"_s, u"2026-12-05"_s, u"--to"_s, u"2026-12-01"_s} << 2
            << u"晚于结束日期"_s;
        QTest::newRow("department outside the clerk's scope")
            << QStringList{u"--operator"_s, u"clerk"_s, u"--dept"_s, u"01"_s} << 1
            << u"没有部门 01"_s;
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString name = u"old.csv"_s;
        if (const qsizetype at = arguments.indexOf(u"--name"_s); at >= 0) {
            name = arguments.at(at + 1);
            arguments.remove(at, 2);
        }
        const QString file = dir.filePath(name);
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier roster");
        }
        const HostRun run = roster(QStringList{file} + arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("earlier roster"));
    }

private:
    HostRun roster(const QStringList &arguments)
    {
        // On a server each operator connects as his own role.
        return runHost(
            QStringList{u"--db"_s, m_fixture->deskLocation(operatorOf(arguments)), u"roster"_s}
                + arguments,
            m_home.path());
    }

    std::unique_ptr<Fixture> m_fixture;
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(RosterTest)
#include "tst_roster.moc"
