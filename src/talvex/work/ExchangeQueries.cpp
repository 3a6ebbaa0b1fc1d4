#include "ExchangeQueries.h"

#include "talvex/model/SqlText.h"

using namespace Qt::StringLiterals;

namespace ExchangeQueries {

namespace {

QString dateRange(const QString &beginDate, const QString &endDate)
{
    return u" and a.ExchgDate >= to_date('"_s + SqlText::escaped(beginDate) + u"','yyyy-mm-dd')  "_s
           + u" and a.ExchgDate <= to_date('"_s + SqlText::escaped(endDate) + u"','yyyy-mm-dd')"_s;
}

} // namespace

QString search(const SearchFilter &filter, const QString &scope)
{
    QString sql = u" select a.* from Kq_ExchangeClass a,hr_employee e  where  "
                  "a.employeecode=e.employeecode "_s
                  + dateRange(filter.beginDate, filter.endDate) + u" and e.DeptCode in "_s + scope;
    if (!filter.employeeText.trimmed().isEmpty()) {
        // Upper case on both sides: letters match whatever their case. The stored name
        // loses all its blanks, the typed text keeps them.
        const QString t = SqlText::escaped(SqlText::upperAscii(filter.employeeText));
        sql += u" and (upper(e.jobnumber) like '%"_s + t + u"%' "_s
               + u" or upper(REGEXP_REPLACE(Trim(e.personName),' ','')) like '%"_s + t + u"%' )"_s;
    }
    if (filter.exchangeType.toInt() > -1)
        sql += u" and a.ExchgType = "_s + QString::number(filter.exchangeType.toInt());
    return sql + u" order by a.EmployeeCode , a.ExchgDate  "_s;
}

QString byDepartment(const QString &deptCode, const QString &beginDate, const QString &endDate,
                     const QString &scope)
{
    return u" select a.* from Kq_ExchangeClass a,HR_Employee b    where "
           "a.EmployeeCode=b.EmployeeCode   and substr(b.DeptCode,1,"_s
           + QString::number(deptCode.size()) + u" ) ='"_s + SqlText::escaped(deptCode) + u"'"_s
           + u" and b.DeptCode in "_s + scope + dateRange(beginDate, endDate)
           + u" order by a.EmployeeCode , a.ExchgDate "_s;
}

QString defaultList(const QString &beginDate, const QString &endDate, const QString &scope)
{
    return u" select a.* from Kq_ExchangeClass a,hr_employee e  where "
           "a.employeecode=e.employeecode and e.DeptCode in "_s
           + scope + dateRange(beginDate, endDate);
}

QString departments(const QString &scope)
{
    return u" select * from sys_dept  where DeptCode in "_s + scope + u" order by ID"_s;
}

QString employeeNames(const QString &scope)
{
    return u" select EmployeeCode,PersonName from HR_Employee    where  DeptCode in "_s + scope;
}

QString deleteExchange(const QString &id)
{
    return u"  begin "_s + u"   delete Kq_ExchangeClass where ID='"_s + SqlText::escaped(id)
           + u"';"_s + u"  end; "_s;
}

} // namespace ExchangeQueries
