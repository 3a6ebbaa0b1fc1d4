#pragma once

#include "BoardCell.h"

#include "hostapp/rules/RuleCheck.h"
#include "hostapp/schedule/CellText.h"
#include "hostapp/schedule/ScheduleRows.h"

#include <QHash>
#include <QList>

#include <span>
#include <vector>

class Database;

// Everything the roster board shows for one department and range, read at once
// and kept compact: a cell is an index into the distinct texts and a flag byte,
// so a whole office's month is a few MB. What only tooltips need (the exchange
// behind a cell, the rules it breaks) is kept beside, for the cells that have it.
struct BoardData
{
    // Which employees and days to show.
    struct Selection
    {
        QString scope;      // the operator's departments, as OperatorRights::deptScope() gives them
        QString department; // that department and those below it; empty for the whole scope
        Schedule::DateRange range;
    };

    enum Flag : quint8 {
        Exchanged = 0x01,  // an exchange gives the day
        Projected = 0x02,  // carried forward from the rotating shift, no plan row
        BreaksRule = 0x04, // a working-time rule counts a breach on this day (overtime aside)
    };

    struct Cell
    {
        quint16 text = 0; // index into texts; 0 is the empty text
        quint8 flags = 0;
    };

    // A rule an employee's day breaks, for its tooltip.
    struct CellBreach
    {
        qint64 cell = 0; // cellKey()
        Schedule::Rule rule = Schedule::Rule::DailyMax;
        int value = 0;
        int limit = 0;
    };

    // What an exchanged cell replaced, for its tooltip.
    struct ExchangeNote
    {
        int exchange = -1; // index into rows.exchanges
        quint16 plannedText = 0;
        Schedule::Source plannedSource = Schedule::Source::None;
    };

    // The employees, their exchanges and the range (the plan rows are dropped
    // once the cells are computed).
    ScheduleRows rows;
    QHash<QString, QString> departmentNames; // DeptCode to DeptName
    CellText::Table texts;
    std::vector<Cell> cells;                     // employee by employee, day by day
    QHash<qint64, ExchangeNote> exchangeNotes;   // by cellKey()
    std::vector<CellBreach> cellBreaches;        // sorted by cell
    std::vector<int> workingCounts;              // employees working, per day
    QMultiHash<int, BreachRow> coverageBreaches; // departments short of staff, by day

    int employeeCount() const { return int(rows.employees.size()); }
    int dayCount() const { return rows.range.days(); }
    QDate day(int index) const { return rows.range.first.addDays(index); }
    qint64 cellKey(int employee, int day) const { return qint64(employee) * dayCount() + day; }
    const Cell &cell(int employee, int day) const { return cells[size_t(cellKey(employee, day))]; }
    QString departmentName(const QString &deptCode) const
    {
        return departmentNames.value(deptCode, deptCode);
    }

    // The rules a cell breaks, in the order the checks report them.
    std::span<const CellBreach> breachesOf(int employee, int day) const;

    // The board of a selection: the effective schedule of every current employee
    // and day and its daily totals. Raises DbError.
    static BoardData read(Database &db, const Selection &selection);
    // Adds the breaches of the working-time rules: the days they are counted on,
    // and the days departments are short of staff. Raises DbError.
    void checkRules(Database &db, const Selection &selection);
};
