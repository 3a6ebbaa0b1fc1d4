#include "EditorStatements.h"

#include "talvex/model/SqlText.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using SqlText::escaped;

namespace EditorStatements {

namespace {

// WorkFlag and ExchgType alike: 0 for a rest day, 1 otherwise.
QString dayFlag(const Entry &entry)
{
    return entry.workTime == u"0"_s ? u"0"_s : u"1"_s;
}

} // namespace

bool isRecordId(const QString &id)
{
    return !id.isEmpty()
           && std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString departments()
{
    return u" select DeptCode,DeptName from sys_dept "_s;
}

QString loadExchange(const QString &id)
{
    return u"select a.*,b.personname from Kq_ExchangeClass a,hr_employee b where "
           "a.employeecode=b.employeecode and a.ID="_s
           + id + u" "_s;
}

QString planCount(const QString &employeeCode, const QString &exchgDate)
{
    return u" select count(1)\u3000from Kq_WorkPlan where employeecode='"_s + escaped(employeeCode)
           + u"'"_s + u" and WorkDate<=to_date('"_s + escaped(exchgDate) + u"','yyyy-mm-dd')"_s;
}

QString lastPlannedDay(const QString &employeeCode, const QString &exchgDate)
{
    return u" select *\u3000from Kq_WorkPlan   where  WorkDate=( select Max(WorkDate) from "
           "Kq_WorkPlan where  employeecode='"_s
           + escaped(employeeCode) + u"'"_s + u" and WorkDate<=to_date('"_s + escaped(exchgDate)
           + u"','yyyy-mm-dd') )  and employeecode='"_s + escaped(employeeCode) + u"'"_s;
}

QString cycleLength(const QString &classId)
{
    return u"select count(*) from Kq_ClassDetail where ClassID='"_s + escaped(classId) + u"'"_s;
}

QString cycleDay(const QString &classId, int position)
{
    return u"select * from Kq_ClassDetail where ClassID='"_s + escaped(classId)
           + u"' and SubClassNo="_s + QString::number(position);
}

QString duplicateCount(const QString &employeeCode, const QString &exchgDate, const QString &id)
{
    QString sql = u"select count(1) from Kq_ExchangeClass  where employeecode='"_s
                  + escaped(employeeCode) + u"'"_s + u" and ExchgDate = to_date('"_s
                  + escaped(exchgDate) + u"','yyyy-mm-dd')"_s;
    if (!id.isEmpty())
        sql += u" and ID<>"_s + id;
    return sql;
}

QString insertExchange(const Entry &entry)
{
    const QString flag = u" "_s + dayFlag(entry) + u","_s;
    const QString insert =
        u" insert into Kq_ExchangeClass  ( ID, EmployeeCode , ExchgDate,  period1Beg   , "
        "period1End ,  period2Beg ,  period2End ,  SubClassType ,  WorkTime , WorkFlag , "
        "ExchgType, ExchgeReason, OptorCode, Remark ,  CREATE_TIME   )values ( "
        "SEQ_OCID.nextval,  '"_s
        + escaped(entry.employeeCode) + u"',"_s + u" to_date('"_s + escaped(entry.exchgDate)
        + u"','yyyy-mm-dd'),"_s + u" '"_s + escaped(entry.period1Beg) + u"',"_s + u" '"_s
        + escaped(entry.period1End) + u"',"_s + u" '"_s + escaped(entry.period2Beg) + u"',"_s
        + u" '"_s + escaped(entry.period2End) + u"',"_s + u" 0 ,"_s + entry.workTime + u","_s + flag
        + flag + u"'"_s + escaped(entry.reason) + u"',"_s + u"'"_s + escaped(entry.operatorCode)
        + u"' ,"_s + u" '"_s + escaped(entry.remark) + u"',"_s + u" sysdate"_s + u" ); "_s;
    return u"  begin "_s + insert + u"  end; "_s;
}

QString updateExchange(const QString &id, const Entry &entry)
{
    const QString flag = dayFlag(entry);
    return u" Update Kq_ExchangeClass  set period1Beg ='"_s + escaped(entry.period1Beg) + u"',"_s
           + u"period1end ='"_s + escaped(entry.period1End) + u"',"_s + u"period2Beg ='"_s
           + escaped(entry.period2Beg) + u"',"_s + u"period2end ='"_s + escaped(entry.period2End)
           + u"',"_s + u"ExchgDate=  to_date('"_s + escaped(entry.exchgDate) + u"','yyyy-mm-dd'),"_s
           + u"ExchgeReason='"_s + escaped(entry.reason) + u"',"_s + u"worktime="_s + entry.workTime
           + u","_s + u"workFlag="_s + flag + u","_s + u"ExchgType="_s + flag + u","_s
           + u" Remark='"_s + escaped(entry.remark) + u"',"_s + u" OptorCode= '"_s
           + escaped(entry.operatorCode) + u"' ,"_s + u" modified_time = sysdate"_s
           + u" Where ID="_s + id;
}

} // namespace EditorStatements
