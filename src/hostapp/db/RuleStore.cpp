#include "RuleStore.h"

#include "Database.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace RuleStore {

namespace {

using Schedule::Action;
using Schedule::Profile;
using Schedule::Rule;

constexpr Rule allRules[] = {Rule::DailyMax, Rule::DailyOvertime, Rule::MonthlyOvertime,
                             Rule::RestDays, Rule::WeeklyHours,   Rule::DailyRest,
                             Rule::Coverage};

QString dayText(const QDate &day)
{
    return day.toString(u"yyyy-MM-dd"_s);
}

void writeProfile(Database &db, const Profile &profile, const Profile &other)
{
    db.execute(u"INSERT INTO Kq_RuleProfile (ProfileName, StandardDayMinutes, AveragingWeeks)"
               u" VALUES ($1, $2, $3)"_s,
               {profile.name, profile.standardDayMinutes, profile.averagingWeeks});
    for (const Rule rule : allRules) {
        const Schedule::RuleSetting &setting = profile[rule];
        const bool off = setting.action == Action::Off;
        db.execute(u"INSERT INTO Kq_RuleLimit (ProfileName, RuleId, LimitValue, Enabled, Blocks)"
                   u" VALUES ($1, $2, $3, $4, $5)"_s,
                   {profile.name, QString(Schedule::ruleId(rule)),
                    off && setting.limit == 0 ? other[rule].limit : setting.limit, off ? 0 : 1,
                    setting.action == Action::Block ? 1 : 0});
    }
}

std::vector<Profile> readProfiles(Database &db)
{
    std::vector<Profile> profiles;
    QHash<QString, size_t> byName;
    const auto heads = db.select(u"SELECT ProfileName, StandardDayMinutes, AveragingWeeks"
                                 u" FROM Kq_RuleProfile ORDER BY ProfileName"_s);
    for (int r = 0; r < heads->recordCount(); ++r) {
        byName.insert(heads->asString(r, 0), profiles.size());
        profiles.push_back(
            {heads->asString(r, 0), {}, int(heads->asInteger(r, 1)), int(heads->asInteger(r, 2))});
    }
    const auto limits =
        db.select(u"SELECT ProfileName, RuleId, LimitValue, Enabled, Blocks FROM Kq_RuleLimit"_s);
    for (int r = 0; r < limits->recordCount(); ++r) {
        const auto profile = byName.constFind(limits->asString(r, 0));
        const std::optional<Rule> rule = Schedule::ruleFromId(limits->asString(r, 1));
        if (profile == byName.cend() || !rule)
            continue;
        const Action action = limits->asInteger(r, 3) == 0   ? Action::Off
                              : limits->asInteger(r, 4) != 0 ? Action::Block
                                                             : Action::Warn;
        profiles[*profile][*rule] = {action, int(limits->asInteger(r, 2))};
    }
    return profiles;
}

QList<CoverageMinimum> readCoverage(Database &db, const std::optional<Schedule::DateRange> &range)
{
    QList<CoverageMinimum> coverage;
    QHash<QString, qsizetype> byDept;
    const auto of = [&](const QString &deptCode) -> CoverageMinimum & {
        const auto found = byDept.constFind(deptCode);
        if (found != byDept.cend())
            return coverage[*found];
        byDept.insert(deptCode, coverage.size());
        coverage.append({deptCode, {}, {}});
        return coverage.last();
    };
    const auto weekdays = db.select(u"SELECT DeptCode, Weekday, MinimumCount"
                                    u" FROM Kq_CoverageMinimum ORDER BY DeptCode, Weekday"_s);
    for (int r = 0; r < weekdays->recordCount(); ++r) {
        const qint64 weekday = weekdays->asInteger(r, 1);
        if (weekday >= 1 && weekday <= 7)
            of(weekdays->asString(r, 0)).weekdayMinimum[size_t(weekday - 1)] =
                int(weekdays->asInteger(r, 2));
    }
    const auto dates =
        range ? db.select(u"SELECT DeptCode, CoverDate, MinimumCount FROM Kq_CoverageOverride"
                          u" WHERE CoverDate >= $1 AND CoverDate <= $2"
                          u" ORDER BY DeptCode, CoverDate"_s,
                          {dayText(range->first), dayText(range->last)})
              : db.select(u"SELECT DeptCode, CoverDate, MinimumCount FROM Kq_CoverageOverride"
                          u" ORDER BY DeptCode, CoverDate"_s);
    for (int r = 0; r < dates->recordCount(); ++r) {
        of(dates->asString(r, 0))
            .overrides.push_back(
                {Rt::DateTime::toDate(dates->asDateTime(r, 1)), int(dates->asInteger(r, 2))});
    }
    return coverage;
}

} // namespace

