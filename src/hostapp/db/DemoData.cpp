#include "DemoData.h"

#include "Database.h"
#include "DemoNames.h"
#include "Schema.h"

#include "runtime/exceptions.h"

#include <QRandomGenerator>
#include <QSet>
#include <span>
#include <sqlite3.h>
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

// Journal in memory, no syncs and a large cache while a new file is filled: a
// crash then costs only this new file, and a large profile loads many times
// faster. Each setting is only a speed-up: one that SQLite refuses (another
// connection keeps the file in WAL mode) is left out. The ordinary settings
// return afterwards.
class BulkLoad
{
public:
    explicit BulkLoad(Database &db)
        : m_db(db)
        , m_cacheSize(db.nativeValue(u"PRAGMA cache_size"_s))
    {
        run(u"PRAGMA journal_mode = MEMORY"_s);
        run(u"PRAGMA synchronous = OFF"_s);
        run(u"PRAGMA cache_size = -262144"_s);
    }

    ~BulkLoad()
    {
        run(u"PRAGMA cache_size = "_s + m_cacheSize);
        run(u"PRAGMA synchronous = NORMAL"_s);
        run(u"PRAGMA journal_mode = WAL"_s);
    }

private:
    void run(const QString &pragma)
    {
        sqlite3_exec(m_db.handle(), pragma.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

    Database &m_db;
    const QString m_cacheSize;
};

class Builder
{
public:
    Builder(Database &db, const QDate &today, const DemoProfile &profile)
        : m_db(db)
        , m_today(today)
        , m_profile(profile)
    {}

    void run()
    {
        addDepartments();
        addStations();
        addShifts();
        addOperators();
        addEmployees();
        addWorkPlans();
        addExchanges();
    }

private:
    struct Employee
    {
        QString code;
        bool active; // not deleted, at work or on probation
    };

    int draw(int bound) { return m_random.bounded(bound); }
    bool chance(int percent) { return draw(100) < percent; }
    QString daysAgo(int days) const { return dateText(m_today.addDays(-days)); }

    void addDepartments()
    {
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO Sys_Dept (ID, ParentID, DeptCode, DeptShortCode, DeptName, DeptLeader,"
            u" TelNo, Email, Sort) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"_s);
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
            insert.bind(1, id)
                .bind(2, parentId)
                .bind(3, code.toString())
                .bind(4, code.right(2).toString())
                .bind(5, dept.name.toString())
                .bind(6, DemoNames::personName(m_random).name)
                .bind(7, u"0571-8888%1"_s.arg(id, 4, 10, QChar(u'0')))
                .bind(8, u"dept%1@example.com"_s.arg(id))
                .bind(9, id);
            insert.run();
            insert.reset();
        }
    }

    void addStations()
    {
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO HR_StationInfo (StationCode, StationName) VALUES (?1, ?2)"_s);
        for (const StationSeed &station : stations) {
            insert.bind(1, station.code.toString()).bind(2, station.name.toString());
            insert.run();
            insert.reset();
        }
    }

    void addShifts()
    {
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO Kq_ClassDetail (ClassID, SubClassNo, ClassName, period1Beg, period1end,"
            u" period2Beg, period2end) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"_s);
        for (const Shift &shift : shifts) {
            for (size_t i = 0; i < shift.cycle.size(); ++i) {
                const Periods &day = shift.cycle[i];
                insert.bind(1, shift.classId.toString())
                    .bind(2, int(i) + 1)
                    .bind(3, shift.className.toString());
                bindPeriods(insert, 4, day);
                insert.run();
                insert.reset();
            }
        }
    }

    void addOperators()
    {
        SqliteStatement insertOperator = m_db.prepare(
            u"INSERT INTO Sys_Operator (ID, OperatorCode, OperatorName) VALUES (?1, ?2, ?3)"_s);
        SqliteStatement insertRight =
            m_db.prepare(u"INSERT INTO Sys_OperatorRight (OperatorID, RightCode, RightLevel)"
                         u" VALUES (?1, ?2, ?3)"_s);
        SqliteStatement insertScope =
            m_db.prepare(u"INSERT INTO Sys_OperatorDept (OperatorID, DeptCode) VALUES (?1, ?2)"_s);
        for (const Operator &op : operators) {
            insertOperator.bind(1, op.id).bind(2, op.code.toString()).bind(3, op.name.toString());
            insertOperator.run();
            insertOperator.reset();
            insertRight.bind(1, op.id).bind(2, rightCode.toString()).bind(3, op.level);
            insertRight.run();
            insertRight.reset();
            for (const DeptSeed &dept : departments) {
                if (!dept.code.startsWith(op.branch))
                    continue;
                insertScope.bind(1, op.id).bind(2, dept.code.toString());
                insertScope.run();
                insertScope.reset();
            }
        }
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
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, PyCode, Sex,"
            u" CertNo, Birthday, Age, NativePlace, Nation, DiplomaCode, DeptCode, StationCode,"
            u" InDate, ProbationPeriod, ProbationBegin, ProbationEnd, WorkDate, WorkStatus,"
            u" MobileNo, OptorCode, CREATE_TIME, DELETED) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7,"
            u" ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23,"
            u" ?24)"_s);
        const QDate oldestBirthday(1965, 1, 1);
        const QDate oldestEntry(2005, 1, 1);
        m_employees.reserve(size_t(m_profile.employees));
        for (int i = 0; i < m_profile.employees; ++i) {
            const QString code = u"%1"_s.arg(i + 1, 6, 10, QChar(u'0'));
            QString jobNumber = QString::number(10000 + i);
            if (chance(10))
                jobNumber.prepend(pick(m_random, jobNumberPrefixes));
            const DemoNames::PersonName person = DemoNames::personName(m_random);
            const int status = workStatus(i);
            const bool deleted = chance(3);
            const QDate inDate = oldestEntry.addDays(draw(int(oldestEntry.daysTo(m_today)) - 90));

            insert.bind(1, i + 1)
                .bind(2, code)
                .bind(3, jobNumber)
                .bind(4, person.name)
                .bind(5, person.pyCode)
                .bind(6, draw(2))
                .bind(10, pick(m_random, provinces).toString())
                .bind(11, (chance(90) ? u"汉族"_s : pick(m_random, minorities).toString()))
                .bind(12, u"0%1"_s.arg(1 + draw(5)))
                .bind(13, pick(m_random, departments).code.toString())
                .bind(14, pick(m_random, stations).code.toString())
                .bind(15, dateText(inDate))
                .bind(16, 3)
                .bind(17, dateText(inDate))
                .bind(18, dateText(inDate.addMonths(3)))
                .bind(19, dateText(inDate.addDays(-draw(2000))))
                .bind(20, status)
                .bind(21, u"13%1"_s.arg(draw(1000000000), 9, 10, QChar(u'0')))
                .bind(22, u"admin"_s)
                .bind(23, dateText(inDate) + u" 09:00:00"_s)
                .bind(24, deleted ? 1 : 0);
            if (chance(5)) {
                insert.bindNull(7).bindNull(8).bindNull(9);
            } else {
                const QDate birthday = oldestBirthday.addDays(draw(40 * 365));
                int age = m_today.year() - birthday.year();
                if (m_today < birthday.addYears(age))
                    --age;
                insert
                    .bind(7, u"330106%1%2"_s.arg(birthday.toString(u"yyyyMMdd"_s))
                                 .arg(draw(10000), 4, 10, QChar(u'0')))
                    .bind(8, dateText(birthday))
                    .bind(9, age);
            }
            insert.run();
            insert.reset();
            m_employees.push_back({code, !deleted && (status == 0 || status == 4)});
        }
    }

