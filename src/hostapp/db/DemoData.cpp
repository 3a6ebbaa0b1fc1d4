#include "DemoData.h"

#include "Database.h"
#include "DemoNames.h"
#include "Schema.h"

#include "runtime/exceptions.h"

#include <QDateTime>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <optional>
#include <span>
#include <vector>

using namespace Qt::StringLiterals;

DemoProfile DemoProfile::scaled(double scale)
{
    if (!(scale > 0 && scale <= maxScale)) {
        throw Rt::Exception(
            u"A demo scale lies above 0 and at most %1, not %2"_s.arg(maxScale).arg(scale));
    }
    // Counted in 64 bits; within the bound every count fits the profile's ints.
    const auto count = [scale](qint64 perScale) { return int(qRound64(double(perScale) * scale)); };
    DemoProfile profile;
    profile.employees = qMax(1, count(20000));
    profile.planDays = 365;
    profile.recentDays = 365;
    profile.recentExchanges = count(1000000);
    profile.olderExchanges = 0;
    return profile;
}

namespace DemoData {

namespace {

constexpr quint32 seed = 20240617;

struct DeptSeed
{
    QStringView code;
    QStringView name;
};

// Parents before children, so that IDs in this order put parents first.
constexpr DeptSeed departments[] = {
    {u"01", u"生产部"},         {u"0101", u"一车间"},       {u"010101", u"一车间甲班"},
    {u"010102", u"一车间乙班"}, {u"010103", u"一车间丙班"}, {u"0102", u"二车间"},
    {u"010201", u"二车间甲班"}, {u"010202", u"二车间乙班"}, {u"0103", u"质检科"},
    {u"02", u"营销中心"},       {u"0201", u"华东销售部"},   {u"020101", u"上海办事处"},
    {u"020102", u"杭州办事处"}, {u"0202", u"华南销售部"},   {u"020201", u"广州办事处"},
    {u"03", u"综合管理部"},     {u"0301", u"人力资源科"},   {u"0302", u"财务科"},
    {u"0303", u"信息科"},       {u"9", u"后勤保障部"},      {u"0409", u"外派项目组"},
};
// Workshop teams with a minimum at work: a share of their headcount on
// weekdays and on weekends.
struct CoverageSeed
{
    QStringView deptCode;
    int weekdayPercent;
    int weekendPercent;
};

constexpr CoverageSeed coverageSeeds[] = {
    {u"010101", 45, 35},
    {u"010102", 50, 40},
    {u"010201", 50, 40},
};

// The parent of "0409": an ID that no department has.
constexpr int missingParentId = 99;

struct StationSeed
{
    QStringView code;
    QStringView name;
};

constexpr StationSeed stations[] = {
    {u"01", u"操作工"},   {u"02", u"班组长"}, {u"03", u"质检员"},   {u"04", u"销售代表"},
    {u"05", u"行政文员"}, {u"06", u"工程师"}, {u"07", u"部门经理"},
};

struct Periods
{
    QStringView period1Beg;
    QStringView period1End;
    QStringView period2Beg;
    QStringView period2End;

