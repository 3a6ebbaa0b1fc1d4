#pragma once

// The statements the module sends, joined from the same literal pieces with the
// same blanks, so that the host is tested on exactly what it receives. Values go
// in as the module puts them: verbatim, or with quotes doubled where it escapes.

#include <QString>

using namespace Qt::StringLiterals;

namespace ModuleSql {

// The department objects of the tree.
inline QString deptObjects(const QString &scope)
{
    return u" select * from sys_dept  where DeptCode in "_s + scope + u" order by ID"_s;
}

// The list of one department and everything below it.
inline QString deptList(const QString &deptCode, const QString &scope, const QString &begin,
                        const QString &end)
{
    return u" select a.* from Kq_ExchangeClass a,HR_Employee b    where a.EmployeeCode=b.EmployeeCode   and substr(b.DeptCode,1,"_s +
           QString::number(deptCode.size()) + u" ) ='"_s + deptCode + u"'"_s +
           u" and b.DeptCode in "_s + scope + u" and a.ExchgDate >= to_date('"_s + begin +
           u"','yyyy-mm-dd')  "_s + u" and a.ExchgDate <= to_date('"_s + end +
           u"','yyyy-mm-dd')"_s + u" order by a.EmployeeCode , a.ExchgDate "_s;
}

// The search button's list; text is the upper-cased search text, type "-1" for all.
inline QString search(const QString &scope, const QString &begin, const QString &end,
                      const QString &text = {}, const QString &type = u"-1"_s)
{
    QString sql =
        u" select a.* from Kq_ExchangeClass a,hr_employee e  where  a.employeecode=e.employeecode  and a.ExchgDate >= to_date('"_s +
        begin + u"','yyyy-mm-dd')  "_s + u" and a.ExchgDate <= to_date('"_s + end +
        u"','yyyy-mm-dd')"_s + u" and e.DeptCode in "_s + scope;
    if (!text.trimmed().isEmpty()) {
        sql += u" and (upper(e.jobnumber) like '%"_s + text + u"%' "_s +
               u" or upper(REGEXP_REPLACE(Trim(e.personName),' ','')) like '%"_s + text + u"%' )"_s;
    }
    if (type.toInt() > -1)
        sql += u" and a.ExchgType = "_s + type;
    return sql + u" order by a.EmployeeCode , a.ExchgDate  "_s;
}

// The list before any search or department was chosen.
inline QString defaultList(const QString &scope, const QString &begin, const QString &end)
{
    return u" select a.* from Kq_ExchangeClass a,hr_employee e  where a.employeecode=e.employeecode and e.DeptCode in "_s +
           scope + u" and a.ExchgDate >= to_date('"_s + begin + u"','yyyy-mm-dd')  "_s +
           u" and a.ExchgDate <= to_date('"_s + end + u"','yyyy-mm-dd')"_s;
}

inline QString employeeNames(const QString &scope)
{
    return u" select EmployeeCode,PersonName from HR_Employee    where  DeptCode in "_s + scope;
}

inline QString deleteExchange(const QString &id)
{
    return u"  begin "_s + u"   delete Kq_ExchangeClass where ID='"_s + id + u"';"_s + u"  end; "_s;
}

inline QString editorDepartments()
{
    return u" select DeptCode,DeptName from sys_dept "_s;
}

inline QString loadExchange(const QString &id)
{
    return u"select a.*,b.personname from Kq_ExchangeClass a,hr_employee b where a.employeecode=b.employeecode and a.ID="_s +
           id + u" "_s;
}

// The blank after count(1) is the ideographic space U+3000.
inline QString planCount(const QString &employee, const QString &date)
{
    return u" select count(1)\u3000from Kq_WorkPlan where employeecode='"_s + employee + u"'"_s +
           u" and WorkDate<=to_date('"_s + date + u"','yyyy-mm-dd')"_s;
}

// The blank after * is the ideographic space U+3000.
inline QString lastPlannedDay(const QString &employee, const QString &date)
{
    return u" select *\u3000from Kq_WorkPlan   where  WorkDate=( select Max(WorkDate) from Kq_WorkPlan where  employeecode='"_s +
           employee + u"'"_s + u" and WorkDate<=to_date('"_s + date +
           u"','yyyy-mm-dd') )  and employeecode='"_s + employee + u"'"_s;
}

inline QString cycleLength(const QString &classId)
{
    return u"select count(*) from Kq_ClassDetail where ClassID='"_s + classId + u"'"_s;
}

inline QString cycleDay(const QString &classId, int position)
{
    return u"select * from Kq_ClassDetail where ClassID='"_s + classId + u"' and SubClassNo="_s +
           QString::number(position);
}

// fid empty in add mode.
inline QString duplicateCount(const QString &employee, const QString &date, const QString &fid = {})
{
    QString sql = u"select count(1) from Kq_ExchangeClass  where employeecode='"_s + employee +
                  u"'"_s + u" and ExchgDate = to_date('"_s + date + u"','yyyy-mm-dd')"_s;
    if (!fid.isEmpty())
        sql += u" and ID<>"_s + fid;
    return sql;
}

struct Exchange
{
    QString employee;
    QString date;
    QString period1Beg = u"00:00"_s;
    QString period1End = u"00:00"_s;
    QString period2Beg = u"00:00"_s;
    QString period2End = u"00:00"_s;
    QString workTime = u"0"_s;
    QString reason; // as typed; the module doubles its quotes
    QString remark;
    QString operatorCode = u"admin"_s;

