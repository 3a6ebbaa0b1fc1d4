#include "ExchangeSurroundings.h"

#include "WarningStatements.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "schedule/DepartmentProfiles.h"
#include "talvex/project/HostFactory.h"

#include <QHash>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using Schedule::Action;
using Schedule::Profile;

namespace {

std::unique_ptr<TDataSet> open(const QString &sql)
{
    std::unique_ptr<TDataSet> rows(Host::db()->OpenQuery(sql));
    if (!rows)
        throw Rt::DatabaseError(u"数据库没有返回查询结果：%1"_s.arg(sql));
    return rows;
}

QDate dateOf(const TDataSet &rows, int record, int field)
{
    return Rt::DateTime::toDate(rows.asDateTime(record, field));
}

// Four period columns from field onwards.
Schedule::Periods periodsOf(const TDataSet &rows, int record, int field)
{
    return Schedule::periodsFromTexts(
        rows.asString(record, field), rows.asString(record, field + 1),
        rows.asString(record, field + 2), rows.asString(record, field + 3));
}

struct Rules
{
    std::vector<Profile> profiles;
    std::vector<Schedule::DepartmentProfile> departments;

    const Profile &of(const QString &deptCode) const
    {
        return Schedule::profileOf(deptCode, departments, profiles);
    }
};

// Enabled 0 switches a rule off; Blocks 1 makes it refuse rather than warn.
Rules readRules()
{
    Rules rules;
    QHash<QString, size_t> byName;
    const auto heads = open(WarningStatements::ruleProfiles());
    for (int r = 0; r < heads->recordCount(); ++r) {
        byName.insert(heads->asString(r, 0), rules.profiles.size());
        rules.profiles.push_back(
            {heads->asString(r, 0), {}, int(heads->asInteger(r, 1)), int(heads->asInteger(r, 2))});
    }
    const auto limits = open(WarningStatements::ruleLimits());
    for (int r = 0; r < limits->recordCount(); ++r) {
        const auto profile = byName.constFind(limits->asString(r, 0));
        const std::optional<Schedule::Rule> rule = Schedule::ruleFromId(limits->asString(r, 1));
        if (profile == byName.cend() || !rule)
            continue;
        const Action action = limits->asInteger(r, 3) == 0   ? Action::Off
                              : limits->asInteger(r, 4) != 0 ? Action::Block
                                                             : Action::Warn;
        rules.profiles[*profile][*rule] = {action, int(limits->asInteger(r, 2))};
    }
    const auto departments = open(WarningStatements::departmentProfiles());
    for (int r = 0; r < departments->recordCount(); ++r)
        rules.departments.push_back({departments->asString(r, 0), departments->asString(r, 1)});
    return rules;
}

class Reader
{
public:
    Reader(ExchangeSurroundings &into, const QString &employeeCode, const QString &employeeDept,
           const QString &recordId)
        : m_into(into)
        , m_scope{employeeCode, {}, recordId}
        , m_employeeDept(employeeDept)
        , m_memberDepts{employeeDept}
    {
        m_members.insert(employeeCode, 0);
    }

    // The departments at or above the employee's with a minimum, by weekday or
    // the day's own. The shortest code among them holds the members of all.
    void readDepartments(const Rules &rules)
    {
        const auto minima = open(WarningStatements::coverageMinima());
        for (int r = 0; r < minima->recordCount(); ++r) {
            const qint64 weekday = minima->asInteger(r, 2);
            Schedule::CoverageRequirement *requirement =
                department(rules, minima->asString(r, 0), minima->asString(r, 1));
            if (requirement && weekday >= 1 && weekday <= 7)
                requirement->weekdayMinimum[size_t(weekday - 1)] = int(minima->asInteger(r, 3));
        }
        const auto overrides = open(WarningStatements::coverageOverrides(m_into.day));
        for (int r = 0; r < overrides->recordCount(); ++r) {
            if (Schedule::CoverageRequirement *requirement =
                    department(rules, overrides->asString(r, 0), overrides->asString(r, 1))) {
                requirement->overrides.push_back({m_into.day, int(overrides->asInteger(r, 2))});
            }
        }
        if (m_codes.isEmpty())
            return;
        m_scope.deptCode = *std::min_element(
            m_codes.cbegin(), m_codes.cend(),
            [](const QString &a, const QString &b) { return a.size() < b.size(); });
    }

