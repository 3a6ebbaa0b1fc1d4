#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/Schema.h"
#include "runtime/exceptions.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate today(2026, 12, 5);

QString value(Database &db, const QString &sql)
{
    return db.nativeValue(sql);
}

int count(Database &db, const QString &sql)
{
    return db.nativeValue(sql).toInt();
}

// Every row of every table, as text.
QStringList dump(Database &db)
{
    QStringList lines;
    SqliteStatement tables = db.prepare(
        u"SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'"
        u" ORDER BY name"_s);
    while (tables.step()) {
        SqliteStatement rows = db.prepare(u"SELECT * FROM "_s + tables.columnText(0));
        while (rows.step()) {
            QStringList fields{tables.columnText(0)};
            for (int c = 0; c < rows.columnCount(); ++c)
                fields.append(rows.columnText(c));
            lines.append(fields.join(u'|'));
        }
    }
    return lines;
}

} // namespace

class DemoDataTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DemoData::create(m_db, today); }

    void sameDayGivesTheSameRows()
    {
        Database again(u":memory:"_s);
        DemoData::create(again, today);
        const QStringList first = dump(m_db);
        QVERIFY(first.size() > 10000);
        QCOMPARE(dump(again), first);
    }

    void fileIsRecognisedAndNotFilledTwice()
    {
        QCOMPARE(Schema::check(m_db), Schema::State::Current);
        QVERIFY_THROWS_EXCEPTION(Rt::DatabaseError, DemoData::create(m_db, today));
    }

    void departmentTree()
    {
        // Codes nest by prefix and parents come first in ID order.
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Sys_Dept c JOIN Sys_Dept p ON p.ID = c.ParentID"
                             u" WHERE substr(c.DeptCode, 1, length(p.DeptCode)) <> p.DeptCode"
                             u" OR p.ID >= c.ID"_s),
                 0);
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Sys_Dept WHERE ParentID = -1"
                             u" AND length(DeptCode) > 2"_s),
                 0);
        QCOMPARE(value(m_db, u"SELECT DeptCode FROM Sys_Dept WHERE length(DeptCode) = 1"_s),
                 u"9"_s);
        QCOMPARE(value(m_db, u"SELECT DeptCode FROM Sys_Dept WHERE ParentID <> -1"
                             u" AND ParentID NOT IN (SELECT ID FROM Sys_Dept)"_s),
                 u"0409"_s);
        QVERIFY(count(m_db, u"SELECT count(*) FROM Sys_Dept WHERE length(DeptCode) = 6"_s) > 3);
    }

    void employees()
    {
        QCOMPARE(count(m_db, u"SELECT count(*) FROM HR_Employee"_s), 300);
        QCOMPARE(count(m_db, u"SELECT count(DISTINCT WorkStatus) FROM HR_Employee"
                             u" WHERE WorkStatus BETWEEN 0 AND 4"_s),
                 5);
        QVERIFY(count(m_db, u"SELECT count(*) FROM HR_Employee WHERE DELETED = 1"_s) > 0);
        QVERIFY(count(m_db, u"SELECT count(*) FROM HR_Employee WHERE Birthday IS NULL"_s) > 0);
        QVERIFY(count(m_db, u"SELECT count(*) FROM HR_Employee WHERE PersonName LIKE '% %'"_s) > 0);
        QVERIFY(count(m_db, u"SELECT count(*) FROM HR_Employee WHERE JobNumber GLOB '[A-Z]*'"_s) >
                0);
        QCOMPARE(count(m_db, u"SELECT count(*) FROM HR_Employee WHERE PyCode GLOB '*[^A-Z]*'"
                             u" OR DeptCode NOT IN (SELECT DeptCode FROM Sys_Dept)"_s),
                 0);
        QCOMPARE(count(m_db, u"SELECT count(DISTINCT DeptCode) FROM HR_Employee"_s),
                 count(m_db, u"SELECT count(*) FROM Sys_Dept"_s));
    }

    void shiftsAndPlans()
    {
        QCOMPARE(value(m_db,
                       u"SELECT group_concat(n) FROM (SELECT count(*) AS n FROM Kq_ClassDetail"
                       u" GROUP BY ClassID ORDER BY n)"_s),
                 u"2,3,4"_s);
        QVERIFY(count(m_db, u"SELECT count(*) FROM Kq_ClassDetail WHERE period2Beg <> '00:00'"_s) >
                0);
        QVERIFY(count(m_db, u"SELECT count(DISTINCT employeecode) FROM Kq_WorkPlan"
                            u" WHERE ClassType = 3"_s) > 0);
        // Plans end on different days before today, so later days need projecting.
        QVERIFY(count(m_db, u"SELECT count(DISTINCT last) FROM (SELECT max(WorkDate) AS last"
                            u" FROM Kq_WorkPlan GROUP BY employeecode)"_s) > 5);
        QCOMPARE(value(m_db,
                       u"SELECT max(WorkDate) < '2026-12-05' AND min(WorkDate) >= '2026-10-06'"
                       u" FROM Kq_WorkPlan"_s),
                 u"1"_s);
        // Rotating days carry the periods of their cycle position.
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Kq_WorkPlan p JOIN Kq_ClassDetail d"
                             u" ON d.ClassID = p.ClassID AND d.SubClassNo = p.SubClassNo"
                             u" WHERE p.ClassType < 3 AND (p.period1Beg <> d.period1Beg"
                             u" OR p.period2end <> d.period2end)"_s),
                 0);
    }

    void exchanges()
    {
        const int recent = count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass"
                                       u" WHERE ExchgDate > '2026-11-05'"_s);
        QCOMPARE(recent, 200);
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass"_s), 210);
        QVERIFY(count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 0"_s) > 40);
        QVERIFY(count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 1"_s) > 40);
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 0"
                             u" AND (WorkTime <> 0 OR WorkFlag <> 0 OR period1Beg <> '00:00'"
                             u" OR period2End <> '00:00')"_s),
                 0);
        QCOMPARE(count(m_db, u"SELECT count(*) FROM Kq_ExchangeClass WHERE ExchgType = 1"
                             u" AND (WorkFlag <> 1 OR WorkTime <>"
                             u" (substr(period1End,1,2) - substr(period1Beg,1,2)) * 60"
                             u" + substr(period1End,4,2) - substr(period1Beg,4,2)"
                             u" + (substr(period2End,1,2) - substr(period2Beg,1,2)) * 60"
                             u" + substr(period2End,4,2) - substr(period2Beg,4,2))"_s),
                 0);
        QCOMPARE(value(m_db, u"SELECT NextValue FROM Sys_Sequence WHERE SeqName = 'SEQ_OCID'"_s),
                 u"211"_s);
    }

    void operators()
    {
        const QString admin = QString::number(DemoData::administratorId);
        const QString clerk = QString::number(DemoData::clerkId);
        const QString viewer = QString::number(DemoData::viewerId);
        const QString right = DemoData::rightCode.toString();
        QCOMPARE(OperatorRights::rightLevel(m_db, admin, right), 2);
        QCOMPARE(OperatorRights::rightLevel(m_db, clerk, right), 2);
        QCOMPARE(OperatorRights::rightLevel(m_db, viewer, right), 1);
        QCOMPARE(OperatorRights::deptScope(m_db, admin).count(u','),
                 count(m_db, u"SELECT count(*) FROM Sys_Dept"_s) - 1);
        QCOMPARE(OperatorRights::deptScope(m_db, clerk),
                 u"('02','0201','020101','020102','0202','020201')"_s);
    }

    // The statements of the module find their rows through indexes: no table
    // is read whole except the employees by the picker's infix search.
    void moduleStatementsUseIndexes_data()
    {
        QTest::addColumn<QString>("sql");
        const QString scope = u"('01','0101','02')"_s;
        QTest::newRow("list search")
            << u" select a.* from Kq_ExchangeClass a,hr_employee e  where  a.employeecode=e.employeecode  and a.ExchgDate >= to_date('2026-11-05','yyyy-mm-dd')   and a.ExchgDate <= to_date('2026-12-05','yyyy-mm-dd') and e.DeptCode in "_s +
                   scope + u" order by a.EmployeeCode , a.ExchgDate  "_s;
        QTest::newRow("department list")
            << u" select a.* from Kq_ExchangeClass a,HR_Employee b    where a.EmployeeCode=b.EmployeeCode   and substr(b.DeptCode,1,4 ) ='0101' and b.DeptCode in "_s +
                   scope +
                   u" and a.ExchgDate >= to_date('2026-11-05','yyyy-mm-dd')   and a.ExchgDate <= to_date('2026-12-05','yyyy-mm-dd') order by a.EmployeeCode , a.ExchgDate "_s;
        QTest::newRow("duplicate count")
            << u"select count(1) from Kq_ExchangeClass  where employeecode='000007' and ExchgDate = to_date('2026-12-01','yyyy-mm-dd') and ID<>5"_s;
        QTest::newRow("plan count")
            << u" select count(1)\u3000from Kq_WorkPlan where employeecode='000007' and WorkDate<=to_date('2026-12-01','yyyy-mm-dd')"_s;
        QTest::newRow("last planned day")
            << u" select *\u3000from Kq_WorkPlan   where  WorkDate=( select Max(WorkDate) from Kq_WorkPlan where  employeecode='000007' and WorkDate<=to_date('2026-12-01','yyyy-mm-dd') )  and employeecode='000007'"_s;
        QTest::newRow("cycle day")
            << u"select * from Kq_ClassDetail where ClassID='BC4' and SubClassNo=3"_s;
        QTest::newRow("load exchange")
            << u"select a.*,b.personname from Kq_ExchangeClass a,hr_employee b where a.employeecode=b.employeecode and a.ID=12 "_s;
        QTest::newRow("employee names")
            << u" select EmployeeCode,PersonName from HR_Employee    where  DeptCode in "_s + scope;
    }

    void moduleStatementsUseIndexes()
    {
        QFETCH(QString, sql);
        const QStringList plan = m_db.queryPlan(sql);
        for (const QString &line : plan) {
            const bool wholeTable = line.startsWith(u"SCAN "_s) && !line.contains(u"INDEX"_s);
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
    Database m_db{u":memory:"_s};
};

QTEST_GUILESS_MAIN(DemoDataTest)
#include "tst_demodata.moc"
