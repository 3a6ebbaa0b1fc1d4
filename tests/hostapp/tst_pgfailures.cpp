// Each way a server's database cannot be had reads as what it is, in the
// operator's words, when talvex-host starts on it.

#include "HostProcess.h"

#include "hostapp/db/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

// The test cluster's URI, changed by edit.
template <typename Edit> QString clusterUri(Edit edit)
{
    QUrl url(qEnvironmentVariable("TALVEX_TEST_PG"));
    edit(url);
    return url.toString(QUrl::FullyEncoded);
}

QString databaseName()
{
    return u"talvex_failures_%1"_s.arg(QCoreApplication::applicationPid());
}

void inDatabase(QUrl &url, const QString &role, const QString &searchPath = {})
{
    url.setPath(u'/' + databaseName());
    url.setUserName(role);
    if (searchPath.isEmpty())
        return;
    QUrlQuery query(url);
    query.addQueryItem(u"options"_s, u"-csearch_path="_s + searchPath);
    url.setQuery(query);
}

const QString plainRole = u"talvex_test_plain"_s;

} // namespace

class PgFailuresTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A database of its own: a schema with another application's table, and a
    // role that may not create tables in the schema public.
    void initTestCase()
    {
        const std::unique_ptr<Database> cluster =
            openDatabase(qEnvironmentVariable("TALVEX_TEST_PG"));
        cluster->execute(u"CREATE DATABASE "_s + databaseName());
        cluster->execute(u"DO $role$ BEGIN CREATE ROLE %1 LOGIN;"
                         u" EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL;"
                         u" END $role$"_s.arg(plainRole));
        const std::unique_ptr<Database> db =
            openDatabase(clusterUri([](QUrl &url) { inDatabase(url, u"postgres"_s); }));
        db->execute(u"CREATE SCHEMA payroll; CREATE TABLE payroll.salary (amount integer);"
                    u" GRANT USAGE ON SCHEMA payroll TO PUBLIC"_s);
    }

    void cleanupTestCase()
    {
        openDatabase(qEnvironmentVariable("TALVEX_TEST_PG"))
            ->execute(u"DROP DATABASE %1 WITH (FORCE)"_s.arg(databaseName()));
    }

    void startReportsWhatWentWrong_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<QString>("message");
        QTest::newRow("password in the URI")
            << clusterUri([](QUrl &url) { url.setPassword(u"secret"_s); })
            << u"请把密码放进环境变量 PGPASSWORD，或放进密码文件 ~/.pgpass"_s;
        QTest::newRow("no server at the socket")
            << clusterUri([](QUrl &url) { url.setQuery(u"host=/nonexistent&port=5432"_s); })
            << u"连不上数据库服务器：服务器没有应答"_s;
        QTest::newRow("closed port") << clusterUri([](QUrl &url) {
            url.setQuery(QString());
            url.setHost(u"127.0.0.1"_s);
            url.setPort(1);
        }) << u"连不上数据库服务器：服务器没有应答"_s;
        QTest::newRow("unknown host") << clusterUri([](QUrl &url) {
            url.setQuery(QString());
            url.setHost(u"no-such-host.invalid"_s);
        }) << u"--db 中的主机名不存在"_s;
        QTest::newRow("no such database")
            << clusterUri([](QUrl &url) { url.setPath(u"/talvex_no_such_database"_s); })
            << u"数据库服务器上没有 --db 中写的数据库"_s;
        QTest::newRow("no such role")
            << clusterUri([](QUrl &url) { url.setUserName(u"talvex_no_such_role"_s); })
            << u"数据库服务器上没有 --db 中写的角色"_s;
        QTest::newRow("no privilege on schema public")
            << clusterUri([](QUrl &url) { inDatabase(url, plainRole); })
            << u"登录的角色没有建立考勤数据库的权限"_s;
        QTest::newRow("another application's tables")
            << clusterUri([](QUrl &url) { inDatabase(url, plainRole, u"payroll"_s); })
            << u"服务器数据库里有别的程序的表"_s;
    }

    void startReportsWhatWentWrong()
    {
        QFETCH(QString, uri);
        QFETCH(QString, message);
        QTemporaryDir home;
        // A window's start, which would make the register's tables in an empty
        // database; commands never make them.
        const HostRun run =
            runHost({u"--db"_s, uri, u"--screenshot"_s, home.filePath(u"shot.png"_s)}, home.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY2(!run.err.contains(u"secret"_s), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(PgFailuresTest)
#include "tst_pgfailures.moc"