    int minutes() const
    {
        const auto at = [](QStringView time) {
            return time.left(2).toInt() * 60 + time.mid(3, 2).toInt();
        };
        return at(period1End) - at(period1Beg) + at(period2End) - at(period2Beg);
    }
};

constexpr Periods restDay{u"00:00", u"00:00", u"00:00", u"00:00"};
constexpr Periods longDay{u"08:00", u"20:00", u"00:00", u"00:00"};
constexpr Periods earlyShift{u"06:00", u"14:00", u"00:00", u"00:00"};
constexpr Periods lateShift{u"14:00", u"22:00", u"00:00", u"00:00"};
constexpr Periods officeDay{u"08:00", u"12:00", u"13:00", u"17:30"};

constexpr Periods twoDayCycle[] = {longDay, restDay};
constexpr Periods threeDayCycle[] = {earlyShift, lateShift, restDay};
constexpr Periods fourDayCycle[] = {officeDay, officeDay, officeDay, restDay};

struct Shift
{
    QStringView classId;
    QStringView className;
    std::span<const Periods> cycle;
};

constexpr Shift shifts[] = {
    {u"BC2", u"两班轮换", twoDayCycle},
    {u"BC3", u"三班轮换", threeDayCycle},
    {u"BC4", u"四天两段班", fourDayCycle},
};
constexpr int rotatingClassType = 1;
constexpr int irregularClassType = 3;
constexpr QStringView irregularClassId = u"WGZ";

// Days of an irregular schedule and the times of changed-shift exchanges.
constexpr Periods otherTimes[] = {
    {u"09:00", u"12:00", u"13:00", u"18:00"},
    {u"07:30", u"11:30", u"00:00", u"00:00"},
    officeDay,
    lateShift,
    {u"10:00", u"15:00", u"00:00", u"00:00"},
};

constexpr QStringView reasons[] = {
    u"家中有事", u"加班补休",     u"参加培训", u"客户现场支持",
    u"身体不适", u"部门统一安排", u"设备检修", u"调换班次照顾家人",
};
constexpr QStringView remarks[] = {u"已电话确认", u"经理同意", u"补交申请单", u"临时安排"};
constexpr QStringView provinces[] = {u"北京", u"上海", u"江苏", u"浙江", u"广东",
                                     u"四川", u"湖北", u"山东", u"河南"};
constexpr QStringView minorities[] = {u"回族", u"满族", u"壮族"};
constexpr QStringView jobNumberPrefixes[] = {u"A", u"B", u"HT", u"SX"};

struct Operator
{
    int id;
    QStringView code;
    QStringView name;
    int level;
    QStringView branch; // department codes it may see start with this
};

constexpr Operator operators[] = {
    {administratorId, u"admin", u"系统管理员", 2, u""},
    {clerkId, u"clerk", u"人事专员", 2, clerkBranch},
    {viewerId, u"viewer", u"查询员", 1, u""},
};

template <typename T, size_t N> const T &pick(QRandomGenerator &random, const T (&items)[N])
{
    return items[random.bounded(quint32(N))];
}

QString dateText(const QDate &date)
{
    return date.toString(u"yyyy-MM-dd"_s);
}

// Settings for filling a new database fast; each is only a speed-up, and the
// ordinary ones return afterwards. SQLite: journal in memory, no syncs and a
// large cache (a crash then costs only this new file); a setting that SQLite
// refuses (another connection keeps the file in WAL mode) is left out.
// PostgreSQL: memory for building the indexes in one pass each.
class BulkLoad
{
public:
    explicit BulkLoad(Database &db)
        : m_db(db)
    {
        if (db.backend() == DbBackend::Sqlite) {
            m_cacheSize = db.nativeValue(u"PRAGMA cache_size"_s);
            run(u"PRAGMA journal_mode = MEMORY"_s);
            run(u"PRAGMA synchronous = OFF"_s);
            run(u"PRAGMA cache_size = -262144"_s);
        } else {
            run(u"SET maintenance_work_mem = '256MB'"_s);
        }
    }

    ~BulkLoad()
    {
        if (m_db.backend() == DbBackend::Sqlite) {
            run(u"PRAGMA cache_size = "_s + m_cacheSize);
            run(u"PRAGMA synchronous = NORMAL"_s);
            run(u"PRAGMA journal_mode = WAL"_s);
        } else {
            run(u"RESET maintenance_work_mem"_s);
        }
    }

private:
    void run(const QString &setting)
    {
        try {
            m_db.execute(setting);
        } catch (const DbError &) {
        }
    }

    Database &m_db;
    QString m_cacheSize;
};

QStringList columns(QStringView list)
{
    QStringList names;
    for (QStringView name : list.split(u','))
        names.append(name.trimmed().toString());
    return names;
}

class Builder
{
public:
    Builder(Database &db, const QDate &today, const DemoProfile &profile)
        : m_db(db)
        , m_today(today)
        , m_profile(profile)
    {}

    // The rows; the caller builds the indexes as the last step.
    void run(const Progress &progress)
    {
        const auto step = [&progress](const QString &name, int number) {
            if (progress)
                progress(name, number, steps);
        };
        step(u"部门、岗位、班次和操作员"_s, 1);
        addDepartments();
        addStations();
        addShifts();
        addOperators();
        step(u"员工"_s, 2);
        addEmployees();
        step(u"排班"_s, 3);
        addWorkPlans();
        step(u"调班记录"_s, 4);
        addExchanges();
        addCoverageMinima();
    }

    static constexpr int steps = 5;

private:
    struct Employee
    {
        QString code;
        bool active; // not deleted, at work or on probation
    };

    // One exchange as drawn, written once all are drawn.
    struct Exchange
    {
        qint64 id;
        int employee;
        int daysAgo;
        const Periods *periods;
        int reason;
        bool byAdmin;
        int remark; // -1: none
        QDateTime created;
        bool modified;
    };

    int draw(int bound) { return m_random.bounded(bound); }
    bool chance(int percent) { return draw(100) < percent; }
    QString daysAgo(int days) const { return dateText(m_today.addDays(-days)); }

    std::unique_ptr<TableWriter> writer(const QString &table, QStringView columnNames)
    {
        return m_db.writeTable(table, columns(columnNames));
    }

