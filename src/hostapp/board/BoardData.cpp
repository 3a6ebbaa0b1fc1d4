#include "BoardData.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

quint8 flagsOf(const Schedule::Cell &cell)
{
    quint8 flags = 0;
    if (cell.source == Schedule::Source::Exchange)
        flags |= BoardData::Exchanged;
    if (cell.source == Schedule::Source::Projected)
        flags |= BoardData::Projected;
    return flags;
}

QHash<QString, QString> readDepartmentNames(Database &db, const QString &scope)
{
    QHash<QString, QString> names;
    const auto rows =
        db.select(u"SELECT DeptCode, DeptName FROM Sys_Dept WHERE DeptCode IN %1"_s.arg(scope));
    for (int r = 0; r < rows->recordCount(); ++r)
        names.insert(rows->asString(r, 0), rows->asString(r, 1));
    return names;
}

} // namespace

BoardData BoardData::read(Database &db, const Selection &selection)
{
    BoardData board;
    board.departmentNames = readDepartmentNames(db, selection.scope);
    board.rows = ScheduleRows::read(db, {selection.scope, selection.department, selection.range});
    const Schedule::Grid grid = Schedule::effectiveSchedule(board.rows.input());
    board.workingCounts = Schedule::workingCounts(grid);

    const int days = grid.dayCount();
    board.cells.resize(size_t(grid.employeeCount()) * size_t(days));
    for (int e = 0; e < grid.employeeCount(); ++e) {
        for (int d = 0; d < days; ++d) {
            const Schedule::Cell &cell = grid.at(e, d);
            Cell &shown = board.cells[size_t(board.cellKey(e, d))];
            shown.text = quint16(board.texts.indexOf(cell));
            shown.flags = flagsOf(cell);
            if (cell.exchange >= 0) {
                Schedule::Cell planned = cell;
                planned.source = cell.plannedSource;
                planned.periods = cell.planned;
                planned.rest = cell.planned.isRest();
                board.exchangeNotes.insert(
                    board.cellKey(e, d),
                    {cell.exchange, quint16(board.texts.indexOf(planned)), cell.plannedSource});
            }
        }
    }
    // The plan rows served the cells; the exchanges stay for the tooltips.
    board.rows.plan = {};
    board.rows.cycles = {};

    return board;
}

void BoardData::checkRules(Database &db, const Selection &selection)
{
    QHash<QString, int> employeeNumbers;
    for (int e = 0; e < employeeCount(); ++e)
        employeeNumbers.insert(rows.employees[e].code, e);
    const int days = dayCount();
    for (const BreachRow &breach :
         ::checkRules(db, {selection.scope, selection.department, selection.range})) {
        const int d = int(rows.range.first.daysTo(breach.day));
        if (breach.rule == Schedule::Rule::Coverage) {
            coverageBreaches.insert(d, breach);
            continue;
        }
        const int e = employeeNumbers.value(breach.employeeCode, -1);
        if (e < 0 || d < 0 || d >= days)
            continue;
        cellBreaches.push_back({cellKey(e, d), breach.rule, breach.value, breach.limit});
        // Overtime on a day is worth a note, not a mark: a plan of longer days
        // would colour the whole board.
        if (breach.rule != Schedule::Rule::DailyOvertime)
            cells[size_t(cellKey(e, d))].flags |= BreaksRule;
    }
    std::stable_sort(cellBreaches.begin(), cellBreaches.end(),
                     [](const CellBreach &a, const CellBreach &b) { return a.cell < b.cell; });
}

std::span<const BoardData::CellBreach> BoardData::breachesOf(int employee, int day) const
{
    const qint64 key = cellKey(employee, day);
    const auto [first, last] =
        std::equal_range(cellBreaches.begin(), cellBreaches.end(), CellBreach{key},
                         [](const CellBreach &a, const CellBreach &b) { return a.cell < b.cell; });
    return {first, last};
}
