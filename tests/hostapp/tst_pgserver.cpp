// What a desk meets on a server of an office rather than the test run's
// cluster: passwords that the server checks, a pg_hba.conf that turns a role
// away, and a server that stops while the desk is idle and comes back. The
// test makes a cluster of its own for it, on a Unix socket, since it stops it.

#include "Failures.h"

#include "hostapp/auth/ServerSignIn.h"
#include "hostapp/db/Database.h"
#include "hostapp/db/PgRoles.h"
#include "hostapp/services/OperatorMessage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString serverBin = u"/usr/lib/postgresql/15/bin/"_s;
// A failure guard, not a speed target.
constexpr qint64 reportedWithinMs = 15000;

// A cluster in a temporary folder: passwords for the role "keeper", the role
// "stranger" turned away, every other role let in. The server refuses to run as
// root: as root it runs as the postgres user.
class PrivateCluster
{
public:
    PrivateCluster()
    {
        m_dir.setAutoRemove(true);
        QDir().mkpath(m_dir.filePath(u"sock"_s));
        if (::geteuid() == 0)
            QVERIFY(QProcess::execute(u"chown"_s, {u"-R"_s, u"postgres:postgres"_s, m_dir.path()})
                    == 0);
        QVERIFY(run(u"initdb"_s, {u"-D"_s, data(), u"-A"_s, u"trust"_s, u"-U"_s, u"postgres"_s,
                                  u"-E"_s, u"UTF8"_s, u"--locale=C.UTF-8"_s, u"--no-sync"_s}));
        QFile hba(data() + u"/pg_hba.conf"_s);
        QVERIFY(hba.open(QIODevice::WriteOnly | QIODevice::Truncate));
        hba.write("local all keeper scram-sha-256\n"
                  "local all stranger reject\n"
                  "local all all trust\n");
        hba.close();
        QVERIFY(start());
        const std::unique_ptr<Database> db = openDatabase(uri(u"postgres"_s));
        db->execute(u"CREATE ROLE keeper LOGIN PASSWORD 'right'; CREATE ROLE stranger LOGIN"_s);
    }

    ~PrivateCluster() { run(u"pg_ctl"_s, {u"-D"_s, data(), u"-m"_s, u"immediate"_s, u"stop"_s}); }

    QString uri(const QString &role) const
    {
        return u"postgresql://%1@/postgres?host=%2&port=%3"_s.arg(role, m_dir.filePath(u"sock"_s))
            .arg(port);
    }

    bool start()
    {
        return run(
            u"pg_ctl"_s,
            {u"-D"_s, data(), u"-l"_s, m_dir.filePath(u"server.log"_s), u"-w"_s, u"-o"_s,
             u"-k %1 -p %2 -c listen_addresses='' -c fsync=off"_s.arg(m_dir.filePath(u"sock"_s))
                 .arg(port),
             u"start"_s});
    }

    bool stop()
    {
        return run(u"pg_ctl"_s, {u"-D"_s, data(), u"-m"_s, u"fast"_s, u"-w"_s, u"stop"_s});
    }

private:
    QString data() const { return m_dir.filePath(u"data"_s); }

    bool run(const QString &program, QStringList arguments) const
    {
        QString command = serverBin + program;
        if (::geteuid() == 0) {
            arguments.prepend(command);
            arguments = QStringList{u"-u"_s, u"postgres"_s, u"--"_s} + arguments;
            command = u"runuser"_s;
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(command, arguments);
        return process.waitForFinished(60000) && process.exitCode() == 0;
    }

    static constexpr int port = 5499; // in the socket's name only
    QTemporaryDir m_dir{QDir::temp().filePath(u"talvex-pgserver-XXXXXX"_s)};
};

QString messageOf(const std::exception_ptr &error)
{
    return OperatorMessage::of(error).text;
}

template <typename Action> std::exception_ptr failureIn(Action action)
{
    try {
        action();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

class PgServerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_cluster = std::make_unique<PrivateCluster>(); }
    void cleanupTestCase() { m_cluster.reset(); }

    void signingInFailsAsItShould_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("password"); // null: none at hand
        QTest::addColumn<DbFailure>("failure");
        QTest::newRow("no password at hand")
            << u"keeper"_s << QString() << DbFailure::PasswordNeeded;
        QTest::newRow("wrong password") << u"keeper"_s << u"wrong"_s << DbFailure::WrongPassword;
        QTest::newRow("turned away by pg_hba.conf")
            << u"stranger"_s << QString() << DbFailure::DeskRefused;
    }

    void signingInFailsAsItShould()
    {
        QFETCH(QString, role);
        QFETCH(QString, password);
        QFETCH(DbFailure, failure);
        const QByteArray saved = qgetenv("PGPASSWORD");
        const QByteArray savedFile = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", "/nonexistent");
        if (password.isNull())
            qunsetenv("PGPASSWORD");
        else
            qputenv("PGPASSWORD", password.toUtf8());
        const auto failed = failureOf([&] { openDatabase(m_cluster->uri(role)); });
        qputenv("PGPASSWORD", saved);
        qputenv("PGPASSFILE", savedFile);
        QCOMPARE(failed, failure);
    }

    void rightPasswordSignsIn()
    {
        qputenv("PGPASSWORD", "right");
        const std::unique_ptr<Database> db = openDatabase(m_cluster->uri(u"keeper"_s));
        qunsetenv("PGPASSWORD");
        QCOMPARE(db->nativeValue(u"SELECT session_user"_s), u"keeper"_s);
    }

