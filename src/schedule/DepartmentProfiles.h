#pragma once

#include "WorkingTimeRules.h"

#include <QString>

#include <span>

namespace Schedule {

// The profile a department names for itself and the departments below it.
// Department codes nest by prefix; the code '' stands above every department.
struct DepartmentProfile
{
    QString deptCode;
    QString profileName;
};

// The profile of the nearest department at or above deptCode that names one of
// profiles; PRC as the rules define it when none does.
const Profile &profileOf(const QString &deptCode, std::span<const DepartmentProfile> departments,
                         std::span<const Profile> profiles);

} // namespace Schedule
