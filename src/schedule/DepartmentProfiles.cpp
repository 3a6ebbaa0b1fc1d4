#include "DepartmentProfiles.h"

namespace Schedule {

namespace {

const Profile *named(const QString &name, std::span<const Profile> profiles)
{
    for (const Profile &candidate : profiles) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}

} // namespace

const Profile &profileOf(const QString &deptCode, std::span<const DepartmentProfile> departments,
                         std::span<const Profile> profiles)
{
    const DepartmentProfile *nearest = nullptr;
    const Profile *profile = nullptr;
    for (const DepartmentProfile &department : departments) {
        const bool above = deptCode.startsWith(department.deptCode);
        const Profile *candidate = above ? named(department.profileName, profiles) : nullptr;
        if (candidate && (!nearest || department.deptCode.size() > nearest->deptCode.size())) {
            nearest = &department;
            profile = candidate;
        }
    }
    if (profile)
        return *profile;
    static const Profile prc = prcProfile();
    return prc;
}

} // namespace Schedule
