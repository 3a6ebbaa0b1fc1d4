// talvex-host export-xls end to end: the real executable over a fixture database
// of the test run's engine, its file read back by xlrd, a reader we did not write.
// On a server each operator connects as his own role.

#include "HostFixture.h"
#include "HostProcess.h"
#include "ListWindow.h"
#include "ReadXls.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What the register shows for the same range: the visible columns' captions and
// each record's texts, as lines of tab-separated cells.
QStringList shownByTheRegister(const QDate &from, const QDate &to)
{
    HostFixture fixture;
    QStringList lines;
    for (const QStringList &cells : ListWindow(from, to).shown())
        lines << cells.join(u'\t');
    return lines;
}

} // namespace

class ExportXlsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportsWhatTheRegisterShows()
    {
        Fixture fixture;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"调班 十二月.xls"_s);
        const HostRun run =
            runHost({u"--db"_s, fixture.deskLocation(u"admin"_s), u"export-xls"_s, file,
                     u"--from"_s, u"2026-11-01"_s, u"--to"_s, u"2026-12-05"_s},
                    m_home.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains(u"2026-11-01 至 2026-12-05 的 4 条调班记录"_s),
                 qPrintable(run.out));

        const QStringList expected = shownByTheRegister({2026, 11, 1}, {2026, 12, 5});
        const QStringList read = readXls(file);
        // Captions and records as shown (names for codes, 调休/调班 for 0/1); the
        // footer's count and total follow them, as numbers under their columns.
        QCOMPARE(read.mid(0, expected.size()), expected);
        QCOMPARE(read.size(), expected.size() + 1);
        const QStringList footer = read.last().split(u'\t');
        QCOMPARE(footer.mid(0, 4), (QStringList{QString(), QString(), u"4"_s, u"780"_s}));
        QVERIFY(read.at(1).contains(u"王芳"_s) && read.at(1).contains(u"调休"_s));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                == QStringList{QFileInfo(file).fileName()});
    }

    void theOperatorsScopeApplies()
    {
        Fixture fixture;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"clerk.xls"_s);
        const HostRun run = runHost({u"--db"_s, fixture.deskLocation(u"clerk"_s), u"--operator"_s,
                                     u"clerk"_s, u"export-xls"_s, file, u"--from"_s,
                                     u"2026-09-01"_s, u"--to"_s, u"2026-12-31"_s},
                                    m_home.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList read = readXls(file);
        QVERIFY2(read.size() >= 3, qPrintable(read.join(u'\n')));
        QVERIFY(read.at(1).startsWith(u"E003\t"_s));
        QVERIFY(read.at(2).startsWith(u"E005\t"_s));
        QVERIFY(!read.join(u'\n').contains(u"E001"_s));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        QTest::newRow("date not yyyy-mm-dd")
            << QStringList{u"--from"_s, u"12/05/2026"_s} << 2 << u"应写作 yyyy-mm-dd"_s;
        QTest::newRow("no such day")
            << QStringList{u"--to"_s, u"2026-02-30"_s} << 2 << u"应写作 yyyy-mm-dd"_s;
        QTest::newRow("range ends before it starts")
            << QStringList{u"--from"_s, u"2026-12-05"_s, u"--to"_s, u"2026-12-01"_s} << 2
            << u"晚于结束日期"_s;
        QTest::newRow("missing database")
            << QStringList{u"--db"_s, u"/nonexistent/x.db"_s} << 1 << u"不存在"_s;
        QTest::newRow("missing folder")
            << QStringList{u"--file"_s, u"/nonexistent/x.xls"_s} << 1 << u"不存在"_s;
        // A blank name is a usage error before any work, not a late failure.
        QTest::newRow("empty file name")
            << QStringList{u"--file"_s, u""_s} << 2 << u"要写要保存的文件名"_s;
        QTest::newRow("not an .xls name")
            << QStringList{u"--file"_s, u"report.csv"_s} << 2 << u"应以 .xls 结尾"_s;
        QTest::newRow("blank file name")
            << QStringList{u"--file"_s, u"  "_s} << 2 << u"要写要保存的文件名"_s;
    }

    // Bad input ends with a clear message and a non-zero status; a file already
    // there stays as it was.
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);

        Fixture fixture;
        QTemporaryDir dir;
        QString file = dir.filePath(u"old.xls"_s);
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier export");
        }
        if (const qsizetype at = arguments.indexOf(u"--file"_s); at >= 0) {
            file = arguments.at(at + 1);
            arguments.remove(at, 2);
        }
        const HostRun run = runHost(QStringList{u"--db"_s, fixture.deskLocation(u"admin"_s)}
                                        + arguments + QStringList{u"export-xls"_s, file},
                                    m_home.path());
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QFile old(dir.filePath(u"old.xls"_s));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("earlier export"));
    }

    // Headless runs print our own lines only: none of the toolkit's notices,
    // also when the session has no runtime folder.
    void headlessRunsPrintOnlyOurLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("ours"); // standard error, %1 the output's path
        QTest::newRow("export-xls")
            << QStringList{u"export-xls"_s, u"quiet.xls"_s} << u"quiet.xls"_s << QString();
        QTest::newRow("screenshot") << QStringList{u"--screenshot"_s, u"quiet.png"_s}
                                    << u"quiet.png"_s << u"截图已保存：%1\n"_s;
    }

    void headlessRunsPrintOnlyOurLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QString, ours);
        Fixture fixture;
        QTemporaryDir dir;
        const QString file = dir.filePath(output);
        arguments.last() = file;
        const HostRun run =
            runHost(QStringList{u"--db"_s, fixture.deskLocation(u"admin"_s)} + arguments,
                    m_home.path(), {{u"XDG_RUNTIME_DIR"_s, QString()}});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(QFile::exists(file));
        QCOMPARE(run.err, ours.isEmpty() ? ours : ours.arg(file));
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(ExportXlsTest)
#include "tst_exportxls.moc"
