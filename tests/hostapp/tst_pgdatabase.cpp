// What only a database on a server has: connections that break, passwords, and
// the server's error codes.

#include "Failures.h"
#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/db/PgConnection.h"
#include "hostapp/db/Schema.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// Ends the server's side of db's connection, as a server restart or a broken
// network would; db notices at its next statement.
void dropConnection(Fixture &fixture, Database &db)
{
    const QString pid = db.nativeValue(u"SELECT pg_backend_pid()"_s);
    fixture.connect()->execute(u"SELECT pg_terminate_backend($1, 5000)"_s, {pid});
}

QString count(Database &db)
{
    return db.queryValue(u"select count(1) from Kq_ExchangeClass"_s);
}

} // namespace

class PgDatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The kinds of failure the operator is told about, by SQLSTATE; those a
    // test can cause on a real server are tested as such elsewhere.
    void serverCodesSortIntoKinds_data()
    {
        QTest::addColumn<QByteArray>("sqlState");
        QTest::addColumn<DbFailure>("failure");
        QTest::newRow("lock timeout") << "55P03"_ba << DbFailure::Busy;
        QTest::newRow("serialization") << "40001"_ba << DbFailure::Busy;
        QTest::newRow("deadlock") << "40P01"_ba << DbFailure::Busy;
        QTest::newRow("connection failure") << "08006"_ba << DbFailure::ConnectionLost;
        QTest::newRow("cannot connect") << "08001"_ba << DbFailure::ConnectionLost;
        QTest::newRow("server shut down") << "57P01"_ba << DbFailure::ConnectionLost;
        QTest::newRow("disk full") << "53100"_ba << DbFailure::DiskFull;
        QTest::newRow("out of memory") << "53200"_ba << DbFailure::Statement;
        QTest::newRow("data corrupted") << "XX001"_ba << DbFailure::Damaged;
        QTest::newRow("index corrupted") << "XX002"_ba << DbFailure::Damaged;
        QTest::newRow("unique violation elsewhere") << "23505"_ba << DbFailure::Statement;
        QTest::newRow("syntax") << "42601"_ba << DbFailure::Statement;
    }

    void serverCodesSortIntoKinds()
    {
        QFETCH(QByteArray, sqlState);
        QFETCH(DbFailure, failure);
        QCOMPARE(PgError::failureOf(sqlState), failure);
    }

    // The statement that finds the connection gone fails, and the transaction
    // with it, as the module's save rolls back: nothing is saved, nothing runs
    // outside the transaction. The next statement connects again, with the
    // session's operator.
    void lostConnectionFailsOnceAndOpensAgain_data()
    {
        QTest::addColumn<bool>("inTransaction");
        QTest::addColumn<bool>("atCommit");
        QTest::newRow("outside a transaction") << false << false;
        QTest::newRow("next statement of a transaction") << true << false;
        QTest::newRow("commit") << true << true;
    }

    void lostConnectionFailsOnceAndOpensAgain()
    {
        QFETCH(bool, inTransaction);
        QFETCH(bool, atCommit);
        Fixture fixture;
        Database &db = fixture.desk(u"clerk"_s);
        const QString insert =
            EditorStatements::insertExchange(exchange(u"E003"_s, u"2026-12-01"_s));
        if (inTransaction) {
            db.beginTrans();
            QVERIFY(db.execSql(insert));
        }
        dropConnection(fixture, db);
        QCOMPARE(failureOf([&] { atCommit ? db.commitTrans() : void(db.execSql(insert)); }),
                 DbFailure::ConnectionLost);
        QVERIFY(!db.inTransaction());
        db.rollbackTrans();
        QCOMPARE(count(fixture.db()), u"5"_s);

        QVERIFY(db.execSql(ExchangeQueries::deleteExchange(u"4"_s)));
        QCOMPARE(count(fixture.db()), u"4"_s);
        QCOMPARE(db.nativeValue(u"SELECT OperatorCode FROM Kq_ExchangeClassHistory"_s), u"clerk"_s);
    }

    // The database's clock reads as the desk's, whatever zone the server is in.
    void sessionRunsOnTheDesksClock_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("Shanghai") << "Asia/Shanghai"_ba;
        QTest::newRow("New York") << "America/New_York"_ba;
        QTest::newRow("Kathmandu") << "Asia/Kathmandu"_ba;
    }

    void sessionRunsOnTheDesksClock()
    {
        QFETCH(QByteArray, zone);
        const QByteArray saved = qgetenv("TZ");
        qputenv("TZ", zone);
        Fixture fixture;
        const std::unique_ptr<Database> desk = fixture.connect();
        const QString clock = desk->nativeValue(u"SELECT to_char(LOCALTIMESTAMP, 'HH24:MI')"_s);
        const QDateTime now = QDateTime::currentDateTimeUtc().toTimeZone(QTimeZone(zone));
        qputenv("TZ", saved);
        // Either side of a minute's turn.
        QVERIFY2(clock == now.toString(u"HH:mm"_s)
                     || clock == now.addSecs(-60).toString(u"HH:mm"_s),
                 qPrintable(clock));
    }

    // A server database of layout 2, from before the working-time rules, gets
    // their tables and profiles when opened, its rows kept.
    void layout2GetsTheRules()
    {
        Fixture fixture;
        Database &db = fixture.db();
        db.execute(u"DROP TABLE Kq_RuleProfile, Kq_RuleLimit, Kq_DeptRuleProfile,"
                   u" Kq_CoverageMinimum, Kq_CoverageOverride;"
                   u" UPDATE Sys_SchemaVersion SET Version = 2"_s);
        QCOMPARE(Schema::check(db), Schema::State::Older);
        Schema::upgrade(db);
        QCOMPARE(Schema::check(db), Schema::State::Current);
        QCOMPARE(db.nativeValue(u"SELECT string_agg(ProfileName, ',' ORDER BY ProfileName)"
                                u" FROM Kq_RuleProfile"_s),
                 u"EU,PRC"_s);
        QCOMPARE(db.nativeValue(u"SELECT count(*) FROM Kq_RuleLimit WHERE Enabled = 1"_s), u"11"_s);
        QCOMPARE(count(db), u"5"_s);
    }

    // A password on the command line is for everyone to see.
    void passwordInTheUriIsRefused()
    {
        const QString error = errorOf(
            [] { openDatabase(u"postgresql://postgres:secret@/talvex?host=/nonexistent"_s); });
        QVERIFY2(error.contains(u"PGPASSWORD"_s), qPrintable(error));
        QVERIFY(!error.contains(u"secret"_s));
        QCOMPARE(failureOf([] {
                     openDatabase(u"postgresql://postgres:secret@/talvex?host=/nonexistent"_s);
                 }),
                 DbFailure::PasswordInUri);
    }
};

QTEST_GUILESS_MAIN(PgDatabaseTest)
#include "tst_pgdatabase.moc"
