// talvex-host as a person starts it: every option in both of its forms, bad
// values refused with a message of their own before any window shows, and the
// sql command's failures (its statements: check-host.sh, on either backend).

#include "HostProcess.h"

#include "hostapp/commands/HostOptions.h"
#include "hostapp/db/SqliteDatabase.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
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
        // The demo database most runs use, built by the window (sql builds none),
        // telling each step as it begins.
        const HostRun built = run({u"--db"_s, demoDb(), u"--screenshot"_s, path(u"setup.png"_s)});
        QCOMPARE(built.status, 0);
        const QStringList steps =
            built.err.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(u"^  （"_s));
        QCOMPARE(steps.size(), 5);
        for (int step = 1; step <= 5; ++step)
            QVERIFY2(steps.at(step - 1).startsWith(u"  （%1/5）"_s.arg(step)),
                     qPrintable(built.err));

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
            // A mistyped folder is refused, not made with a demo database in it.
            for (const QString &folder : {u"missing"_s, u"plain-file/sub"_s}) {
                QTest::addRow("db folder %s, %s", qPrintable(folder), form)
                    << QStringList{u"--screenshot"_s, path(u"never.png"_s)}
                           + option(u"db"_s, path(folder + u"/talvex.db"_s), joined)
                    << 1 << u"数据库文件夹 %1 不存在。"_s.arg(path(folder));
            }
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
        QTest::newRow("sql with an empty statement")
            << QStringList{u"sql"_s, u""_s} << 2 << u"sql 后面要写一条语句，不能是空的。"_s;
        QTest::newRow("sql with a blank statement")
            << QStringList{u"sql"_s, u" \u3000 "_s} << 2 << u"sql 后面要写一条语句，不能是空的。"_s;
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

        // The sql command never makes the database --db names.
        const QString fresh = path(joined ? u"joined.db"_s : u"separate.db"_s);
        const HostRun count = run(option(u"db"_s, fresh, joined)
                                  + QStringList{u"sql"_s, u"select count(1) from HR_Employee"_s});
        QCOMPARE(count.status, 1);
        QVERIFY2(count.err.contains(u"数据库文件 %1 不存在。"_s.arg(fresh)), qPrintable(count.err));
        QVERIFY(!QFile::exists(fresh));
    }

    // A plug-in named without a folder is the file in the current folder; only
    // a name not found there is left to the loader's search.
    void pluginNameIsLookedUpHereFirst_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("here");
        QTest::newRow("in the current folder") << u"libMine.so"_s << true;
        QTest::newRow("not in the current folder") << u"libElsewhere.so"_s << false;
    }

    void pluginNameIsLookedUpHereFirst()
    {
        QFETCH(QString, name);
        QFETCH(bool, here);
        QTemporaryDir current;
        QFile mine(current.filePath(u"libMine.so"_s));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        const QString taken = parseHostOptions({u"--plugin"_s, name}).pluginPath;
        QDir::setCurrent(before);
        QCOMPARE(taken, here ? current.filePath(name) : name);
    }

    // A demo build cut short leaves no file under the database's name: the next
    // start builds it anew instead of refusing a damaged one.
    void interruptedDemoBuildLeavesNoDatabase()
    {
        const QString db = path(u"interrupted.db"_s);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        QProcess host;
        host.setProcessEnvironment(environment);
        host.setReadChannel(QProcess::StandardError);
        host.start(binary(u"talvex-host"_s), {u"--db"_s, db, u"--demo-scale"_s, u"1"_s,
                                              u"--screenshot"_s, path(u"never.png"_s)});
        QVERIFY(host.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QString::fromUtf8(host.peek(4096)).contains(u"正在建立演示数据库"_s), 30000);
        QTest::qWait(1500);
        QVERIFY2(host.state() == QProcess::Running, "the build ended before it could be cut short");
        host.kill();
        QVERIFY(host.waitForFinished());
        QVERIFY(!QFile::exists(db));
        QVERIFY(!QFile::exists(path(u"never.png"_s)));
    }

    // A demo database larger than the free space is refused before it starts.
    // Run where the disk is small enough for a scale the command takes.
    void demoBuildNeedsTheDiskSpace()
    {
        QTemporaryDir small(u"/dev/shm/talvex-XXXXXX"_s);
        if (!small.isValid())
            QSKIP("no /dev/shm here");
        const qint64 available = QStorageInfo(small.path()).bytesAvailable();
        const qint64 scale = available / 750'000'000 + 1;
        if (scale > 100)
            QSKIP("/dev/shm holds even the largest demo database");
        const QString db = small.filePath(u"big.db"_s);
        const HostRun refused = run({u"--db"_s, db, u"--demo-scale"_s, QString::number(scale),
                                     u"--screenshot"_s, path(u"never.png"_s)});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(u"磁盘空间不足"_s), qPrintable(refused.err));
        QVERIFY(!QFile::exists(db));
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

    // The sql command heads its columns with the statement's own words, and
    // takes the Oracle forms people type.
    void sqlHeadsColumnsAsWritten_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("header");
        QTest::newRow("alias, sysdate, ||")
            << u"select count(1) AS n, sysdate, 'a' || 'b' from dual"_s
            << u"n\tsysdate\t'a' || 'b'"_s;
        QTest::newRow("column and function")
            << u"select EmployeeCode, nvl(Remark, '-')  备注 from Kq_ExchangeClass where rownum <= 1"_s
            << u"EmployeeCode\t备注"_s;
        QTest::newRow("expression as written")
            << u"select trunc( ExchgDate ), length(Remark) from Kq_ExchangeClass where rownum = 1"_s
            << u"trunc( ExchgDate )\tlength(Remark)"_s;
    }

    void sqlHeadsColumnsAsWritten()
    {
        QFETCH(QString, statement);
        QFETCH(QString, header);
        const HostRun result = run({u"--db"_s, demoDb(), u"sql"_s, statement});
        QVERIFY2(result.status == 0, qPrintable(result.err));
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(), header);
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
        // What the translator refuses, said where it fails.
        QTest::newRow("an Oracle construct the host does not translate")
            << demoDb() << u"select * from dual connect by level < 3"_s
            << u"这条语句无法执行。不支持 CONNECT BY 这种写法（第 20 个字符）。"_s
            << u"unsupported Oracle construct: CONNECT"_s;
        QTest::newRow("an unknown function")
            << demoDb() << u"select decode(Sex, 1, 'M') from HR_Employee"_s
            << u"这条语句无法执行。不支持函数 DECODE（第 8 个字符）。"_s
            << u"unsupported Oracle function: DECODE"_s;
        QTest::newRow("a misplaced comma")
            << demoDb() << u"select EmployeeCode,, PersonName from HR_Employee"_s
            << u"这条语句无法执行。语法错误：第 21 个字符处不应出现 ,。"_s
            << u"unexpected , at character 21"_s;
        QTest::newRow("an unfinished statement")
            << demoDb() << u"select EmployeeCode from"_s
            << u"这条语句无法执行。语句不完整：写到结尾还缺少内容。"_s
            << u"the statement ends where more is expected"_s;
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
