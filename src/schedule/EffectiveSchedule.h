#pragma once

#include "Periods.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <span>
#include <vector>

// What each employee works on each day of a range: the exchange when there is one,
// otherwise the planned day, otherwise the rotating shift projected from the last
// planned day, otherwise nothing. Callers read the rows in bulk and hand them over;
// employees are numbered 0 to employeeCount - 1 by the caller (rows of its list).
namespace Schedule {

// A span of whole days, both ends included.
struct DateRange
{
    QDate first;
    QDate last;

    int days() const { return int(first.daysTo(last)) + 1; }
    bool contains(const QDate &day) const { return day >= first && day <= last; }
    friend bool operator==(const DateRange &, const DateRange &) = default;
};

// One row of the attendance plan: one employee's planned day.
struct PlanDay
{
    int employee = -1;
    QDate date;
    Periods periods;
    int classType = 0;
    QString classId;    // the shift the day belongs to
    int subClassNo = 0; // the day's position in the shift's cycle, from 1
};

// One shift exchange: the day's periods after the exchange.
struct Exchange
{
    int employee = -1;
    QDate date;
    Periods periods;
    bool working = true; // WorkFlag: false for a rest-day exchange
    // Carried for those who show the exchange; the schedule does not read them.
    QString reason;
    QString operatorCode;
    QDateTime changed; // when it was last written
};

// One day of a shift's cycle. A shift's cycle length is its number of rows.
struct CycleDay
{
    QString classId;
    int subClassNo = 0;
    Periods periods;
};

struct Input
{
    DateRange range;
    int employeeCount = 0;
    // The plan rows of the range and, for each employee, the last planned day
    // before it (that one row is enough to project from). When one employee has
    // several rows on one day, the first counts. Rows after the range are ignored.
    std::span<const PlanDay> plan;
    std::span<const Exchange> exchanges;
    std::span<const CycleDay> cycles;
};

enum class Source : quint8 {
    None,      // no plan up to that day, an irregular or deleted shift before it
    Plan,      // the plan's row for the day
    Projected, // the rotating shift of the last planned day, carried forward
    Exchange,  // a shift exchange
};

// One employee's day.
struct Cell
{
    Periods periods;      // the effective periods; all 0 for nothing
    Periods planned;      // what plan or projection gives, also under an exchange
    qint32 exchange = -1; // index of the exchange in Input::exchanges, or -1
    qint16 minutes = 0;   // working minutes; 0 on a rest day and on nothing
    Source source = Source::None;
    Source plannedSource = Source::None;
    bool rest = false; // rest periods, or an exchange with WorkFlag 0

    // A day with periods to work; rest days and days with nothing are not.
    bool isWorking() const { return source != Source::None && !rest; }
};

// The cells of every employee and day of a range, employee by employee.
class Grid
{
public:
    Grid() = default;
    Grid(const DateRange &range, int employeeCount);

    const DateRange &range() const { return m_range; }
    int employeeCount() const { return m_employees; }
    int dayCount() const { return m_days; }
    // The index of date within the range (may lie outside 0 to dayCount() - 1).
    int dayIndex(const QDate &date) const { return int(m_range.first.daysTo(date)); }

    const Cell &at(int employee, int day) const { return m_cells[index(employee, day)]; }
    Cell &at(int employee, int day) { return m_cells[index(employee, day)]; }
    // One employee's days, in order.
    std::span<const Cell> row(int employee) const
    {
        return {m_cells.data() + index(employee, 0), size_t(m_days)};
    }

private:
    size_t index(int employee, int day) const { return size_t(employee) * m_days + day; }

    DateRange m_range;
    int m_employees = 0;
    int m_days = 0;
    std::vector<Cell> m_cells;
};

// The effective schedule of every employee and day of input.range. Rows naming
// an employee outside 0 to employeeCount - 1 are ignored; a shift without cycle
// rows gives nothing for the days projected from it and harms no other cell.
Grid effectiveSchedule(const Input &input);

// The number of employees (all, or those listed) working on each day of the grid.
std::vector<int> workingCounts(const Grid &grid);
std::vector<int> workingCounts(const Grid &grid, std::span<const int> employees);

} // namespace Schedule