    void addDepartments()
    {
        const auto rows =
            writer(u"Sys_Dept"_s, u"ID, ParentID, DeptCode, DeptShortCode, DeptName, DeptLeader,"
                                  u" TelNo, Email, Sort");
        int id = 0;
        for (const DeptSeed &dept : departments) {
            ++id;
            const QStringView code = dept.code;
            int parentId = -1;
            if (code.size() > 2) {
                parentId = missingParentId;
                for (int i = 0; i < id - 1; ++i) {
                    if (departments[i].code == code.chopped(2))
                        parentId = i + 1;
                }
            }
            rows->add(id)
                .add(parentId)
                .add(code.toString())
                .add(code.right(2).toString())
                .add(dept.name.toString())
                .add(DemoNames::personName(m_random).name)
                .add(u"0571-8888%1"_s.arg(id, 4, 10, QChar(u'0')))
                .add(u"dept%1@example.com"_s.arg(id))
                .add(id);
            rows->endRow();
        }
        rows->finish();
    }

    void addStations()
    {
        const auto rows = writer(u"HR_StationInfo"_s, u"StationCode, StationName");
        for (const StationSeed &station : stations) {
            rows->add(station.code.toString()).add(station.name.toString());
            rows->endRow();
        }
        rows->finish();
    }

    void addShifts()
    {
        const auto rows = writer(u"Kq_ClassDetail"_s, u"ClassID, SubClassNo, ClassName,"
                                                      u" period1Beg, period1end, period2Beg,"
                                                      u" period2end");
        for (const Shift &shift : shifts) {
            for (size_t i = 0; i < shift.cycle.size(); ++i) {
                rows->add(shift.classId.toString()).add(int(i) + 1).add(shift.className.toString());
                addPeriods(*rows, shift.cycle[i]);
                rows->endRow();
            }
        }
        rows->finish();
    }

    void addOperators()
    {
        const auto operatorRows = writer(u"Sys_Operator"_s, u"ID, OperatorCode, OperatorName");
        for (const Operator &op : operators) {
            operatorRows->add(op.id).add(op.code.toString()).add(op.name.toString());
            operatorRows->endRow();
        }
        operatorRows->finish();

        const auto rightRows = writer(u"Sys_OperatorRight"_s, u"OperatorID, RightCode, RightLevel");
        for (const Operator &op : operators) {
            rightRows->add(op.id).add(rightCode.toString()).add(op.level);
            rightRows->endRow();
        }
        rightRows->add(administratorId)
            .add(OperatorRights::administrationRight.toString())
            .add(OperatorRights::changeLevel);
        rightRows->endRow();
        rightRows->finish();

        const auto scopeRows = writer(u"Sys_OperatorDept"_s, u"OperatorID, DeptCode");
        for (const Operator &op : operators) {
            for (const DeptSeed &dept : departments) {
                if (!dept.code.startsWith(op.branch))
                    continue;
                scopeRows->add(op.id).add(dept.code.toString());
                scopeRows->endRow();
            }
        }
        scopeRows->finish();
    }

    int workStatus(int index)
    {
        // Every state appears, however small the profile.
        if (index < 5)
            return index;
        const int roll = draw(100);
        if (roll < 80)
            return 0; // 在职
        if (roll < 88)
            return 4; // 试用
        if (roll < 94)
            return 1; // 离职
        if (roll < 96)
            return 2; // 离休
        return 3;     // 退休
    }