    QString flag() const { return workTime == u"0"_s ? u"0"_s : u"1"_s; }
};

inline QString doubled(QString text)
{
    return text.replace(u'\'', u"''"_s);
}

inline QString insertExchange(const Exchange &x)
{
    const QString insert =
        u" insert into Kq_ExchangeClass  ( ID, EmployeeCode , ExchgDate,  period1Beg   , period1End ,  period2Beg ,  period2End ,  SubClassType ,  WorkTime , WorkFlag , ExchgType, ExchgeReason, OptorCode, Remark ,  CREATE_TIME   )values ( SEQ_OCID.nextval,  '"_s +
        x.employee + u"',"_s + u" to_date('"_s + x.date + u"','yyyy-mm-dd'),"_s + u" '"_s +
        x.period1Beg + u"',"_s + u" '"_s + x.period1End + u"',"_s + u" '"_s + x.period2Beg +
        u"',"_s + u" '"_s + x.period2End + u"',"_s + u" 0 ,"_s + x.workTime + u","_s + u" "_s +
        x.flag() + u","_s + u" "_s + x.flag() + u","_s + u"'"_s + doubled(x.reason) + u"',"_s +
        u"'"_s + x.operatorCode + u"' ,"_s + u" '"_s + doubled(x.remark) + u"',"_s + u" sysdate"_s +
        u" ); "_s;
    return u"  begin "_s + insert + u"  end; "_s;
}

inline QString updateExchange(const QString &id, const Exchange &x)
{
    return u" Update Kq_ExchangeClass  set period1Beg ='"_s + x.period1Beg + u"',"_s +
           u"period1end ='"_s + x.period1End + u"',"_s + u"period2Beg ='"_s + x.period2Beg +
           u"',"_s + u"period2end ='"_s + x.period2End + u"',"_s + u"ExchgDate=  to_date('"_s +
           x.date + u"','yyyy-mm-dd'),"_s + u"ExchgeReason='"_s + doubled(x.reason) + u"',"_s +
           u"worktime="_s + x.workTime + u","_s + u"workFlag="_s + x.flag() + u","_s +
           u"ExchgType="_s + x.flag() + u","_s + u" Remark='"_s + doubled(x.remark) + u"',"_s +
           u" OptorCode= '"_s + x.operatorCode + u"' ,"_s + u" modified_time = sysdate"_s +
           u" Where ID="_s + id;
}

// The picker's search; mode -1 lists every live employee, others the active ones.
inline QString pickerSearch(const QString &text, int mode)
{
    if (mode == -1) {
        return u" select * from HR_Employee  where DELETED=0  and (upper(JobNumber) like '%"_s +
               text + u"%' "_s + u" or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%"_s +
               text + u"%'"_s + u" or upper(PyCode) like '%"_s + text + u"%')"_s;
    }
    return u" select * from HR_Employee  where WorkStatus in (0,4) and DELETED=0 and (upper(JobNumber) like '%"_s +
           text + u"%' "_s + u" or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%"_s +
           text + u"%' "_s + u" or upper(PyCode) like '%"_s + text + u"%')"_s;
}

inline QString pickerDepartments()
{
    return u" select DeptCode,DeptName from Sys_Dept"_s;
}

inline QString pickerStations()
{
    return u" select StationCode,StationName from HR_StationInfo"_s;
}

} // namespace ModuleSql