    void readMembers()
    {
        if (m_scope.deptCode.isEmpty())
            return;
        const auto rows = open(WarningStatements::members(m_scope));
        for (int r = 0; r < rows->recordCount(); ++r) {
            const QString code = rows->asString(r, 0);
            if (m_members.contains(code))
                continue;
            m_members.insert(code, m_into.memberCount++);
            m_memberDepts.append(rows->asString(r, 1));
        }
        for (ExchangeSurroundings::Department &department : m_into.departments) {
            const QString &code = m_codes.at(department.requirement.department);
            for (int m = 0; m < m_memberDepts.size(); ++m) {
                if (m_memberDepts.at(m).startsWith(code))
                    department.requirement.employees.push_back(m);
            }
        }
    }

    void readPlan()
    {
        addPlan(*open(WarningStatements::employeePlan(m_scope.employeeCode, m_into.window.first,
                                                      m_into.window.last)));
        if (!m_scope.deptCode.isEmpty())
            addPlan(*open(WarningStatements::membersPlan(m_scope, m_into.day)));
    }

    void readExchanges()
    {
        const auto rows = open(WarningStatements::exchanges(m_scope, m_into.window.first,
                                                            m_into.window.last, m_into.day));
        for (int r = 0; r < rows->recordCount(); ++r) {
            Schedule::Exchange exchange;
            exchange.employee = m_members.value(rows->asString(r, 0), -1);
            exchange.date = dateOf(*rows, r, 1);
            exchange.periods = periodsOf(*rows, r, 2);
            // A row written without the flag counts by its periods alone.
            exchange.working = rows->isNull(r, 6) || rows->asInteger(r, 6) != 0;
            m_into.exchanges.push_back(exchange);
        }
    }

    void readCycles()
    {
        const auto rows = open(WarningStatements::cycles());
        for (int r = 0; r < rows->recordCount(); ++r) {
            m_into.cycles.push_back(
                {rows->asString(r, 0), int(rows->asInteger(r, 1)), periodsOf(*rows, r, 2)});
        }
    }

private:
    // The requirement of a department at or above the employee's; nothing for
    // any other.
    Schedule::CoverageRequirement *department(const Rules &rules, const QString &code,
                                              const QString &name)
    {
        if (!m_employeeDept.startsWith(code))
            return nullptr;
        qsizetype at = m_codes.indexOf(code);
        if (at < 0) {
            at = m_codes.size();
            m_codes.append(code);
            m_into.departments.push_back({name, rules.of(code), {}});
            m_into.departments.back().requirement.department = int(at);
        }
        return &m_into.departments[size_t(at)].requirement;
    }

    void addPlan(const TDataSet &rows)
    {
        for (int r = 0; r < rows.recordCount(); ++r) {
            Schedule::PlanDay day;
            day.employee = m_members.value(rows.asString(r, 0), -1);
            day.date = dateOf(rows, r, 1);
            day.periods = periodsOf(rows, r, 2);
            day.classType = int(rows.asInteger(r, 6));
            day.classId = rows.asString(r, 7);
            day.subClassNo = int(rows.asInteger(r, 8));
            m_into.plan.push_back(day);
        }
    }

    ExchangeSurroundings &m_into;
    WarningStatements::Scope m_scope;
    const QString m_employeeDept;
    QList<QString> m_codes;        // of m_into.departments, in their order
    QList<QString> m_memberDepts;  // department of each schedule row
    QHash<QString, int> m_members; // employee code to schedule row
};

} // namespace

Schedule::DateRange concernedDays(const Profile &profile, const QDate &day)
{
    const int run = std::max(profile[Schedule::Rule::RestDays].limit, 1);
    const int weeks = std::max(profile.averagingWeeks, 1);
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    return {std::min(QDate(day.year(), day.month(), 1), day.addDays(-4 * run)),
            std::max({day.addDays(run - 1), day.addDays(1), monday.addDays(7 * (weeks - 1))})};
}

ExchangeSurroundings ExchangeSurroundings::read(const QString &employeeCode, const QDate &day,
                                                const QString &recordId)
{
    ExchangeSurroundings into;
    into.day = day;
    const Rules rules = readRules();
    const QString employeeDept =
        Host::queryValue(WarningStatements::employeeDepartment(employeeCode));
    into.profile = rules.of(employeeDept);
    into.asked = concernedDays(into.profile, day);
    into.window = Schedule::readRange(into.profile, into.asked);
    Reader reader(into, employeeCode, employeeDept, recordId);
    reader.readDepartments(rules);
    reader.readMembers();
    reader.readPlan();
    reader.readExchanges();
    reader.readCycles();
    return into;
}