    void addEmployees()
    {
        const auto rows = writer(
            u"HR_Employee"_s,
            u"ID, EmployeeCode, JobNumber, PersonName, PyCode, Sex, CertNo, Birthday, Age,"
            u" NativePlace, Nation, DiplomaCode, DeptCode, StationCode, InDate, ProbationPeriod,"
            u" ProbationBegin, ProbationEnd, WorkDate, WorkStatus, MobileNo, OptorCode,"
            u" CREATE_TIME, DELETED");
        const QDate oldestBirthday(1965, 1, 1);
        const QDate oldestEntry(2005, 1, 1);
        m_employees.reserve(size_t(m_profile.employees));
        for (int i = 0; i < m_profile.employees; ++i) {
            // Drawn in this order, so that a seed always gives the same rows.
            const QString code = u"%1"_s.arg(i + 1, 6, 10, QChar(u'0'));
            QString jobNumber = QString::number(10000 + i);
            if (chance(10))
                jobNumber.prepend(pick(m_random, jobNumberPrefixes));
            const DemoNames::PersonName person = DemoNames::personName(m_random);
            const int status = workStatus(i);
            const bool deleted = chance(3);
            const QDate inDate = oldestEntry.addDays(draw(int(oldestEntry.daysTo(m_today)) - 90));
            const int sex = draw(2);
            const QString nativePlace = pick(m_random, provinces).toString();
            const QString nation = chance(90) ? u"汉族"_s : pick(m_random, minorities).toString();
            const QString diploma = u"0%1"_s.arg(1 + draw(5));
            const QString dept = pick(m_random, departments).code.toString();
            const QString station = pick(m_random, stations).code.toString();
            const QDate workDate = inDate.addDays(-draw(2000));
            const QString mobile = u"13%1"_s.arg(draw(1000000000), 9, 10, QChar(u'0'));
            QString certNo;
            QString birthday;
            std::optional<int> age;
            if (!chance(5)) {
                const QDate born = oldestBirthday.addDays(draw(40 * 365));
                age = m_today.year() - born.year();
                if (m_today < born.addYears(*age))
                    --*age;
                certNo = u"330106%1%2"_s.arg(born.toString(u"yyyyMMdd"_s))
                             .arg(draw(10000), 4, 10, QChar(u'0'));
                birthday = dateText(born);
            }

            rows->add(i + 1).add(code).add(jobNumber).add(person.name).add(person.pyCode).add(sex);
            rows->add(certNo).add(birthday);
            age ? rows->add(*age) : rows->addNull();
            rows->add(nativePlace).add(nation).add(diploma).add(dept).add(station);
            rows->add(dateText(inDate))
                .add(3)
                .add(dateText(inDate))
                .add(dateText(inDate.addMonths(3)));
            rows->add(dateText(workDate)).add(status).add(mobile).add(u"admin"_s);
            rows->add(dateText(inDate) + u" 09:00:00"_s).add(deleted ? 1 : 0);
            rows->endRow();
            m_employees.push_back({code, !deleted && (status == 0 || status == 4)});
            if (!deleted)
                ++m_headcount[dept];
        }
        rows->finish();
    }

    // Each employee's plan runs from planDays before today to a day between 1
    // and 10 days before today; 3 in 100 have none at all.
    void addWorkPlans()
    {
        const auto rows = writer(u"Kq_WorkPlan"_s, u"employeecode, WorkDate, period1Beg,"
                                                   u" period1end, period2Beg, period2end,"
                                                   u" ClassType, ClassID, SubClassNo");
        std::vector<QString> days;
        for (int ago = 0; ago <= m_profile.planDays; ++ago)
            days.push_back(daysAgo(ago));

        for (const Employee &employee : m_employees) {
            if (chance(3))
                continue;
            const int shiftIndex = draw(10);
            const bool irregular = shiftIndex >= int(std::size(shifts)) * 3;
            const Shift &shift = shifts[size_t(shiftIndex % int(std::size(shifts)))];
            const int cycleStart = draw(int(shift.cycle.size()));
            const int lastDayAgo = 1 + draw(10);
            const QString classId = (irregular ? irregularClassId : shift.classId).toString();
            for (int ago = m_profile.planDays; ago >= lastDayAgo; --ago) {
                const int position =
                    (cycleStart + m_profile.planDays - ago) % int(shift.cycle.size());
                rows->add(employee.code).add(days[size_t(ago)]);
                if (irregular)
                    addPeriods(*rows, chance(25) ? restDay : pick(m_random, otherTimes));
                else
                    addPeriods(*rows, shift.cycle[size_t(position)]);
                rows->add(irregular ? irregularClassType : rotatingClassType)
                    .add(classId)
                    .add(irregular ? 1 : position + 1);
                rows->endRow();
            }
        }
        rows->finish();
    }

