#include "SchemaTables.h"

#include <QStringList>
#include <vector>

using namespace Qt::StringLiterals;

namespace Schema {

namespace {

using T = ColumnType;

constexpr Column exchangeColumns[] = {
    {u"ID", T::Id, true},          {u"EmployeeCode", T::Text, true},
    {u"ExchgDate", T::Date, true}, {u"period1Beg", T::Text},
    {u"period1End", T::Text},      {u"period2Beg", T::Text},
    {u"period2End", T::Text},      {u"period3Beg", T::Text},
    {u"period3End", T::Text},      {u"SubClassType", T::Integer},
    {u"WorkTime", T::Integer},     {u"WorkFlag", T::Integer},
    {u"ExchgType", T::Integer},    {u"ExchgeReason", T::Text},
    {u"OptorCode", T::Text},       {u"Remark", T::Text},
    {u"CREATE_TIME", T::DateTime}, {u"MODIFIED_TIME", T::DateTime},
    {u"deleted", T::Integer},
};
// The rule of one exchange per employee and day, and the order of every list.
constexpr QStringView exchangeKey[] = {u"EmployeeCode", u"ExchgDate"};

constexpr Column workPlanColumns[] = {
    {u"employeecode", T::Text, true}, {u"WorkDate", T::Date, true}, {u"period1Beg", T::Text},
    {u"period1end", T::Text},         {u"period2Beg", T::Text},     {u"period2end", T::Text},
    {u"ClassType", T::Integer},       {u"ClassID", T::Text},        {u"SubClassNo", T::Integer},
};

constexpr Column classDetailColumns[] = {
    {u"ClassID", T::Text, true}, {u"SubClassNo", T::Integer, true}, {u"ClassName", T::Text},
    {u"period1Beg", T::Text},    {u"period1end", T::Text},          {u"period2Beg", T::Text},
    {u"period2end", T::Text},
};

constexpr Column employeeColumns[] = {
    {u"ID", T::Id, true},
    {u"EmployeeCode", T::Text, true},
    {u"JobNumber", T::Text},
    {u"PersonName", T::Text},
    {u"PyCode", T::Text},
    {u"Sex", T::Integer},
    {u"CertNo", T::Text},
    {u"Birthday", T::Date},
    {u"Age", T::Integer},
    {u"NativePlace", T::Text},
    {u"Nation", T::Text},
    {u"DiplomaCode", T::Text},
    {u"GraduateSchool", T::Text},
    {u"DeptCode", T::Text},
    {u"StationCode", T::Text},
    {u"JobTitleCode", T::Text},
    {u"InviteDate", T::Date},
    {u"InDate", T::Date},
    {u"ProbationPeriod", T::Integer},
    {u"ProbationBegin", T::Date},
    {u"ProbationEnd", T::Date},
    {u"WorkDate", T::Date},
    {u"WorkTypeCode", T::Text},
    {u"WorkStatus", T::Integer, true, u"0"},
    {u"Checkup", T::Integer},
    {u"Health", T::Text},
    {u"MarriageStatus", T::Integer},
    {u"PolityCode", T::Text},
    {u"HouseholdsTypeCode", T::Text},
    {u"HouseholdsCode", T::Text},
    {u"HomeAddress", T::Text},
    {u"HomeTelNo", T::Text},
    {u"ImageID", T::Integer},
    {u"SSN", T::Text},
    {u"MobileNo", T::Text},
    {u"Remark", T::Text},
    {u"OptorCode", T::Text},
    {u"CREATE_TIME", T::DateTime},
    {u"MODIFIED_TIME", T::DateTime},
    {u"DELETED", T::Integer, true, u"0"},
};

// ParentID -1 marks a top-level department.
constexpr Column deptColumns[] = {
    {u"ID", T::Id, true},        {u"ParentID", T::Id, true},   {u"DeptCode", T::Text, true},
    {u"DeptShortCode", T::Text}, {u"DeptName", T::Text, true}, {u"DeptLeader", T::Text},
    {u"TelNo", T::Text},         {u"FaxNo", T::Text},          {u"Email", T::Text},
    {u"Sort", T::Integer},       {u"Remark", T::Text},
};

constexpr Column stationColumns[] = {
    {u"StationCode", T::Text, true},
    {u"StationName", T::Text, true},
};

constexpr Column operatorColumns[] = {
    {u"ID", T::Id, true},
    {u"OperatorCode", T::Text, true, {}, true},
    {u"OperatorName", T::Text, true},
};

// RightLevel 2 or more permits changing data, 1 only reading.
constexpr Column operatorRightColumns[] = {
    {u"OperatorID", T::Id, true},
    {u"RightCode", T::Text, true},
    {u"RightLevel", T::Integer, true},
};

constexpr Column operatorDeptColumns[] = {
    {u"OperatorID", T::Id, true},
    {u"DeptCode", T::Text, true},
};

// Working-time rules: named profiles of limits, the profile of a department
// (and the departments below it, unless they name their own; DeptCode '' is the
// default of all), and each department's minimum of employees at work.
constexpr Column ruleProfileColumns[] = {
    {u"ProfileName", T::Text, true},
    {u"StandardDayMinutes", T::Integer, true}, // overtime counts above it
    {u"AveragingWeeks", T::Integer, true},     // weekly-hours averages so many weeks
};

// RuleId as the rules name themselves (daily-max, ...); LimitValue in minutes,
// in days for rest-days. Enabled 0 switches the rule off; Blocks 1 refuses an
// exchange that breaks it, 0 only warns.
constexpr Column ruleLimitColumns[] = {
    {u"ProfileName", T::Text, true},     {u"RuleId", T::Text, true},
    {u"LimitValue", T::Integer, true},   {u"Enabled", T::Integer, true, u"1"},
    {u"Blocks", T::Integer, true, u"0"},
};

constexpr Column deptRuleProfileColumns[] = {
    {u"DeptCode", T::Text, true},
    {u"ProfileName", T::Text, true},
};

// Weekday 1 is Monday, 7 Sunday. Counted over the department and those below it.
constexpr Column coverageMinimumColumns[] = {
    {u"DeptCode", T::Text, true},
    {u"Weekday", T::Integer, true},
    {u"MinimumCount", T::Integer, true},
};

// A date's own minimum, in place of its weekday's.
constexpr Column coverageOverrideColumns[] = {
    {u"DeptCode", T::Text, true},
    {u"CoverDate", T::Date, true},
    {u"MinimumCount", T::Integer, true},
};

constexpr QStringView idKey[] = {u"ID"};
constexpr QStringView ruleProfileKey[] = {u"ProfileName"};
constexpr QStringView ruleLimitKey[] = {u"ProfileName", u"RuleId"};
constexpr QStringView deptCodeKey[] = {u"DeptCode"};
constexpr QStringView coverageMinimumKey[] = {u"DeptCode", u"Weekday"};
constexpr QStringView coverageOverrideKey[] = {u"DeptCode", u"CoverDate"};
constexpr QStringView stationKey[] = {u"StationCode"};
constexpr QStringView operatorRightKey[] = {u"OperatorID", u"RightCode"};
constexpr QStringView operatorDeptKey[] = {u"OperatorID", u"DeptCode"};
constexpr QStringView historyKey[] = {u"HistoryID"};

const Table exchange{u"Kq_ExchangeClass", exchangeColumns, exchangeKey, true};

// One row per insert, update or delete of a shift exchange, written by the
// database's own triggers: when (the database's clock), what, by which operator
// of the host, and the whole row before and after.
std::vector<Column> makeHistoryColumns()
{
    static QStringList names; // the views below point into it
    std::vector<Column> columns = {
        {u"HistoryID", T::Serial, true},
        {u"ChangedAt", T::DateTime, true},
        {u"ChangeKind", T::Text, true}, // INSERT, UPDATE or DELETE
        {u"OperatorCode", T::Text},
    };
    for (bool after : {false, true}) {
        for (const Column &column : exchangeColumns)
            names.append(historyColumn(column.name, after));
    }
    names.squeeze();
    qsizetype next = 0;
    for (int image = 0; image < 2; ++image) {
        for (const Column &column : exchangeColumns)
            columns.push_back({names.at(next++), column.type});
    }
    return columns;
}

const std::vector<Column> &historyColumns()
{
    static const std::vector<Column> columns = makeHistoryColumns();
    return columns;
}

const std::vector<Table> &allTables()
{
    static const std::vector<Table> list = {
        {u"Sys_Dept", deptColumns, idKey},
        {u"HR_StationInfo", stationColumns, stationKey},
        {u"HR_Employee", employeeColumns, idKey},
        {u"Kq_ClassDetail", classDetailColumns},
        {u"Kq_WorkPlan", workPlanColumns},
        exchange,
        exchangeHistoryTable(),
        {u"Sys_Operator", operatorColumns, idKey},
        {u"Sys_OperatorRight", operatorRightColumns, operatorRightKey, true},
        {u"Sys_OperatorDept", operatorDeptColumns, operatorDeptKey, true},
        {u"Kq_RuleProfile", ruleProfileColumns, ruleProfileKey, false, true},
        {u"Kq_RuleLimit", ruleLimitColumns, ruleLimitKey, false, true},
        {u"Kq_DeptRuleProfile", deptRuleProfileColumns, deptCodeKey, false, true},
        {u"Kq_CoverageMinimum", coverageMinimumColumns, coverageMinimumKey, false, true},
        {u"Kq_CoverageOverride", coverageOverrideColumns, coverageOverrideKey, false, true},
    };
    return list;
}

constexpr Index indexList[] = {
    // Loading, changing and deleting one exchange.
    {u"UX_ExchangeClass_ID", u"Kq_ExchangeClass", u"ID", true},
    // The lists by date range over a wide department scope.
    {u"IX_ExchangeClass_Day", u"Kq_ExchangeClass", u"ExchgDate, EmployeeCode", false},
    // Plan count, last planned day and the plan row of that day.
    {u"UX_WorkPlan_EmployeeDay", u"Kq_WorkPlan", u"employeecode, WorkDate", true},
    // Cycle length and the periods of one cycle position.
    {u"UX_ClassDetail_Position", u"Kq_ClassDetail", u"ClassID, SubClassNo", true},
    // Joins from exchanges and plans to their employee.
    {u"UX_Employee_Code", u"HR_Employee", u"EmployeeCode", true},
    // Department scope ("DeptCode in (...)") of lists and name lists. On the
    // department alone: with the employee's code in it too, SQLite would look
    // each listed exchange's employee up once per department of the scope,
    // rather than walk the exchanges in the list's order without sorting them.
    {u"IX_Employee_Dept", u"HR_Employee", u"DeptCode", false},
    {u"UX_Dept_Code", u"Sys_Dept", u"DeptCode", true},
    // The history window lists changes by their time.
    {u"IX_ExchangeHistory_Time", u"Kq_ExchangeClassHistory", u"ChangedAt", false},
};

} // namespace

std::span<const Table> tables()
{
    return allTables();
}

std::span<const Index> indexes()
{
    return indexList;
}

const Table &exchangeTable()
{
    return exchange;
}

const Table &exchangeHistoryTable()
{
    static const Table table{u"Kq_ExchangeClassHistory", historyColumns(), historyKey};
    return table;
}

QString historyColumn(QStringView exchangeColumn, bool after)
{
    return (after ? u"New_"_s : u"Old_"_s) + exchangeColumn;
}

QString primaryKeyName(const Table &table)
{
    return u"PK_"_s + table.name;
}

QString spelling(QStringView table, QStringView column)
{
    for (const Table &candidate : tables()) {
        if (candidate.name.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        for (const Column &c : candidate.columns) {
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                return c.name.toString();
        }
    }
    return QString();
}

} // namespace Schema