void seedProfiles(Database &db)
{
    const Profile prc = Schedule::prcProfile();
    const Profile eu = Schedule::euProfile();
    writeProfile(db, prc, eu);
    writeProfile(db, eu, prc);
    db.execute(u"INSERT INTO Kq_DeptRuleProfile (DeptCode, ProfileName) VALUES ($1, $2)"_s,
               {defaultDepartment.toString(), prc.name});
}

const Schedule::Profile &RuleSettings::profileOf(const QString &deptCode) const
{
    return Schedule::profileOf(deptCode, {departments.constData(), size_t(departments.size())},
                               profiles);
}

const Schedule::Profile *RuleSettings::profile(const QString &name) const
{
    for (const Schedule::Profile &candidate : profiles) {
        if (candidate.name == name)
            return &candidate;
    }
    return nullptr;
}

RuleSettings read(Database &db, const std::optional<Schedule::DateRange> &range)
{
    RuleSettings settings;
    settings.profiles = readProfiles(db);
    const auto departments =
        db.select(u"SELECT DeptCode, ProfileName FROM Kq_DeptRuleProfile ORDER BY DeptCode"_s);
    for (int r = 0; r < departments->recordCount(); ++r)
        settings.departments.append({departments->asString(r, 0), departments->asString(r, 1)});
    settings.coverage = readCoverage(db, range);
    return settings;
}

void setAction(Database &db, const QString &profile, Schedule::Rule rule, Schedule::Action action)
{
    const QString id(Schedule::ruleId(rule));
    if (action == Action::Off) {
        db.execute(u"UPDATE Kq_RuleLimit SET Enabled = 0 WHERE ProfileName = $1 AND RuleId = $2"_s,
                   {profile, id});
    } else {
        db.execute(u"UPDATE Kq_RuleLimit SET Enabled = 1, Blocks = $3"
                   u" WHERE ProfileName = $1 AND RuleId = $2"_s,
                   {profile, id, action == Action::Block ? 1 : 0});
    }
}

void setLimit(Database &db, const QString &profile, Schedule::Rule rule, int limit)
{
    db.execute(u"UPDATE Kq_RuleLimit SET LimitValue = $3 WHERE ProfileName = $1 AND RuleId = $2"_s,
               {profile, QString(Schedule::ruleId(rule)), limit});
}

void setDepartmentProfile(Database &db, const QString &deptCode, const QString &profile)
{
    db.execute(u"DELETE FROM Kq_DeptRuleProfile WHERE DeptCode = $1"_s, {deptCode});
    db.execute(u"INSERT INTO Kq_DeptRuleProfile (DeptCode, ProfileName) VALUES ($1, $2)"_s,
               {deptCode, profile});
}

void setWeekdayMinimum(Database &db, const QString &deptCode, int weekday,
                       std::optional<int> minimum)
{
    db.execute(u"DELETE FROM Kq_CoverageMinimum WHERE DeptCode = $1 AND Weekday = $2"_s,
               {deptCode, weekday});
    if (minimum) {
        db.execute(u"INSERT INTO Kq_CoverageMinimum (DeptCode, Weekday, MinimumCount)"
                   u" VALUES ($1, $2, $3)"_s,
                   {deptCode, weekday, *minimum});
    }
}

void setDateMinimum(Database &db, const QString &deptCode, const QDate &date,
                    std::optional<int> minimum)
{
    db.execute(u"DELETE FROM Kq_CoverageOverride WHERE DeptCode = $1 AND CoverDate = $2"_s,
               {deptCode, dayText(date)});
    if (minimum) {
        db.execute(u"INSERT INTO Kq_CoverageOverride (DeptCode, CoverDate, MinimumCount)"
                   u" VALUES ($1, $2, $3)"_s,
                   {deptCode, dayText(date), *minimum});
    }
}

} // namespace RuleStore