    void addExchanges()
    {
        std::vector<int> active;
        for (size_t i = 0; i < m_employees.size(); ++i) {
            if (m_employees[i].active)
                active.push_back(int(i));
        }
        std::vector<Exchange> exchanges;
        QSet<qint64> taken; // employee and day, one exchange each
        const auto addSome = [&](int count, int firstDayAgo, int dayCount) {
            if (active.empty() || dayCount <= 0)
                return;
            count = int(qMin<qint64>(count, qint64(active.size()) * dayCount));
            exchanges.reserve(exchanges.size() + size_t(count));
            for (int added = 0; added < count;) {
                const int employee = active[size_t(draw(int(active.size())))];
                const int ago = firstDayAgo + draw(dayCount);
                if (!taken.contains(qint64(employee) * 100000 + ago)) {
                    taken.insert(qint64(employee) * 100000 + ago);
                    exchanges.push_back(drawExchange(qint64(exchanges.size()) + 1, employee, ago));
                    ++added;
                }
            }
        };
        addSome(m_profile.recentExchanges, 0, m_profile.recentDays);
        addSome(m_profile.olderExchanges, m_profile.recentDays,
                m_profile.planDays - m_profile.recentDays);

        // In the table's own order (employee, then day), which a table kept in
        // that order takes fastest.
        std::sort(exchanges.begin(), exchanges.end(), [](const Exchange &a, const Exchange &b) {
            return a.employee != b.employee ? a.employee < b.employee : a.daysAgo > b.daysAgo;
        });
        const auto rows =
            writer(u"Kq_ExchangeClass"_s,
                   u"ID, EmployeeCode, ExchgDate, period1Beg, period1End, period2Beg, period2End,"
                   u" SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason, OptorCode, Remark,"
                   u" CREATE_TIME, MODIFIED_TIME");
        const QString timeFormat = u"yyyy-MM-dd HH:mm:ss"_s;
        for (const Exchange &x : exchanges) {
            const int flag = x.periods == &restDay ? 0 : 1;
            rows->add(x.id).add(m_employees[size_t(x.employee)].code).add(daysAgo(x.daysAgo));
            addPeriods(*rows, *x.periods);
            rows->add(0).add(x.periods->minutes()).add(flag).add(flag);
            rows->add(reasons[x.reason].toString())
                .add(x.byAdmin ? u"admin"_s : u"clerk"_s)
                .add(x.remark < 0 ? QString() : remarks[x.remark].toString())
                .add(x.created.toString(timeFormat))
                .add(x.modified ? x.created.addDays(1).toString(timeFormat) : QString());
            rows->endRow();
        }
        rows->finish();
        Schema::restartSequence(m_db, qint64(exchanges.size()) + 1);
    }

    Exchange drawExchange(qint64 id, int employee, int ago)
    {
        const bool restExchange = chance(40);
        const Periods *periods = restExchange ? &restDay : &pick(m_random, otherTimes);
        const QDate createdOn = m_today.addDays(-ago - draw(4));
        const QDateTime created(createdOn, QTime(8, 0).addSecs(draw(10 * 3600)));
        const int reason = draw(int(std::size(reasons)));
        const bool byAdmin = chance(70);
        const int remark = chance(30) ? draw(int(std::size(remarks))) : -1;
        const bool modified = chance(20);
        return {id, employee, ago, periods, reason, byAdmin, remark, created, modified};
    }

    // Minima for the workshop teams near what their shifts put at work on an
    // average day, so that on a few days a team is short; one team asks for
    // more on the day before yesterday.
    void addCoverageMinima()
    {
        const auto weekdays = writer(u"Kq_CoverageMinimum"_s, u"DeptCode, Weekday, MinimumCount");
        for (const CoverageSeed &team : coverageSeeds) {
            const int headcount = m_headcount.value(team.deptCode.toString());
            for (int weekday = 1; weekday <= 7; ++weekday) {
                const int percent = weekday <= 5 ? team.weekdayPercent : team.weekendPercent;
                weekdays->add(team.deptCode.toString()).add(weekday).add(headcount * percent / 100);
                weekdays->endRow();
            }
        }
        weekdays->finish();
        const CoverageSeed &busy = coverageSeeds[0];
        const auto dates = writer(u"Kq_CoverageOverride"_s, u"DeptCode, CoverDate, MinimumCount");
        dates->add(busy.deptCode.toString())
            .add(daysAgo(2))
            .add(m_headcount.value(busy.deptCode.toString()) * 80 / 100);
        dates->endRow();
        dates->finish();
    }

    static void addPeriods(TableWriter &rows, const Periods &periods)
    {
        rows.add(periods.period1Beg.toString())
            .add(periods.period1End.toString())
            .add(periods.period2Beg.toString())
            .add(periods.period2End.toString());
    }

    Database &m_db;
    const QDate m_today;
    const DemoProfile m_profile;
    QRandomGenerator m_random{seed};
    std::vector<Employee> m_employees;
    QHash<QString, int> m_headcount; // employees on the books, by department
};

} // namespace

void create(Database &db, const QDate &today, const DemoProfile &profile, const Progress &progress)
{
    if (Schema::check(db) != Schema::State::Empty)
        throw DbError(u"Demo data goes into a new, empty database only"_s, DbFailure::Statement);
    BulkLoad bulkLoad(db);
    TransactionScope transaction(db);
    Schema::createTables(db);
    Builder(db, today, profile).run(progress);
    if (progress)
        progress(u"索引"_s, Builder::steps, Builder::steps);
    Schema::completeTables(db);
    transaction.commit();
}

} // namespace DemoData
