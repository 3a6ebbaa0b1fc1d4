// talvex-host as a person starts it: every option in both of its forms, bad
// values refused with a message of their own before any window shows, and the
// sql command's failures (its statements: check-host.sh, on either backend).

#include "HostProcess.h"

#include "hostapp/db/SqliteDatabase.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "--name VALUE" or "--name=VALUE".
QStringList option(const QString &name, const QString &value, bool joined)
{
    if (joined)
        return {u"--%1=%2"_s.arg(name, value)};
    return {u"--"_s + name, value};
}

} // namespace

class HostCommandLineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile notAFolder(path(u"plain-file"_s));
        QVERIFY(notAFolder.open(QIODevice::WriteOnly));
        notAFolder.write("not a folder, not a library\n");
        notAFolder.close();
        // The demo database most runs use.
        QCOMPARE(run({u"--db"_s, demoDb(), u"sql"_s, u"select count(1) from HR_Employee"_s}).status,
                 0);

        QFile random(path(u"random.db"_s));
        QVERIFY(random.open(QIODevice::WriteOnly));
        random.write(QByteArray(8192, 'Z'));
        SqliteDatabase(path(u"foreign.db"_s)).execute(u"CREATE TABLE notes (text)"_s);
    }

    void refusesBadCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        const QString scaleRange = u"--demo-scale 应是 1 到 100 的整数，不能是“%1”。"_s;
        // A window over the demo database that must stop before its screenshot.
        const auto window = [this](const QStringList &options) {
            return QStringList{u"--db"_s, demoDb(), u"--screenshot"_s, path(u"never.png"_s)}
                   + options;
        };
        for (const bool joined : {false, true}) {
            const char *form = joined ? "=" : "space";
            for (const QString &scale :
                 {u"-1"_s, u"0"_s, u"abc"_s, u"101"_s, u"3000"_s, u"99999999999999999999"_s}) {
                QTest::addRow("demo-scale %s %s", qPrintable(scale), form)
                    << option(u"demo-scale"_s, scale, joined) << 2 << scaleRange.arg(scale);
            }
            QTest::addRow("screenshot folder missing, %s", form)
                << option(u"screenshot"_s, path(u"missing/shot.png"_s), joined) << 2
                << u"--screenshot 的文件夹 %1 不存在。"_s.arg(path(u"missing"_s));
            QTest::addRow("print-to folder missing, %s", form)
                << option(u"print-to"_s, path(u"missing/out.pdf"_s), joined) << 2
                << u"--print-to 的文件夹 %1 不存在。"_s.arg(path(u"missing"_s));
            QTest::addRow("db folder cannot be made, %s", form)
                << option(u"db"_s, path(u"plain-file/sub/talvex.db"_s), joined)
                       + QStringList{u"sql"_s, u"select 1 from dual"_s}
                << 1 << u"无法建立数据库文件夹 %1。"_s.arg(path(u"plain-file/sub"_s));
            QTest::addRow("no such operator, %s", form)
                << window(option(u"operator"_s, u"nobody"_s, joined)) << 1
                << u"操作员代码或密码不对。"_s;
            QTest::addRow("plug-in missing, %s", form)
                << window(option(u"plugin"_s, path(u"libNone.so"_s), joined)) << 1
                << u"无法加载插件 %1。"_s.arg(path(u"libNone.so"_s));
        }
        QTest::newRow("plug-in not a library")
            << window({u"--plugin"_s, path(u"plain-file"_s)}) << 1
            << u"无法加载插件 %1。"_s.arg(path(u"plain-file"_s));
        QTest::newRow("library without the plug-in's exports")
            << window({u"--plugin"_s, binary(u"libtalvexrt.so"_s)}) << 1
            << u"%1 不是考勤系统的插件。"_s.arg(binary(u"libtalvexrt.so"_s));
        QTest::newRow("unknown option")
            << QStringList{u"--bogus"_s} << 2 << u"没有“--bogus”这个选项。"_s;
        // Options of Qt's own are not taken for ours, nor passed to Qt.
        QTest::newRow("Qt's -plugin")
            << QStringList{u"-plugin"_s, u"x"_s} << 2 << u"没有“-plugin”这个选项。"_s;
        QTest::newRow("Qt's --style")
            << QStringList{u"--style"_s, u"fusion"_s} << 2 << u"没有“--style”这个选项。"_s;
        QTest::newRow("value missing at the end")
            << QStringList{u"--db"_s} << 2 << u"选项 --db 后面要写 PATH。"_s;
        QTest::newRow("option where the value should be")
            << QStringList{u"--operator"_s, u"--db"_s, demoDb()} << 2
            << u"选项 --operator 后面要写 CODE。"_s;
        QTest::newRow("empty joined value")
            << QStringList{u"--plugin="_s} << 2 << u"选项 --plugin 后面要写 PATH。"_s;
        QTest::newRow("unknown command")
            << QStringList{u"frob"_s} << 2 << u"没有“frob”这个命令。"_s;
        QTest::newRow("sql without its statement")
            << QStringList{u"sql"_s} << 2 << u"sql 命令后面要写一个 \"STATEMENT\""_s;
        QTest::newRow("sql with two statements")
            << QStringList{u"sql"_s, u"select 1 from dual"_s, u"select 2 from dual"_s} << 2
            << u"sql 命令后面要写一个 \"STATEMENT\""_s;
    }

    void refusesBadCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const HostRun result = run(arguments);
        QCOMPARE(result.status, status);
        QVERIFY2(result.err.contains(u"talvex-host："_s + message), qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
        QVERIFY(!QFile::exists(path(u"never.png"_s)));
    }

    // Each option reaches what it names, written either way.
    void takesEveryOptionInBothForms_data()
    {
        QTest::addColumn<bool>("joined");
        QTest::newRow("--name VALUE") << false;
        QTest::newRow("--name=VALUE") << true;
    }

    void takesEveryOptionInBothForms()
    {
        QFETCH(bool, joined);
        const QString shot = path(joined ? u"joined.png"_s : u"separate.png"_s);
        const HostRun window =
            run(option(u"db"_s, demoDb(), joined) + option(u"operator"_s, u"clerk"_s, joined)
                + option(u"plugin"_s, binary(u"libTalvex.so"_s), joined)
                + option(u"print-to"_s, path(u"preview.pdf"_s), joined)
                + option(u"demo-scale"_s, u"2"_s, joined) + option(u"screenshot"_s, shot, joined));
        QVERIFY2(window.status == 0, qPrintable(window.err));
        QVERIFY(window.err.contains(u"--demo-scale 只用于新建数据库，这次不起作用。"_s));
        const QImage image(shot);
        QVERIFY(image.width() >= 1000 && image.height() >= 700);

        // A new file named by --db gets the demo data.
        const QString fresh = path(joined ? u"joined.db"_s : u"separate.db"_s);
        const HostRun count = run(option(u"db"_s, fresh, joined)
                                  + QStringList{u"sql"_s, u"select count(1) from HR_Employee"_s});
        QCOMPARE(count.status, 0);
        QVERIFY(QFile::exists(fresh));
        QVERIFY(count.out.split(u'\n', Qt::SkipEmptyParts).last().toInt() > 250);
    }

    void helpTellsWhereTheLogIs()
    {
        const HostRun help = run({u"--help"_s});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(u"错误日志："_s + logPath()));
        for (const QString &documented :
             {u"--db PATH"_s, u"--operator CODE"_s, u"--plugin PATH"_s, u"--demo-scale N"_s,
              u"--screenshot FILE.png"_s, u"--print-to FILE.pdf"_s, u"sql \"STATEMENT\""_s}) {
            QVERIFY2(help.out.contains(documented), qPrintable(documented));
        }
    }

    // Failures read in the operator's words on the terminal, with the detail in
    // the log file only (the taken day: tst_hostfailures).
    void failuresSayWhatToDo_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail");

        QTest::newRow("not a database")
            << path(u"random.db"_s) << u"select 1 from dual"_s
            << u"这个文件不是考勤系统的数据库。请检查数据库文件的路径。"_s
            << u"file is not a database"_s;
        QTest::newRow("another application's database")
            << path(u"foreign.db"_s) << u"select 1 from dual"_s
            << u"这个文件不是考勤系统的数据库。请检查数据库文件的路径。"_s
            << u"is not a Talvex database"_s;
        QTest::newRow("a statement the host cannot translate")
            << demoDb() << u"select * from dual connect by level < 3"_s
            << u"数据库未能完成这项操作。详细信息已写入日志文件，请与系统管理员联系。"_s
            << u"unsupported Oracle construct: CONNECT"_s;
    }

    void failuresSayWhatToDo()
    {
        QFETCH(QString, database);
        QFETCH(QString, statement);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        QFile::remove(logPath());
        const HostRun failed = run({u"--db"_s, database, u"sql"_s, statement});
        QCOMPARE(failed.status, 1);
        QVERIFY2(failed.err.contains(u"talvex-host：%1\n日志文件：%2\n"_s.arg(message, logPath())),
                 qPrintable(failed.err));
        QVERIFY(!failed.err.contains(detail, Qt::CaseInsensitive));
        QVERIFY(!failed.err.contains(statement) && !failed.err.contains(u"PRAGMA"_s));
        QVERIFY2(log().contains(u"[详情] "_s) && log().contains(detail, Qt::CaseInsensitive),
                 qPrintable(log()));
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString demoDb() const { return path(u"demo.db"_s); }
    QString logPath() const { return path(u"data/talvex-host/talvex-host.log"_s); }
    static QString binary(const QString &name)
    {
        return qEnvironmentVariable("TALVEX_BIN_DIR") + u'/' + name;
    }

    QString log() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    HostRun run(const QStringList &arguments) const { return runHost(arguments, m_dir.path()); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(HostCommandLineTest)
#include "tst_hostcommandline.moc"
