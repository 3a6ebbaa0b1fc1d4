#include "talvex/work/ExchangeQueries.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The list's statements, character for character: the host runs them as they stand.
class ExchangeQueriesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void search_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString head =
            u" select a.* from Kq_ExchangeClass a,hr_employee e  where  "
            u"a.employeecode=e.employeecode "
            " and a.ExchgDate >= to_date('2026-11-05','yyyy-mm-dd')   and a.ExchgDate <= "
            "to_date('2026-12-05','yyyy-mm-dd') and e.DeptCode in ('01','02')"_s;
        const QString order = u" order by a.EmployeeCode , a.ExchgDate  "_s;
        QTest::newRow("all types, no text") << u"-1"_s << QString() << head + order;
        QTest::newRow("blanks only") << u"-1"_s << u"   "_s << head + order;
        QTest::newRow("rest days")
            << u"0"_s << QString() << head + u" and a.ExchgType = 0"_s + order;
        QTest::newRow("lower case with inner blank, changed times")
            << u"1"_s << u"ou yang"_s
            << head
                   + u" and (upper(e.jobnumber) like '%OU YANG%'  or "
                     "upper(REGEXP_REPLACE(Trim(e.personName),' ','')) like '%OU YANG%' )"
                     " and a.ExchgType = 1"_s
                   + order;
    }

    void search()
    {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        ExchangeQueries::SearchFilter filter{u"2026-11-05"_s, u"2026-12-05"_s, type, text};
        QCOMPARE(ExchangeQueries::search(filter, u"('01','02')"_s), expected);
    }

    void statements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        const QString department =
            u" select a.* from Kq_ExchangeClass a,HR_Employee b    where "
            "a.EmployeeCode=b.EmployeeCode   and substr(b.DeptCode,1,4 ) ='0101' and "
            "b.DeptCode in ('01') and a.ExchgDate >= to_date('2026-11-05','yyyy-mm-dd')   "
            "and a.ExchgDate <= to_date('2026-12-05','yyyy-mm-dd') order by a.EmployeeCode "
            ", a.ExchgDate "_s;
        QTest::newRow("department") << ExchangeQueries::byDepartment(u"0101"_s, u"2026-11-05"_s,
                                                                     u"2026-12-05"_s, u"('01')"_s)
                                    << department;
        QTest::newRow("department, the code's length is the prefix's")
            << ExchangeQueries::byDepartment(u"9"_s, u"2026-11-05"_s, u"2026-12-05"_s, u"('01')"_s)
            << QString(department).replace(u"1,4 ) ='0101'"_s, u"1,1 ) ='9'"_s);
        QTest::newRow("default list")
            << ExchangeQueries::defaultList(u"2026-11-05"_s, u"2026-12-05"_s, u"('01')"_s)
            << u" select a.* from Kq_ExchangeClass a,hr_employee e  where "
               "a.employeecode=e.employeecode and e.DeptCode in ('01') and a.ExchgDate >= "
               "to_date('2026-11-05','yyyy-mm-dd')   and a.ExchgDate <= "
               "to_date('2026-12-05','yyyy-mm-dd')"_s;
        QTest::newRow("departments")
            << ExchangeQueries::departments(u"('01')"_s)
            << u" select * from sys_dept  where DeptCode in ('01') order by ID"_s;
        QTest::newRow("employee names")
            << ExchangeQueries::employeeNames(u"('01')"_s)
            << u" select EmployeeCode,PersonName from HR_Employee    where  DeptCode in ('01')"_s;
        // One line, the ID between quotes; a quote in it cannot end the literal.
        QTest::newRow("delete") << ExchangeQueries::deleteExchange(u"6"_s)
                                << u"  begin    delete Kq_ExchangeClass where ID='6';  end; "_s;
        QTest::newRow("delete, quote")
            << ExchangeQueries::deleteExchange(u"6' or '1'='1"_s)
            << u"  begin    delete Kq_ExchangeClass where ID='6'' or ''1''=''1';  end; "_s;
    }

    void statements()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(sql, expected);
    }
};

QTEST_GUILESS_MAIN(ExchangeQueriesTest)
#include "tst_exchangequeries.moc"
