// The server holds each operator to his rights, whatever client he uses: the
// operators sign in as their own login roles and send plain SQL, as psql would.
// The schema belongs to an owner role without special rights, as on an office's
// server.

#include "Failures.h"
#include "Fixture.h"
#include "PgLayout2.h"

#include "hostapp/db/PgRoles.h"
#include "hostapp/db/Schema.h"
#include "hostapp/db/SchemaTables.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "runtime/dataset.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString owner = u"talvex_test_owner"_s;

QString ids(Database &db, const QString &table = u"Kq_ExchangeClass"_s,
            const QString &column = u"ID"_s)
{
    const std::unique_ptr<TDataSet> rows =
        db.select(u"SELECT %1 FROM %2 ORDER BY 1"_s.arg(column, table));
    QStringList texts;
    for (int r = 0; r < rows->recordCount(); ++r)
        texts.append(rows->asString(r, 0));
    return texts.join(u' ');
}

const QString insertE001 =
    u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkTime, WorkFlag, ExchgType)"
    u" VALUES (9, 'E001', '2026-12-20', 0, 0, 0)"_s;
const QString insertE003 =
    u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkTime, WorkFlag, ExchgType)"
    u" VALUES (9, 'E003', '2026-12-20', 0, 0, 0)"_s;

// What the server holds of the register's rights in db's schema: the tables'
// row-level security and privileges, the policies, the triggers and the
// functions; the schema's own name left out.
QStringList rightsInCatalogue(Database &db)
{
    const QString schema = db.nativeValue(u"SELECT current_schema()"_s);
    QStringList lines;
    for (const QString &sql :
         {u"SELECT relname || ' ' || relrowsecurity || relforcerowsecurity || ' '"
          u" || coalesce(relacl::text, '') FROM pg_catalog.pg_class"
          u" WHERE relnamespace = current_schema()::regnamespace AND relkind IN ('r', 'S')"_s,
          u"SELECT tablename || ' ' || policyname || ' ' || cmd || ' ' || roles::text || ' '"
          u" || coalesce(qual, '') || ' ' || coalesce(with_check, '')"
          u" FROM pg_catalog.pg_policies WHERE schemaname = current_schema()"_s,
          u"SELECT pg_get_triggerdef(t.oid) FROM pg_catalog.pg_trigger t"
          u" JOIN pg_catalog.pg_class c ON c.oid = t.tgrelid"
          u" WHERE c.relnamespace = current_schema()::regnamespace AND NOT t.tgisinternal"_s,
          u"SELECT proname || ' ' || prosecdef || ' ' || coalesce(proconfig::text, '') || ' '"
          u" || md5(prosrc) FROM pg_catalog.pg_proc"
          u" WHERE pronamespace = current_schema()::regnamespace"_s}) {
        const std::unique_ptr<TDataSet> rows = db.select(sql + u" ORDER BY 1"_s);
        for (int r = 0; r < rows->recordCount(); ++r)
            lines.append(rows->asString(r, 0).replace(schema, u"SCHEMA"_s));
    }
    return lines;
}

} // namespace

class PgRightsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The exchanges of the employees in his departments, with any level: E003
    // (0201) and E005 (02) are the clerk's.
    void eachOperatorReadsHisDepartments_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("visible");
        QTest::newRow("admin") << u"admin"_s << u"1 2 3 4 5"_s;
        QTest::newRow("clerk") << u"clerk"_s << u"4 5"_s;
        QTest::newRow("viewer") << u"viewer"_s << u"1 2 3 4 5"_s;
        // Not an operator: no level, no department.
        QTest::newRow("owner") << owner << QString();
    }

    void eachOperatorReadsHisDepartments()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QString, visible);
        Fixture fixture(owner);
        QCOMPARE(ids(fixture.desk(operatorCode)), visible);
    }

    // A delete of everything reaches exactly the rows in scope.
    void deleteOfEverythingReachesTheScope_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<qint64>("deleted");
        QTest::newRow("admin") << u"admin"_s << qint64(5);
        QTest::newRow("clerk") << u"clerk"_s << qint64(2);
    }

    void deleteOfEverythingReachesTheScope()
    {
        QFETCH(QString, operatorCode);
        QFETCH(qint64, deleted);
        Fixture fixture(owner);
        Database &desk = fixture.desk(operatorCode);
        desk.beginTrans();
        QCOMPARE(desk.execute(u"DELETE FROM Kq_ExchangeClass"_s, {}), deleted);
        desk.rollbackTrans();
        QCOMPARE(ids(fixture.desk(u"admin"_s)), u"1 2 3 4 5"_s);
    }

    // Outside his departments the clerk changes nothing: a new row is refused,
    // rows he cannot see are not found.
    void clerkChangesOnlyHisDepartments_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<qint64>("changed");
        QTest::newRow("insert outside") << insertE001 << true << qint64(0);
        QTest::newRow("update outside")
            << u"UPDATE Kq_ExchangeClass SET Remark = 'x' WHERE ID IN (1, 2, 3)"_s << false
            << qint64(0);
        QTest::newRow("move into his branch")
            << u"UPDATE Kq_ExchangeClass SET EmployeeCode = 'E003' WHERE ID = 1"_s << false
            << qint64(0);
        QTest::newRow("move out of his branch")
            << u"UPDATE Kq_ExchangeClass SET EmployeeCode = 'E001' WHERE ID = 4"_s << true
            << qint64(0);
        QTest::newRow("delete outside")
            << u"DELETE FROM Kq_ExchangeClass WHERE EmployeeCode = 'E001'"_s << false << qint64(0);
        QTest::newRow("insert inside") << insertE003 << false << qint64(1);
        QTest::newRow("update inside")
            << u"UPDATE Kq_ExchangeClass SET Remark = 'x' WHERE ID = 4"_s << false << qint64(1);
    }

    void clerkChangesOnlyHisDepartments()
    {
        QFETCH(QString, sql);
        QFETCH(bool, refused);
        QFETCH(qint64, changed);
        Fixture fixture(owner);
        Database &admin = fixture.desk(u"admin"_s);
        const QString before =
            ids(admin, u"Kq_ExchangeClass"_s, u"ID || EmployeeCode || coalesce(Remark, '')"_s);
        qint64 rows = 0;
        QCOMPARE(failureOf([&] { rows = fixture.desk(u"clerk"_s).execute(sql, {}); }),
                 refused ? std::optional(DbFailure::NoPrivilege) : std::nullopt);
        QCOMPARE(rows, changed);
        if (changed == 0) {
            QCOMPARE(
                ids(admin, u"Kq_ExchangeClass"_s, u"ID || EmployeeCode || coalesce(Remark, '')"_s),
                before);
        }
    }

    // Level 1 reads only; the refusal says so instead of finding no row.
    void viewerChangesNothing_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("insert") << insertE003;
        QTest::newRow("update") << u"UPDATE Kq_ExchangeClass SET Remark = 'x'"_s;
        QTest::newRow("delete") << u"DELETE FROM Kq_ExchangeClass WHERE ID = 1"_s;
        QTest::newRow("truncate") << u"TRUNCATE Kq_ExchangeClass"_s;
    }

    void viewerChangesNothing()
    {
        QFETCH(QString, sql);
        Fixture fixture(owner);
        QCOMPARE(failureOf([&] { fixture.desk(u"viewer"_s).execute(sql, {}); }),
                 DbFailure::NoPrivilege);
        QCOMPARE(ids(fixture.desk(u"admin"_s)), u"1 2 3 4 5"_s);
    }

    // Only the history's trigger writes it: no operator, not even its owner.
    void nobodyWritesTheHistory_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("sql");
        const QString forged =
            u"INSERT INTO Kq_ExchangeClassHistory (ChangedAt, ChangeKind, OperatorCode)"
            u" VALUES (LOCALTIMESTAMP, 'INSERT', 'viewer')"_s;
        for (const QString &role : {u"admin"_s, u"clerk"_s, u"viewer"_s, owner}) {
            QTest::addRow("%s inserts", qPrintable(role)) << role << forged;
            QTest::addRow("%s updates", qPrintable(role))
                << role << u"UPDATE Kq_ExchangeClassHistory SET OperatorCode = 'x'"_s;
            QTest::addRow("%s deletes", qPrintable(role))
                << role << u"DELETE FROM Kq_ExchangeClassHistory"_s;
            QTest::addRow("%s truncates", qPrintable(role))
                << role << u"TRUNCATE Kq_ExchangeClassHistory"_s;
        }
    }

    void nobodyWritesTheHistory()
    {
        QFETCH(QString, role);
        QFETCH(QString, sql);
        Fixture fixture(owner);
        Database &clerk = fixture.desk(u"clerk"_s);
        clerk.execute(u"UPDATE Kq_ExchangeClass SET Remark = 'x' WHERE ID = 4"_s, {});
        Database &db = role == owner ? fixture.db() : fixture.desk(role);
        QCOMPARE(failureOf([&] { db.execute(sql, {}); }), DbFailure::NoPrivilege);
        QCOMPARE(ids(fixture.desk(u"admin"_s), u"Kq_ExchangeClassHistory"_s,
                     u"ChangeKind || OperatorCode"_s),
                 u"UPDATEclerk"_s);
    }

    // The history names the login role; no setting of the session changes it,
    // and an operator reads the history of his departments only.
    void historyNamesTheSessionUser()
    {
        Fixture fixture(owner);
        Database &clerk = fixture.desk(u"clerk"_s);
        clerk.execute(u"SET talvex.operator = 'admin'; SET application_name = 'admin'"_s);
        clerk.execute(u"UPDATE Kq_ExchangeClass SET Remark = 'x' WHERE ID = 4"_s, {});
        fixture.desk(u"admin"_s).execute(u"DELETE FROM Kq_ExchangeClass WHERE ID = 1"_s, {});
        const QString column = u"coalesce(Old_ID, New_ID) || ChangeKind || OperatorCode"_s;
        QCOMPARE(ids(fixture.desk(u"admin"_s), u"Kq_ExchangeClassHistory"_s, column),
                 u"1DELETEadmin 4UPDATEclerk"_s);
        QCOMPARE(ids(clerk, u"Kq_ExchangeClassHistory"_s, column), u"4UPDATEclerk"_s);
        QCOMPARE(ids(fixture.db(), u"Kq_ExchangeClassHistory"_s, column), QString());
    }

    // One set of policies: a new operator with a department of his own needs
    // nothing but his rows in the tables and his login role.
    void newOperatorNeedsNoNewPolicy()
    {
        Fixture fixture(owner);
        Database &db = fixture.db();
        db.execute(u"INSERT INTO Sys_Operator VALUES (4, 'talvex_test_shop', '车间文员');"
                   u" INSERT INTO Sys_OperatorRight VALUES (4, '1001', 2);"
                   u" INSERT INTO Sys_OperatorDept VALUES (4, '0101')"_s);
        PgRoles::createOperatorRoles(db);
        Database &shop = fixture.desk(u"talvex_test_shop"_s);
        QCOMPARE(ids(shop), u"3"_s);
        QCOMPARE(failureOf([&] { shop.execute(insertE003, {}); }), DbFailure::NoPrivilege);
        QCOMPARE(shop.execute(u"DELETE FROM Kq_ExchangeClass"_s, {}), qint64(1));
    }

    // Every operator reads the whole of every table the register reads beside
    // the exchanges (departments, employees, plans, shifts, the rule tables,
    // the operators); none changes them, except the rules with level 2.
    void referenceTablesAreEveryOperators_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("changesRules");
        QTest::newRow("admin") << u"admin"_s << true;
        QTest::newRow("clerk") << u"clerk"_s << true;
        QTest::newRow("viewer") << u"viewer"_s << false;
    }

    void referenceTablesAreEveryOperators()
    {
        QFETCH(QString, role);
        QFETCH(bool, changesRules);
        Fixture fixture(owner);
        Database &desk = fixture.desk(role);
        for (const Schema::Table &table : Schema::tables()) {
            const QString name = table.name.toString();
            // The exchanges and their history have tests of their own.
            if (name == Schema::exchangeTable().name || name == Schema::exchangeHistoryTable().name)
                continue;
            const QString count = u"SELECT count(*) FROM "_s + name;
            QCOMPARE(desk.nativeValue(count), fixture.db().nativeValue(count));
            const QString column = table.columns.front().name.toString();
            for (const QString &change : QStringList{u"UPDATE %1 SET %2 = %2"_s.arg(name, column),
                                                     u"DELETE FROM "_s + name}) {
                desk.beginTrans();
                const std::optional<DbFailure> failure =
                    failureOf([&] { desk.execute(change, {}); });
                desk.rollbackTrans();
                const bool allowed = table.rulesData && changesRules;
                QVERIFY2(failure
                             == (allowed ? std::nullopt : std::optional(DbFailure::NoPrivilege)),
                         qPrintable(change));
            }
        }
    }

    // A database of layout 2 upgraded by its owner holds every role to its
    // rights as a new one does: the same privileges, policies and triggers,
    // and the operators meet them.
    void upgradedDatabaseHoldsTheRolesAsANewOne()
    {
        Fixture made(owner);
        Fixture upgraded(owner);
        Database &db = upgraded.db();
        makeLayout2(db);
        QVERIFY(rightsInCatalogue(db) != rightsInCatalogue(made.db()));
        QCOMPARE(Schema::check(db), Schema::State::Older);
        Schema::upgrade(db);
        QCOMPARE(Schema::check(db), Schema::State::Current);
        QCOMPARE(rightsInCatalogue(db), rightsInCatalogue(made.db()));

        Database &clerk = upgraded.desk(u"clerk"_s);
        QCOMPARE(ids(clerk), u"4 5"_s);
        QCOMPARE(ids(upgraded.desk(u"viewer"_s), u"Kq_RuleProfile"_s, u"ProfileName"_s),
                 u"EU PRC"_s);
        QCOMPARE(failureOf([&] { upgraded.desk(u"viewer"_s).execute(insertE003, {}); }),
                 DbFailure::NoPrivilege);
        clerk.execute(u"SET talvex.operator = 'admin'"_s);
        clerk.execute(u"UPDATE Kq_ExchangeClass SET Remark = 'x'"_s, {});
        QCOMPARE(ids(upgraded.desk(u"admin"_s), u"Kq_ExchangeClassHistory"_s,
                     u"New_ID || ChangeKind || OperatorCode"_s),
                 u"4UPDATEclerk 5UPDATEclerk"_s);
    }

    // A role the server has already is kept: roles belong to the whole server.
    void existingRolesAreKept()
    {
        Fixture first(owner);
        Fixture second(owner);
        QCOMPARE(PgRoles::createOperatorRoles(second.db()), QStringList());
        QCOMPARE(ids(second.desk(u"clerk"_s)), u"4 5"_s);
    }

    // The register is the operators': its owner is refused, and nobody works
    // under another operator's name than his login role.
    void registerIsForTheSignedInOperator_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("refusal"); // empty: the session opens
        QTest::newRow("owner") << owner << QString() << u"所有者"_s;
        QTest::newRow("owner naming an operator") << owner << u"admin"_s << u"所有者"_s;
        QTest::newRow("clerk as admin") << u"clerk"_s << u"admin"_s << u"--operator"_s;
        QTest::newRow("clerk") << u"clerk"_s << QString() << QString();
        QTest::newRow("clerk named") << u"clerk"_s << u"clerk"_s << QString();
    }

    void registerIsForTheSignedInOperator()
    {
        QFETCH(QString, role);
        QFETCH(QString, requested);
        QFETCH(QString, refusal);
        Fixture fixture(owner);
        QTemporaryDir dir;
        ErrorLog log(dir.filePath(u"talvex.log"_s));
        Database &db = role == owner ? fixture.db() : fixture.desk(role);
        QString refused;
        QString signedIn;
        try {
            const HostSession session(db, log, requested);
            signedIn = session.currentOperator()->OperatorCode;
        } catch (const Rt::Exception &e) {
            refused = e.message();
        }
        if (refusal.isEmpty()) {
            QCOMPARE(signedIn, role);
        } else {
            QVERIFY2(refused.contains(refusal), qPrintable(refused));
            QVERIFY2(refused.contains(role), qPrintable(refused));
        }
    }
};

QTEST_GUILESS_MAIN(PgRightsTest)
#include "tst_pgrights.moc"
