#include "WarningStatements.h"

#include "runtime/datetime.h"
#include "talvex/model/SqlText.h"

using namespace Qt::StringLiterals;
using SqlText::quoted;

namespace WarningStatements {

namespace {

QString date(const QDate &day)
{
    return u"to_date('"_s + Rt::DateTime::toDateText(Rt::DateTime::fromDate(day))
           + u"','yyyy-mm-dd')"_s;
}

const QString planColumns = u"p.employeecode, p.WorkDate, p.period1Beg, p.period1end, "
                            "p.period2Beg, p.period2end, p.ClassType, p.ClassID, p.SubClassNo"_s;

// The current employees of the department and those below it, e being
// HR_Employee. A prefix compared with substr, since LIKE would read a '_' or '%'
// in a code as a wildcard.
QString inDepartment(const QString &deptCode)
{
    return u"e.DELETED=0 and substr(e.DeptCode,1,"_s + QString::number(deptCode.size()) + u")="_s
           + quoted(deptCode);
}

} // namespace

QString ruleProfiles()
{
    return u"select ProfileName, StandardDayMinutes, AveragingWeeks from Kq_RuleProfile"_s;
}

QString ruleLimits()
{
    return u"select ProfileName, RuleId, LimitValue, Enabled, Blocks from Kq_RuleLimit"_s;
}

QString departmentProfiles()
{
    return u"select DeptCode, ProfileName from Kq_DeptRuleProfile"_s;
}

QString coverageMinima()
{
    return u"select m.DeptCode, d.DeptName, m.Weekday, m.MinimumCount"
           " from Kq_CoverageMinimum m, Sys_Dept d where d.DeptCode=m.DeptCode order by m.DeptCode"_s;
}

QString coverageOverrides(const QDate &day)
{
    return u"select o.DeptCode, d.DeptName, o.MinimumCount from Kq_CoverageOverride o, Sys_Dept d"
           " where d.DeptCode=o.DeptCode and o.CoverDate="_s
           + date(day) + u" order by o.DeptCode"_s;
}

QString employeeDepartment(const QString &employeeCode)
{
    return u"select DeptCode from HR_Employee where EmployeeCode="_s + quoted(employeeCode);
}

QString members(const Scope &scope)
{
    return u"select e.EmployeeCode, e.DeptCode from HR_Employee e where "_s
           + inDepartment(scope.deptCode);
}

QString employeePlan(const QString &employeeCode, const QDate &first, const QDate &last)
{
    const QString code = quoted(employeeCode);
    return u"select "_s + planColumns + u" from Kq_WorkPlan p where p.employeecode="_s + code
           + u" and (p.WorkDate>="_s + date(first) + u" and p.WorkDate<="_s + date(last)
           + u" or p.WorkDate=(select max(q.WorkDate) from Kq_WorkPlan q where q.employeecode="_s
           + code + u" and q.WorkDate<"_s + date(first) + u"))"_s;
}

QString membersPlan(const Scope &scope, const QDate &day)
{
    return u"select "_s + planColumns + u" from HR_Employee e, Kq_WorkPlan p where "_s
           + inDepartment(scope.deptCode) + u" and e.EmployeeCode<>"_s + quoted(scope.employeeCode)
           + u" and p.employeecode=e.EmployeeCode and p.WorkDate=(select max(q.WorkDate)"
             " from Kq_WorkPlan q where q.employeecode=e.EmployeeCode and q.WorkDate<="_s
           + date(day) + u")"_s;
}

QString exchanges(const Scope &scope, const QDate &first, const QDate &last, const QDate &day)
{
    QString sql = u"select x.EmployeeCode, x.ExchgDate, x.period1Beg, x.period1End, x.period2Beg,"
                  " x.period2End, x.WorkFlag from Kq_ExchangeClass x where (x.EmployeeCode="_s
                  + quoted(scope.employeeCode) + u" and x.ExchgDate>="_s + date(first)
                  + u" and x.ExchgDate<="_s + date(last);
    if (!scope.deptCode.isEmpty()) {
        sql += u" or x.ExchgDate="_s + date(day)
               + u" and x.EmployeeCode in (select e.EmployeeCode from HR_Employee e where "_s
               + inDepartment(scope.deptCode) + u")"_s;
    }
    sql += u")"_s;
    if (!scope.recordId.isEmpty())
        sql += u" and x.ID<>"_s + scope.recordId;
    return sql;
}

QString cycles()
{
    return u"select ClassID, SubClassNo, period1Beg, period1end, period2Beg, period2end"
           " from Kq_ClassDetail"_s;
}

} // namespace WarningStatements
