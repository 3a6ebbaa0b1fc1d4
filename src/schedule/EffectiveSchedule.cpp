#include "EffectiveSchedule.h"

#include <QHash>

#include <numeric>

namespace Schedule {

namespace {

// The shifts' cycles, looked up by ClassID.
class Cycles
{
public:
    struct Cycle
    {
        std::vector<Periods> days; // by position - 1
        std::vector<bool> hasRow;  // a position may have no row of its own
    };

    explicit Cycles(std::span<const CycleDay> rows)
    {
        // The length is the number of rows, as the editor counts it; positions
        // beyond it are never asked for.
        QHash<QString, int> lengths;
        for (const CycleDay &row : rows)
            ++lengths[row.classId];
        for (auto it = lengths.cbegin(); it != lengths.cend(); ++it) {
            Cycle &cycle = m_cycles[it.key()];
            cycle.days.resize(size_t(it.value()));
            cycle.hasRow.resize(size_t(it.value()));
        }
        for (const CycleDay &row : rows) {
            Cycle &cycle = m_cycles[row.classId];
            const size_t at = size_t(row.subClassNo) - 1;
            if (row.subClassNo >= 1 && at < cycle.days.size() && !cycle.hasRow[at]) {
                cycle.days[at] = row.periods;
                cycle.hasRow[at] = true;
            }
        }
    }

    // Nothing for a shift without rows, a deleted one.
    const Cycle *find(const QString &classId) const
    {
        const auto it = m_cycles.constFind(classId);
        return it == m_cycles.cend() ? nullptr : &it.value();
    }

private:
    QHash<QString, Cycle> m_cycles;
};

void setPlanned(Cell &cell, Source source, const Periods &periods)
{
    cell.planned = periods;
    cell.plannedSource = source;
    cell.periods = periods;
    cell.source = source;
    cell.rest = periods.isRest();
    cell.minutes = cell.rest ? 0 : qint16(workingMinutes(periods));
}

void setExchange(Cell &cell, const Exchange &exchange, int index)
{
    cell.periods = exchange.periods;
    cell.source = Source::Exchange;
    cell.exchange = index;
    cell.rest = !exchange.working || exchange.periods.isRest();
    cell.minutes = cell.rest ? 0 : qint16(workingMinutes(exchange.periods));
}

// Carries one employee's schedule through the range, day by day, from the last
// planned day seen so far.
class Projection
{
public:
    explicit Projection(const Cycles &cycles)
        : m_cycles(cycles)
    {}

    void startFrom(const PlanDay *lastPlanned)
    {
        m_last = lastPlanned;
        m_cycle = nullptr;
        if (m_last && !isIrregular(m_last->classType))
            m_cycle = m_cycles.find(m_last->classId);
        if (m_last)
            m_lastDay = m_last->date.toJulianDay();
    }

    void fill(Cell &cell, qint64 day) const
    {
        if (!m_cycle)
            return;
        const int length = int(m_cycle->days.size());
        const int k = cyclePosition(m_last->subClassNo, day - m_lastDay, length);
        if (m_cycle->hasRow[size_t(k) - 1])
            setPlanned(cell, Source::Projected, m_cycle->days[size_t(k) - 1]);
    }

private:
    const Cycles &m_cycles;
    const PlanDay *m_last = nullptr;
    const Cycles::Cycle *m_cycle = nullptr;
    qint64 m_lastDay = 0;
};

} // namespace

Grid::Grid(const DateRange &range, int employeeCount)
    : m_range(range)
    , m_employees(std::max(employeeCount, 0))
    , m_days(range.first.isValid() && range.last.isValid() ? std::max(range.days(), 0) : 0)
    , m_cells(size_t(m_employees) * size_t(m_days))
{}

Grid effectiveSchedule(const Input &input)
{
    Grid grid(input.range, input.employeeCount);
    const int employees = grid.employeeCount();
    const int days = grid.dayCount();
    if (days == 0 || employees == 0)
        return grid;
    const qint64 firstDay = input.range.first.toJulianDay();

    // The plan row of each cell, and each employee's last planned day before the range.
    std::vector<qint32> planAt(size_t(employees) * size_t(days), -1);
    std::vector<qint32> before(size_t(employees), -1);
    for (size_t i = 0; i < input.plan.size(); ++i) {
        const PlanDay &row = input.plan[i];
        if (row.employee < 0 || row.employee >= employees || !row.date.isValid())
            continue;
        const qint64 day = row.date.toJulianDay() - firstDay;
        if (day >= days)
            continue;
        if (day >= 0) {
            qint32 &at = planAt[size_t(row.employee) * days + size_t(day)];
            if (at < 0)
                at = qint32(i);
            continue;
        }
        qint32 &last = before[size_t(row.employee)];
        if (last < 0 || input.plan[size_t(last)].date < row.date)
            last = qint32(i);
    }

    const Cycles cycles(input.cycles);
    Projection projection(cycles);
    for (int e = 0; e < employees; ++e) {
        const qint32 last = before[size_t(e)];
        projection.startFrom(last < 0 ? nullptr : &input.plan[size_t(last)]);
        for (int d = 0; d < days; ++d) {
            Cell &cell = grid.at(e, d);
            const qint32 planned = planAt[size_t(e) * days + size_t(d)];
            if (planned < 0) {
                projection.fill(cell, firstDay + d);
                continue;
            }
            const PlanDay &row = input.plan[size_t(planned)];
            setPlanned(cell, Source::Plan, row.periods);
            projection.startFrom(&row);
        }
    }

    for (size_t i = 0; i < input.exchanges.size(); ++i) {
        const Exchange &exchange = input.exchanges[i];
        if (exchange.employee < 0 || exchange.employee >= employees || !exchange.date.isValid())
            continue;
        const qint64 day = exchange.date.toJulianDay() - firstDay;
        if (day < 0 || day >= days)
            continue;
        Cell &cell = grid.at(exchange.employee, int(day));
        if (cell.exchange < 0)
            setExchange(cell, exchange, int(i));
    }
    return grid;
}

std::vector<int> workingCounts(const Grid &grid)
{
    std::vector<int> all(size_t(grid.employeeCount()));
    std::iota(all.begin(), all.end(), 0);
    return workingCounts(grid, all);
}

std::vector<int> workingCounts(const Grid &grid, std::span<const int> employees)
{
    std::vector<int> counts(size_t(grid.dayCount()), 0);
    for (const int e : employees) {
        if (e < 0 || e >= grid.employeeCount())
            continue;
        const std::span<const Cell> row = grid.row(e);
        for (size_t d = 0; d < row.size(); ++d)
            counts[d] += row[d].isWorking() ? 1 : 0;
    }
    return counts;
}

} // namespace Schedule