    // With a screen, a server that wants a password nobody gave gets it from
    // the operator: each answer in turn (null: he gives up), three tries at
    // most. Only the want of a password makes the host ask.
    void typedPasswordSignsIn_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("failure"); // empty: signed in
        QTest::newRow("right at once") << u"keeper"_s << QStringList{u"right"_s} << 1 << QString();
        QTest::newRow("right at the third")
            << u"keeper"_s << QStringList{u"wrong"_s, QString(u""_s), u"right"_s} << 3 << QString();
        QTest::newRow("three wrong") << u"keeper"_s << QStringList{u"a"_s, u"b"_s, u"c"_s} << 3
                                     << u"密码连续输错 3 次，程序退出。"_s;
        QTest::newRow("gives up") << u"keeper"_s << QStringList{u"wrong"_s, QString()} << 2
                                  << u"没有登录，程序退出。"_s;
        QTest::newRow("turned away, not asked")
            << u"stranger"_s << QStringList{u"right"_s} << 0 << u"pg_hba.conf"_s;
    }

    void typedPasswordSignsIn()
    {
        QFETCH(QString, role);
        QFETCH(QStringList, answers);
        QFETCH(int, asked);
        QFETCH(QString, failure);
        qunsetenv("PGPASSWORD");
        const QByteArray savedFile = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", "/nonexistent");
        QStringList problems;
        QString askedFor;
        const ServerSignIn::PasswordPrompt prompt =
            [&](const QString &asking, const QString &problem) -> std::optional<QString> {
            askedFor = asking;
            problems.append(problem);
            const QString answer = answers.value(problems.size() - 1);
            return answer.isNull() ? std::nullopt : std::optional(answer);
        };
        std::unique_ptr<Database> db;
        const std::exception_ptr error =
            failureIn([&] { db = ServerSignIn::open(m_cluster->uri(role), prompt); });
        qputenv("PGPASSFILE", savedFile);
        QCOMPARE(problems.size(), asked);
        if (asked > 0) {
            QCOMPARE(askedFor, role);
            QVERIFY(problems.first().isEmpty());
            if (asked > 1)
                QVERIFY2(problems.last().contains(u"没有接受"_s), qPrintable(problems.last()));
        }
        const QString message = error ? messageOf(error) : QString();
        if (!failure.isEmpty()) {
            QVERIFY2(message.contains(failure), qPrintable(message));
            return;
        }
        QVERIFY2(!error, qPrintable(message));
        // The typed password serves the reconnection after a dropped session.
        openDatabase(m_cluster->uri(u"postgres"_s))
            ->execute(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                      u" WHERE usename = 'keeper'"_s);
        failureIn([&] { db->nativeValue(u"SELECT 1"_s); });
        QCOMPARE(db->nativeValue(u"SELECT session_user"_s), u"keeper"_s);
    }

    // A password hashed on the desk, as operator passwd stores it, is one the
    // server's scram-sha-256 checks: it signs the role in, the former one no
    // longer does.
    void passwordHashedOnTheDeskSignsIn()
    {
        const std::unique_ptr<Database> admin = openDatabase(m_cluster->uri(u"postgres"_s));
        const QString renewed = u"新的 pass'word"_s;
        PgRoles::setPassword(*admin, u"keeper"_s, renewed);
        qputenv("PGPASSWORD", renewed.toUtf8());
        const std::unique_ptr<Database> db = openDatabase(m_cluster->uri(u"keeper"_s));
        QCOMPARE(db->nativeValue(u"SELECT session_user"_s), u"keeper"_s);
        qputenv("PGPASSWORD", "right");
        const auto former = failureOf([&] { openDatabase(m_cluster->uri(u"keeper"_s)); });
        qunsetenv("PGPASSWORD");
        PgRoles::setPassword(*admin, u"keeper"_s, u"right"_s);
        QCOMPARE(former, DbFailure::WrongPassword);
    }

    // The server stops while the desk is idle: its next command hears so, the
    // ones while the server is away that it does not answer, and the first one
    // after it is back works.
    void serverStopsWhileTheDeskIsIdle()
    {
        const std::unique_ptr<Database> db = openDatabase(m_cluster->uri(u"postgres"_s));
        QCOMPARE(db->nativeValue(u"SELECT 1"_s), u"1"_s);
        QVERIFY(m_cluster->stop());

        QElapsedTimer elapsed;
        elapsed.start();
        const std::exception_ptr lost = failureIn([&] { db->nativeValue(u"SELECT 1"_s); });
        QVERIFY2(messageOf(lost).contains(u"连接已断开"_s), qPrintable(messageOf(lost)));
        const std::exception_ptr away = failureIn([&] { db->nativeValue(u"SELECT 1"_s); });
        QVERIFY2(messageOf(away).contains(u"服务器没有应答"_s), qPrintable(messageOf(away)));
        QVERIFY(elapsed.elapsed() < reportedWithinMs);

        QVERIFY(m_cluster->start());
        QCOMPARE(db->nativeValue(u"SELECT 1"_s), u"1"_s);
    }

private:
    std::unique_ptr<PrivateCluster> m_cluster;
};

QTEST_GUILESS_MAIN(PgServerTest)
#include "tst_pgserver.moc"
