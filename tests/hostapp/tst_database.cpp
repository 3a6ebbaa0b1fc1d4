#include "Failures.h"
#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/Schema.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/model/ShareObj.h"
#include "talvex/model/Sys_Dept.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString adminScope = Fixture::adminScope();

} // namespace

class DatabaseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The rows of each statement are checked where the module runs it, on both
    // engines (the editor, list, picker tests); here what they do not reach: a
    // one-day range holds its day, a value query without a row reads empty.
    void rangesAndEmptyValues()
    {
        Fixture fixture;
        const QString day = u"2026-12-03"_s;
        std::unique_ptr<TDataSet> rows(
            fixture.db().openQuery(ExchangeQueries::search({day, day, u"-1"_s, {}}, adminScope)));
        QCOMPARE(rows->recordCount(), 1);
        QCOMPARE(rows->fieldByName(u"ExchgDate"_s).asString(), day);
        QCOMPARE(
            fixture.db().queryValue(u"select ExchgeReason from Kq_ExchangeClass where ID=99"_s),
            QString());
    }

    // What the table refuses, refused clearly: a day the employee has already,
    // and no employee at all (the editor does not insist on one); alike for the
    // module's statements and the host's own.
    void refusedWritesFailClearly_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("hostStatement");
        QTest::addColumn<QString>("message");
        QTest::newRow("insert on a taken day")
            << EditorStatements::insertExchange(exchange(u"E001"_s, u"2026-12-03"_s)) << false
            << u"This employee already has a shift exchange on that day"_s;
        QTest::newRow("move to a taken day")
            << EditorStatements::updateExchange(u"1"_s, exchange(u"E001"_s, u"2026-12-03"_s))
            << false << u"This employee already has a shift exchange on that day"_s;
        QTest::newRow("no employee")
            << EditorStatements::insertExchange(exchange(QString(), u"2026-12-03"_s)) << false
            << u"No employee is chosen"_s;
        QTest::newRow("the host's insert on a taken day")
            << u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate)"
               u" VALUES (99, 'E001', '2026-12-03')"_s
            << true << u"This employee already has a shift exchange on that day"_s;
        QTest::newRow("the host's insert without an employee")
            << u"INSERT INTO Kq_ExchangeClass (ID, ExchgDate) VALUES (99, '2026-12-03')"_s << true
            << u"No employee is chosen"_s;
    }

    void refusedWritesFailClearly()
    {
        QFETCH(QString, sql);
        QFETCH(bool, hostStatement);
        QFETCH(QString, message);
        Fixture fixture;
        Database &db = fixture.db();
        const auto run = [&] { hostStatement ? db.execute(sql, {}) : db.execSql(sql); };
        const QString error = errorOf(run);
        QVERIFY2(error.contains(message), qPrintable(error));
        if (message.startsWith(u"This employee"_s))
            QCOMPARE(failureOf(run), DbFailure::UniqueDayTaken);
        QCOMPARE(db.queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"5"_s);
        QCOMPARE(db.queryValue(u"select ExchgDate from Kq_ExchangeClass where ID=1"_s),
                 u"2026-11-20"_s);
        // The refused statement is undone whole, the history entry it made too.
        QCOMPARE(db.queryValue(u"select count(1) from Kq_ExchangeClassHistory"_s), u"0"_s);
        QVERIFY(!db.inTransaction());
    }

    // As in Oracle, a failing statement is undone alone; the transaction goes on.
    void failedStatementKeepsEarlierWorkOfItsTransaction()
    {
        Fixture fixture;
        Database &db = fixture.db();
        db.beginTrans();
        QVERIFY(db.execSql(EditorStatements::insertExchange(exchange(u"E003"_s, u"2026-12-01"_s))));
        QVERIFY(!errorOf([&] {
                     db.execSql(
                         EditorStatements::insertExchange(exchange(u"E003"_s, u"2026-12-01"_s)));
                 }).isEmpty());
        QVERIFY(db.inTransaction());
        db.commitTrans();
        QCOMPARE(
            db.queryValue(u"select count(1) from Kq_ExchangeClass where EmployeeCode='E003'"_s),
            u"2"_s);
    }

    void otherFailuresNameTheColumnAndTheStatement()
    {
        Fixture fixture;
        const auto unknownColumn = [&] {
            fixture.db().openQuery(u"select nosuch from Kq_ExchangeClass"_s);
        };
        const QString message = errorOf(unknownColumn);
        QVERIFY2(message.contains(u"nosuch"_s), qPrintable(message));
        QVERIFY2(message.contains(u"select nosuch from Kq_ExchangeClass"_s), qPrintable(message));
        QCOMPARE(failureOf(unknownColumn), DbFailure::Statement);
        QVERIFY(errorOf([&] {
                    fixture.db().openQuery(ExchangeQueries::deleteExchange(u"1"_s));
                }).startsWith(u"Not a query"_s));
        QVERIFY(errorOf([&] { fixture.db().commitTrans(); }).contains(u"no transaction"_s));
    }

    void fieldTypesFollowTheColumns()
    {
        Fixture fixture;
        std::unique_ptr<TDataSet> rows(
            fixture.db().openQuery(EditorStatements::loadExchange(u"2"_s)));
        const TField date = rows->fieldByName(u"exchgdate"_s);
        QCOMPARE(date.dataType(), TFieldType::DateTime);
        QCOMPARE(date.asString(), u"2026-12-03"_s);
        QCOMPARE(date.asDateTime(), Rt::DateTime::fromDate(QDate(2026, 12, 3)));
        QCOMPARE(rows->fieldByName(u"CREATE_TIME"_s).asString(), u"2026-12-01 10:00:00"_s);
        QCOMPARE(rows->fieldByName(u"WorkTime"_s).dataType(), TFieldType::Integer);
        QCOMPARE(rows->fieldByName(u"period1Beg"_s).dataType(), TFieldType::String);
        QVERIFY(rows->fieldByName(u"period3Beg"_s).isNull());

        // Expressions take the type of their first value.
        std::unique_ptr<TDataSet> values(fixture.db().openQuery(
            u"select count(1) as n, Max(WorkDate) as last, Max(ClassType) as top"
            u" from Kq_WorkPlan where employeecode='none'"_s));
        QCOMPARE(values->fieldByName(u"n"_s).dataType(), TFieldType::Integer);
        QCOMPARE(values->fieldByName(u"last"_s).dataType(), TFieldType::String);
        QVERIFY(values->fieldByName(u"top"_s).isNull());
    }

    // Objects in row order, found by ID, each property from its column in its
    // own type, NULL empty.
    void objectsFollowTheRows()
    {
        Fixture fixture;
        std::unique_ptr<TObjectHashedList> list(fixture.db().queryObjectList(
            TSys_Dept::staticMetaObject, ExchangeQueries::departments(adminScope)));
        QStringList order;
        for (int i = 0; i < list->count(); ++i)
            order.append(list->key(i));
        QCOMPARE(order, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
        const auto *workshop = static_cast<TSys_Dept *>(list->FindObject(u"2"_s));
        QCOMPARE(workshop->ParentID, u"1"_s);
        QCOMPARE(workshop->DeptName, u"一车间"_s);
        QCOMPARE(workshop->Sort, 2);
        QVERIFY(list->objectAt<TSys_Dept>(5)->TelNo.isEmpty());

        std::unique_ptr<TObjectHashedList> employees(fixture.db().queryObjectList(
            THR_Employee::staticMetaObject,
            u"select * from HR_Employee where EmployeeCode in ('E001','E002') order by ID"_s));
        const auto *wang = employees->objectAt<THR_Employee>(0);
        QCOMPARE(wang->Birthday, Rt::DateTime::fromDate(QDate(1990, 5, 17)));
        QCOMPARE(wang->Age, 36);
        QCOMPARE(wang->JobNumber, u"10001"_s);
        const auto *ouyang = employees->objectAt<THR_Employee>(1);
        QCOMPARE(ouyang->Birthday, 0.0);
        QCOMPARE(ouyang->Age, 0);
        QCOMPARE(ouyang->WorkStatus, 4);
        QCOMPARE(ouyang->PersonName, u"欧阳 雪"_s);
    }

    void operatorsSeeTheirScope()
    {
        Fixture fixture;
        Database &db = fixture.db();
        db.execute(u"INSERT INTO Sys_OperatorDept VALUES (2, 'x''y')"_s);
        QCOMPARE(OperatorRights::deptScope(db, u"2"_s), u"('02','0201','x''y')"_s);
        QCOMPARE(OperatorRights::deptScope(db, u"7"_s), u"('')"_s);
        // Without departments the scope is still a list, one that matches nothing.
        QCOMPARE(db.queryValue(u"select count(1) from HR_Employee where DeptCode in "_s
                               + OperatorRights::deptScope(db, u"7"_s)),
                 u"0"_s);
        QCOMPARE(OperatorRights::rightLevel(db, u"2"_s, u"1001"_s), 2);
        QCOMPARE(OperatorRights::rightLevel(db, u"2"_s, u"1002"_s), 0);
    }

    // Another desk holding a row too long: the save fails as Busy after the
    // wait, and works once the other desk is done.
    void aLockHeldTooLongFailsAsBusy()
    {
        Fixture fixture;
        const std::unique_ptr<Database> other = fixture.connect();
        const QString update =
            EditorStatements::updateExchange(u"1"_s, exchange(u"E001"_s, u"2026-11-21"_s));
        other->beginTrans();
        QVERIFY(other->execSql(update));
        QCOMPARE(failureOf([&] { fixture.db().execSql(update); }), DbFailure::Busy);
        other->rollbackTrans();
        QVERIFY(fixture.db().execSql(update));
    }

    // Two hosts on one database: a reader is not blocked by another's open write.
    void secondConnectionReadsDuringAnotherWrite()
    {
        Fixture fixture;
        const std::unique_ptr<Database> other = fixture.connect();
        fixture.db().beginTrans();
        QVERIFY(fixture.db().execSql(ExchangeQueries::deleteExchange(u"1"_s)));
        QCOMPARE(other->queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"5"_s);
        fixture.db().commitTrans();
        QCOMPARE(other->queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"4"_s);
    }

    void schemaRecognisesItsDatabases()
    {
        TestDatabase fresh;
        QCOMPARE(Schema::check(fresh.db()), Schema::State::Empty);
        fresh.db().execute(u"CREATE TABLE other (a integer)"_s);
        QVERIFY(errorOf([&] { Schema::check(fresh.db()); }).contains(u"not a Talvex database"_s));
        // A server's database is no file: the operator is told so in other words.
        QCOMPARE(failureOf([&] { Schema::check(fresh.db()); }),
                 TestDatabase::backend() == DbBackend::Sqlite ? DbFailure::NotADatabase
                                                              : DbFailure::ForeignTables);
    }
};

QTEST_GUILESS_MAIN(DatabaseTest)
#include "tst_database.moc"
