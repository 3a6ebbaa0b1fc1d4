#include "talvex/editor/EditorStatements.h"

#include <QTest>

using namespace Qt::StringLiterals;
using EditorStatements::Entry;

// The editor's statements character for character, since the host runs them as
// they stand, and the rules that need no database.
class EditorStatementsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void statements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("departments")
            << EditorStatements::departments() << u" select DeptCode,DeptName from sys_dept "_s;
        QTest::newRow("stored exchange")
            << EditorStatements::loadExchange(u"12"_s)
            << u"select a.*,b.personname from Kq_ExchangeClass a,hr_employee b where "
               "a.employeecode=b.employeecode and a.ID=12 "_s;
        QTest::newRow("plan count, ideographic space after count(1)")
            << EditorStatements::planCount(u"E001"_s, u"2026-12-05"_s)
            << u" select count(1)\u3000from Kq_WorkPlan where employeecode='E001' and "
               "WorkDate<=to_date('2026-12-05','yyyy-mm-dd')"_s;
        QTest::newRow("last planned day, ideographic space after *")
            << EditorStatements::lastPlannedDay(u"E001"_s, u"2026-12-05"_s)
            << u" select *\u3000from Kq_WorkPlan   where  WorkDate=( select Max(WorkDate) from "
               "Kq_WorkPlan where  employeecode='E001' and "
               "WorkDate<=to_date('2026-12-05','yyyy-mm-dd') )  and employeecode='E001'"_s;
        QTest::newRow("cycle length")
            << EditorStatements::cycleLength(u"BC4"_s)
            << u"select count(*) from Kq_ClassDetail where ClassID='BC4'"_s;
        QTest::newRow("cycle day")
            << EditorStatements::cycleDay(u"BC4"_s, 3)
            << u"select * from Kq_ClassDetail where ClassID='BC4' and SubClassNo=3"_s;
        QTest::newRow("same day, new exchange")
            << EditorStatements::duplicateCount(u"E001"_s, u"2026-12-03"_s, QString())
            << u"select count(1) from Kq_ExchangeClass  where employeecode='E001' and ExchgDate "
               "= to_date('2026-12-03','yyyy-mm-dd')"_s;
        QTest::newRow("same day, the changed exchange left out")
            << EditorStatements::duplicateCount(u"E001"_s, u"2026-12-03"_s, u"2"_s)
            << u"select count(1) from Kq_ExchangeClass  where employeecode='E001' and ExchgDate "
               "= to_date('2026-12-03','yyyy-mm-dd') and ID<>2"_s;
        QTest::newRow("a quote in a code stays inside its literal")
            << EditorStatements::cycleLength(u"B'C"_s)
            << u"select count(*) from Kq_ClassDetail where ClassID='B''C'"_s;
        const Entry entry{u"E001"_s,  u"2026-12-02"_s, u"08:00"_s, u"12:00"_s, u"13:00"_s,
                          u"17:30"_s, u"510"_s,        u"培训"_s,  u"备注"_s,  u"admin"_s};
        QTest::newRow("insert")
            << EditorStatements::insertExchange(entry)
            << u"  begin  insert into Kq_ExchangeClass  ( ID, EmployeeCode , ExchgDate,  "
               "period1Beg   , period1End ,  period2Beg ,  period2End ,  SubClassType ,  WorkTime "
               ", WorkFlag , ExchgType, ExchgeReason, OptorCode, Remark ,  CREATE_TIME   )values "
               "( SEQ_OCID.nextval,  'E001', to_date('2026-12-02','yyyy-mm-dd'), '08:00', "
               "'12:00', '13:00', '17:30', 0 ,510, 1, 1,'培训','admin' , '备注', sysdate );   "
               "end; "_s;
        QTest::newRow("update")
            << EditorStatements::updateExchange(u"7"_s, entry)
            << u" Update Kq_ExchangeClass  set period1Beg ='08:00',period1end "
               "='12:00',period2Beg ='13:00',period2end ='17:30',ExchgDate=  "
               "to_date('2026-12-02','yyyy-mm-dd'),ExchgeReason='培训',worktime=510,workFlag=1,"
               "ExchgType=1, Remark='备注', OptorCode= 'admin' , modified_time = sysdate Where "
               "ID=7"_s;
    }

    void statements()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(sql, expected);
    }

    // "0" minutes alone make a rest day, negative ones are a work day too.
    void workFlags_data()
    {
        QTest::addColumn<QString>("workTime");
        QTest::addColumn<QString>("flag");
        QTest::newRow("rest day") << u"0"_s << u"0"_s;
        QTest::newRow("negative work time") << u"-960"_s << u"1"_s;
    }

    void workFlags()
    {
        QFETCH(QString, workTime);
        QFETCH(QString, flag);
        const Entry entry{u"E001"_s,  u"2026-12-02"_s, u"08:00"_s, u"12:00"_s, u"13:00"_s,
                          u"17:30"_s, workTime,        u"x"_s,     u"备注"_s,  u"admin"_s};
        const QString insert = EditorStatements::insertExchange(entry);
        const QString update = EditorStatements::updateExchange(u"7"_s, entry);
        QVERIFY2(insert.contains(u" 0 ,%1, %2, %2,'x'"_s.arg(workTime, flag)), qPrintable(insert));
        QVERIFY2(update.contains(u"worktime=%1,workFlag=%2,ExchgType=%2,"_s.arg(workTime, flag)),
                 qPrintable(update));
    }

    void recordIds_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("number") << u"1024"_s << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("quote") << u"1'"_s << false;
        QTest::newRow("negative") << u"-1"_s << false;
        QTest::newRow("full-width digits") << u"１２"_s << false;
    }

    void recordIds()
    {
        QFETCH(QString, id);
        QFETCH(bool, accepted);
        QCOMPARE(EditorStatements::isRecordId(id), accepted);
    }
};

QTEST_APPLESS_MAIN(EditorStatementsTest)
#include "tst_editorstatements.moc"
