#include "ModuleStatements.h"
#include "RowsAsText.h"
#include "TestDatabase.h"

#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/Schema.h"
#include "hostapp/db/SchemaTables.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 12, 5);

int count(Database &db, const QString &sql)
{
    return db.nativeValue(sql).toInt();
}

// Every row of every table as text, with each table's fields and their types,
// in an order that depends on neither engine. The columns are those both
// engines have: SQLite keeps the operators' sign-in beside them.
QStringList dump(Database &db)
{
    QStringList lines;
    for (const Schema::Table &table : Schema::tables()) {
        QStringList columns;
        for (const Schema::Column &column : table.columns)
            columns.append(column.name.toString());
        QStringList rows =
            rowsAsText(db, u"SELECT %1 FROM %2"_s.arg(columns.join(u", "_s), table.name));
        std::sort(rows.begin() + 1, rows.end());
        lines << table.name.toString() << rows;
    }
    return lines;
}

QString nextSequenceValue(Database &db)
{
    return TestDatabase::backend() == DbBackend::Sqlite
               ? db.nativeValue(u"SELECT NextValue FROM Sys_Sequence WHERE SeqName = 'SEQ_OCID'"_s)
               : db.nativeValue(
                   u"SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END"
                   u" FROM seq_ocid"_s);
}

} // namespace

class DemoDataTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DemoData::create(m_db.db(), today); }

    // The same rows, field names, field types and text forms again, and on
    // either engine: the second demo is always an SQLite one.
    void sameDayGivesTheSameRows()
    {
        SqliteDatabase again(u":memory:"_s);
        DemoData::create(again, today);
        const QStringList first = dump(m_db.db());
        QVERIFY(first.size() > 10000);
        QCOMPARE(dump(again), first);
    }

    void databaseIsRecognisedAndNotFilledTwice()
    {
        QCOMPARE(Schema::check(m_db.db()), Schema::State::Current);
        QVERIFY_THROWS_EXCEPTION(DbError, DemoData::create(m_db.db(), today));
    }

    void departmentTree()
    {
        Database &db = m_db.db();
        // Codes nest by prefix and parents come first in ID order.
        QCOMPARE(count(db, u"SELECT count(*) FROM Sys_Dept c JOIN Sys_Dept p ON p.ID = c.ParentID"
                           u" WHERE substr(c.DeptCode, 1, length(p.DeptCode)) <> p.DeptCode"
                           u" OR p.ID >= c.ID"_s),
                 0);
        QCOMPARE(count(db, u"SELECT count(*) FROM Sys_Dept WHERE ParentID = -1"
                           u" AND length(DeptCode) > 2"_s),
                 0);
        QCOMPARE(db.nativeValue(u"SELECT DeptCode FROM Sys_Dept WHERE length(DeptCode) = 1"_s),
                 u"9"_s);
        QCOMPARE(db.nativeValue(u"SELECT DeptCode FROM Sys_Dept WHERE ParentID <> -1"
                                u" AND ParentID NOT IN (SELECT ID FROM Sys_Dept)"_s),
                 u"0409"_s);
        QVERIFY(count(db, u"SELECT count(*) FROM Sys_Dept WHERE length(DeptCode) = 6"_s) > 3);
    }

    void employees()
    {
        Database &db = m_db.db();
        QCOMPARE(count(db, u"SELECT count(*) FROM HR_Employee"_s), 300);
        QCOMPARE(count(db, u"SELECT count(DISTINCT WorkStatus) FROM HR_Employee"
                           u" WHERE WorkStatus BETWEEN 0 AND 4"_s),
                 5);
        QVERIFY(count(db, u"SELECT count(*) FROM HR_Employee WHERE DELETED = 1"_s) > 0);
        QVERIFY(count(db, u"SELECT count(*) FROM HR_Employee WHERE Birthday IS NULL"_s) > 0);
        QVERIFY(count(db, u"SELECT count(*) FROM HR_Employee WHERE PersonName LIKE '% %'"_s) > 0);
        QVERIFY(count(db, u"SELECT count(*) FROM HR_Employee"
                          u" WHERE substr(JobNumber, 1, 1) BETWEEN 'A' AND 'Z'"_s)
                > 0);
        const QRegularExpression initials(u"^[A-Z]+$"_s);
        for (const QString &pyCode : rowsAsText(db, u"SELECT PyCode FROM HR_Employee"_s).mid(1))
            QVERIFY2(initials.match(pyCode).hasMatch(), qPrintable(pyCode));
        QCOMPARE(count(db, u"SELECT count(*) FROM HR_Employee"
                           u" WHERE DeptCode NOT IN (SELECT DeptCode FROM Sys_Dept)"_s),
                 0);
        QCOMPARE(count(db, u"SELECT count(DISTINCT DeptCode) FROM HR_Employee"_s),
                 count(db, u"SELECT count(*) FROM Sys_Dept"_s));
    }

    void shiftsAndPlans()
    {
        Database &db = m_db.db();
        QCOMPARE(rowsAsText(db, u"SELECT count(*) FROM Kq_ClassDetail GROUP BY ClassID"
                                u" ORDER BY count(*)"_s)
                     .mid(1),
                 (QStringList{u"2"_s, u"3"_s, u"4"_s}));
        QVERIFY(count(db, u"SELECT count(*) FROM Kq_ClassDetail WHERE period2Beg <> '00:00'"_s)
                > 0);
        QVERIFY(count(db, u"SELECT count(DISTINCT employeecode) FROM Kq_WorkPlan"
                          u" WHERE ClassType = 3"_s)
                > 0);
        // Plans end on different days before today, so later days need projecting.
        QVERIFY(count(db, u"SELECT count(DISTINCT last) FROM (SELECT max(WorkDate) AS last"
                          u" FROM Kq_WorkPlan GROUP BY employeecode) AS lasts"_s)
                > 5);
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_WorkPlan WHERE WorkDate >= '2026-12-05'"
                           u" OR WorkDate < '2026-10-06'"_s),
                 0);
        // Rotating days carry the periods of their cycle position.
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_WorkPlan p JOIN Kq_ClassDetail d"
                           u" ON d.ClassID = p.ClassID AND d.SubClassNo = p.SubClassNo"
                           u" WHERE p.ClassType < 3 AND (p.period1Beg <> d.period1Beg"
                           u" OR p.period2end <> d.period2end)"_s),
                 0);
    }

    void exchanges()
    {
        Database &db = m_db.db();
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_ExchangeClass"
                           u" WHERE ExchgDate > '2026-11-05'"_s),
                 200);
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_ExchangeClass"_s), 210);
        QVERIFY(count(db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 0"_s) > 40);
        QVERIFY(count(db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 1"_s) > 40);
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 0"
                           u" AND (WorkTime <> 0 OR WorkFlag <> 0 OR period1Beg <> '00:00'"
                           u" OR period2End <> '00:00')"_s),
                 0);
        const auto minutes = [](const QString &time) {
            return u"(CAST(substr(%1, 1, 2) AS integer) * 60 + CAST(substr(%1, 4, 2) AS integer))"_s
                .arg(time);
        };
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 1"
                           u" AND (WorkFlag <> 1 OR WorkTime <> %1 - %2 + %3 - %4)"_s.arg(
                               minutes(u"period1End"_s), minutes(u"period1Beg"_s),
                               minutes(u"period2End"_s), minutes(u"period2Beg"_s))),
                 0);
        QCOMPARE(nextSequenceValue(db), u"211"_s);
        // Rows loaded in bulk are not changes of anyone's.
        QCOMPARE(count(db, u"SELECT count(*) FROM Kq_ExchangeClassHistory"_s), 0);
    }

    void operators()
    {
        Database &db = m_db.db();
        const QString admin = QString::number(DemoData::administratorId);
        const QString clerk = QString::number(DemoData::clerkId);
        const QString viewer = QString::number(DemoData::viewerId);
        const QString right = DemoData::rightCode.toString();
        QCOMPARE(OperatorRights::rightLevel(db, admin, right), 2);
        QCOMPARE(OperatorRights::rightLevel(db, clerk, right), 2);
        QCOMPARE(OperatorRights::rightLevel(db, viewer, right), 1);
        QCOMPARE(OperatorRights::deptScope(db, admin).count(u','),
                 count(db, u"SELECT count(*) FROM Sys_Dept"_s) - 1);
        QCOMPARE(OperatorRights::deptScope(db, clerk),
                 u"('02','0201','020101','020102','0202','020201')"_s);
    }

    // The statements of the module find their rows through indexes: no table
    // is read whole except the employees by the picker's infix search. On a
    // database this small PostgreSQL would rather read tables whole; told not
    // to, it still does where no index serves.
    void moduleStatementsUseIndexes_data()
    {
        QTest::addColumn<QString>("sql");
        const QString scope = u"('01','0101','02')"_s;
        const QString begin = u"2026-11-05"_s;
        const QString end = u"2026-12-05"_s;
        QTest::newRow("list search") << ExchangeQueries::search({begin, end, u"-1"_s, {}}, scope);
        QTest::newRow("department list")
            << ExchangeQueries::byDepartment(u"0101"_s, begin, end, scope);
        QTest::newRow("duplicate count")
            << EditorStatements::duplicateCount(u"000007"_s, u"2026-12-01"_s, u"5"_s);
        QTest::newRow("plan count") << EditorStatements::planCount(u"000007"_s, u"2026-12-01"_s);
        QTest::newRow("last planned day")
            << EditorStatements::lastPlannedDay(u"000007"_s, u"2026-12-01"_s);
        QTest::newRow("cycle day") << EditorStatements::cycleDay(u"BC4"_s, 3);
        QTest::newRow("load exchange") << EditorStatements::loadExchange(u"12"_s);
        QTest::newRow("employee names") << ExchangeQueries::employeeNames(scope);
    }

    void moduleStatementsUseIndexes()
    {
        QFETCH(QString, sql);
        Database &db = m_db.db();
        const bool sqlite = db.backend() == DbBackend::Sqlite;
        if (!sqlite)
            db.execute(u"SET enable_seqscan = off"_s);
        const QStringList plan = db.queryPlan(sql);
        if (!sqlite)
            db.execute(u"RESET enable_seqscan"_s);
        // No plan at all would pass every check below.
        QVERIFY2(!plan.isEmpty(), qPrintable(sql));
        for (const QString &line : plan) {
            const bool wholeTable = sqlite
                                        ? line.startsWith(u"SCAN "_s) && !line.contains(u"INDEX"_s)
                                        : line.contains(u"Seq Scan"_s);
            QVERIFY2(!wholeTable, qPrintable(plan.join(u"; "_s)));
        }
    }

    // Counts of the largest scale fit; a scale beyond it, whose counts would not,
    // is refused rather than wrapped around.
    void scaledProfilesStayInRange()
    {
        const DemoProfile largest = DemoProfile::scaled(DemoProfile::maxScale);
        QCOMPARE(largest.employees, 2'000'000);
        QCOMPARE(largest.recentExchanges, 100'000'000);
        QCOMPARE(DemoProfile::scaled(0.05).employees, 1'000);
        for (const double scale : {0.0, -1.0, 101.0, 3000.0, 1e12})
            QVERIFY_THROWS_EXCEPTION(Rt::Exception, DemoProfile::scaled(scale));
    }

private:
    TestDatabase m_db;
};

QTEST_GUILESS_MAIN(DemoDataTest)
#include "tst_demodata.moc"