    // Each employee's plan runs from planDays before today to a day between 1
    // and 10 days before today; 3 in 100 have none at all.
    void addWorkPlans()
    {
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO Kq_WorkPlan (employeecode, WorkDate, period1Beg, period1end, period2Beg,"
            u" period2end, ClassType, ClassID, SubClassNo)"
            u" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"_s);
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
            insert.bind(1, employee.code)
                .bind(7, irregular ? irregularClassType : rotatingClassType)
                .bind(8, (irregular ? irregularClassId : shift.classId).toString());
            for (int ago = m_profile.planDays; ago >= lastDayAgo; --ago) {
                const int position =
                    (cycleStart + m_profile.planDays - ago) % int(shift.cycle.size());
                insert.bind(2, days[size_t(ago)]);
                if (irregular) {
                    bindPeriods(insert, 3, chance(25) ? restDay : pick(m_random, otherTimes));
                    insert.bind(9, 1);
                } else {
                    bindPeriods(insert, 3, shift.cycle[size_t(position)]);
                    insert.bind(9, position + 1);
                }
                insert.run();
                insert.reset();
            }
        }
    }

    void addExchanges()
    {
        std::vector<int> active;
        for (size_t i = 0; i < m_employees.size(); ++i) {
            if (m_employees[i].active)
                active.push_back(int(i));
        }
        SqliteStatement insert = m_db.prepare(
            u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, period1Beg, period1End,"
            u" period2Beg, period2End, SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason,"
            u" OptorCode, Remark, CREATE_TIME, MODIFIED_TIME)"
            u" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 0, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)"_s);
        QSet<qint64> taken; // employee and day, one exchange each
        qint64 id = 0;
        const auto addSome = [&](int count, int firstDayAgo, int dayCount) {
            if (active.empty() || dayCount <= 0)
                return;
            count = int(qMin<qint64>(count, qint64(active.size()) * dayCount));
            for (int added = 0; added < count;) {
                const int employee = active[size_t(draw(int(active.size())))];
                const int ago = firstDayAgo + draw(dayCount);
                if (!taken.contains(qint64(employee) * 100000 + ago)) {
                    taken.insert(qint64(employee) * 100000 + ago);
                    addExchange(insert, ++id, m_employees[size_t(employee)].code, ago);
                    ++added;
                }
            }
        };
        addSome(m_profile.recentExchanges, 0, m_profile.recentDays);
        addSome(m_profile.olderExchanges, m_profile.recentDays,
                m_profile.planDays - m_profile.recentDays);

        SqliteStatement sequence =
            m_db.prepare(u"UPDATE Sys_Sequence SET NextValue = ?1 WHERE SeqName = 'SEQ_OCID'"_s);
        sequence.bind(1, id + 1).run();
    }

    void addExchange(SqliteStatement &insert, qint64 id, const QString &employeeCode, int ago)
    {
        const bool restExchange = chance(40);
        const Periods &periods = restExchange ? restDay : pick(m_random, otherTimes);
        const int flag = restExchange ? 0 : 1;
        const QDate createdOn = m_today.addDays(-ago - draw(4));
        const QDateTime created(createdOn, QTime(8, 0).addSecs(draw(10 * 3600)));
        insert.bind(1, id).bind(2, employeeCode).bind(3, daysAgo(ago));
        bindPeriods(insert, 4, periods);
        insert.bind(8, periods.minutes())
            .bind(9, flag)
            .bind(10, flag)
            .bind(11, pick(m_random, reasons).toString())
            .bind(12, (chance(70) ? u"admin"_s : u"clerk"_s))
            .bind(13, chance(30) ? pick(m_random, remarks).toString() : QString())
            .bind(14, created.toString(u"yyyy-MM-dd HH:mm:ss"_s))
            .bind(15,
                  chance(20) ? created.addDays(1).toString(u"yyyy-MM-dd HH:mm:ss"_s) : QString());
        insert.run();
        insert.reset();
    }

    static void bindPeriods(SqliteStatement &statement, int first, const Periods &periods)
    {
        statement.bind(first, periods.period1Beg.toString())
            .bind(first + 1, periods.period1End.toString())
            .bind(first + 2, periods.period2Beg.toString())
            .bind(first + 3, periods.period2End.toString());
    }

    Database &m_db;
    const QDate m_today;
    const DemoProfile m_profile;
    QRandomGenerator m_random{seed};
    std::vector<Employee> m_employees;
};

} // namespace

void create(Database &db, const QDate &today, const DemoProfile &profile)
{
    if (Schema::check(db) != Schema::State::Empty)
        throw Rt::DatabaseError(u"Demo data goes into a new, empty database only"_s);
    BulkLoad bulkLoad(db);
    db.beginTrans();
    try {
        Schema::createTables(db);
        Builder(db, today, profile).run();
        Schema::createIndexes(db);
        // Statistics, so that the planner knows a department scope from a day.
        db.execute(u"PRAGMA analysis_limit = 1000; ANALYZE"_s);
        db.commitTrans();
    } catch (...) {
        db.rollbackTrans();
        throw;
    }
}

} // namespace DemoData
