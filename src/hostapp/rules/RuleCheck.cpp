#include "RuleCheck.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/RuleStore.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "runtime/dataset.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

using Schedule::Profile;

// The days the rules of every profile a department takes need around the
// range: a profile nobody takes widens nothing.
Schedule::DateRange readRange(const RuleStore::RuleSettings &settings,
                              const Schedule::DateRange &asked)
{
    Schedule::DateRange read = Schedule::readRange(settings.profileOf(QString()), asked);
    for (const RuleStore::DepartmentProfile &department : settings.departments) {
        const Schedule::DateRange wanted =
            Schedule::readRange(settings.profileOf(department.deptCode), asked);
        read.first = std::min(read.first, wanted.first);
        read.last = std::max(read.last, wanted.last);
    }
    return read;
}

// The departments of the scope, at or below the selection's department.
QSet<QString> visibleDepartments(Database &db, const RuleCheckSelection &selection)
{
    QSet<QString> codes;
    const auto rows =
        db.select(u"SELECT DeptCode FROM Sys_Dept WHERE DeptCode IN %1"_s.arg(selection.scope));
    for (int r = 0; r < rows->recordCount(); ++r) {
        const QString code = rows->asString(r, 0);
        if (code.startsWith(selection.department))
            codes.insert(code);
    }
    return codes;
}

class Checker
{
public:
    Checker(const ScheduleRows &rows, const RuleStore::RuleSettings &settings,
            const Schedule::DateRange &asked)
        : m_rows(rows)
        , m_settings(settings)
        , m_asked(asked)
        , m_grid(Schedule::effectiveSchedule(rows.input()))
    {}

    void checkEmployees()
    {
        QHash<const Profile *, std::vector<int>> byProfile;
        for (int e = 0; e < m_rows.employees.size(); ++e)
            byProfile[&m_settings.profileOf(m_rows.employees[e].deptCode)].push_back(e);
        for (auto group = byProfile.cbegin(); group != byProfile.cend(); ++group) {
            for (const Schedule::Breach &breach :
                 Schedule::checkEmployees(m_grid, *group.key(), m_asked, group.value())) {
                const ScheduleRows::Employee &employee = m_rows.employees[breach.employee];
                m_found.push_back({breach.rule, breach.action, employee.code, employee.name,
                                   employee.deptCode, breach.day, breach.value, breach.limit});
            }
        }
    }

    void checkCoverage(const QSet<QString> &departments)
    {
        QHash<const Profile *, std::vector<Schedule::CoverageRequirement>> byProfile;
        QStringList codes;
        for (const RuleStore::CoverageMinimum &minimum : m_settings.coverage) {
            if (!departments.contains(minimum.deptCode))
                continue;
            Schedule::CoverageRequirement requirement;
            requirement.department = int(codes.size());
            codes.append(minimum.deptCode);
            for (int e = 0; e < m_rows.employees.size(); ++e) {
                if (m_rows.employees[e].deptCode.startsWith(minimum.deptCode))
                    requirement.employees.push_back(e);
            }
            requirement.weekdayMinimum = minimum.weekdayMinimum;
            requirement.overrides = minimum.overrides;
            byProfile[&m_settings.profileOf(minimum.deptCode)].push_back(std::move(requirement));
        }
        for (auto group = byProfile.cbegin(); group != byProfile.cend(); ++group) {
            for (const Schedule::Breach &breach :
                 Schedule::checkCoverage(m_grid, *group.key(), m_asked, group.value())) {
                m_found.push_back({breach.rule,
                                   breach.action,
                                   {},
                                   {},
                                   codes.at(breach.department),
                                   breach.day,
                                   breach.value,
                                   breach.limit});
            }
        }
    }

    std::vector<BreachRow> sorted()
    {
        std::sort(m_found.begin(), m_found.end(), [](const BreachRow &a, const BreachRow &b) {
            return std::tie(a.day, a.rule, a.employeeCode, a.deptCode)
                   < std::tie(b.day, b.rule, b.employeeCode, b.deptCode);
        });
        return std::move(m_found);
    }

private:
    const ScheduleRows &m_rows;
    const RuleStore::RuleSettings &m_settings;
    const Schedule::DateRange m_asked;
    const Schedule::Grid m_grid;
    std::vector<BreachRow> m_found;
};

} // namespace

std::vector<BreachRow> checkRules(Database &db, const RuleCheckSelection &selection)
{
    const RuleStore::RuleSettings settings = RuleStore::read(db, selection.range);
    const ScheduleRows rows = ScheduleRows::read(
        db, {selection.scope, selection.department, readRange(settings, selection.range)});
    Checker checker(rows, settings, selection.range);
    checker.checkEmployees();
    checker.checkCoverage(visibleDepartments(db, selection));
    return checker.sorted();
}
