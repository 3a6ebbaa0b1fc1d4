#pragma once

#include "schedule/DepartmentProfiles.h"
#include "schedule/WorkingTimeRules.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class Database;

// The working-time rules as the host keeps them (tables: Schema.h): profiles of
// limits, the profile each department takes, and the departments' coverage
// minima. Departments nest by code prefix, as everywhere in the host.
namespace RuleStore {

// The profile of DeptCode '', which every department takes unless it or a
// department above it names another.
inline constexpr QStringView defaultDepartment = u"";

// Writes the PRC and the EU profile as the rules define them, PRC the default.
// A rule a profile leaves off keeps the other profile's limit, ready for the
// day it is switched on.
void seedProfiles(Database &db);

// DeptCode '' for the default.
using DepartmentProfile = Schedule::DepartmentProfile;

// A department's minimum of employees at work, counted over it and the
// departments below it.
struct CoverageMinimum
{
    QString deptCode;
    std::array<int, 7> weekdayMinimum{}; // Monday first
    std::vector<Schedule::CoverageRequirement::Override> overrides;
};

// What the checks need, read at once.
struct RuleSettings
{
    std::vector<Schedule::Profile> profiles;
    QList<DepartmentProfile> departments;
    QList<CoverageMinimum> coverage;

    // The profile of the nearest department at or above deptCode that names one;
    // PRC as the rules define it when none does.
    const Schedule::Profile &profileOf(const QString &deptCode) const;
    // The profile of that name; nullptr when there is none.
    const Schedule::Profile *profile(const QString &name) const;
};

// Every profile and department profile, and the coverage minima with their
// overrides on the days of range (all of them without one). Raises DbError.
RuleSettings read(Database &db, const std::optional<Schedule::DateRange> &range = std::nullopt);

// Changes, one row each; the caller has checked the names and values.
// Off keeps whether the rule blocks, for when it is switched on again.
void setAction(Database &db, const QString &profile, Schedule::Rule rule, Schedule::Action action);
void setLimit(Database &db, const QString &profile, Schedule::Rule rule, int limit);
void setDepartmentProfile(Database &db, const QString &deptCode, const QString &profile);
// A weekday's minimum (1 Monday to 7 Sunday); nullopt removes it.
void setWeekdayMinimum(Database &db, const QString &deptCode, int weekday,
                       std::optional<int> minimum);
// A date's own minimum; nullopt removes it.
void setDateMinimum(Database &db, const QString &deptCode, const QDate &date,
                    std::optional<int> minimum);

} // namespace RuleStore
