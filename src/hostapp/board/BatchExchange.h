#pragma once

#include "BoardCell.h"

#include "schedule/Periods.h"

#include <QString>

class Database;

// 批量调班: one new shift exchange, the same for every selected employee-day.
// A day that already has an exchange is skipped, never overwritten; the rest are
// written in one transaction, all of them or none.
namespace BatchExchange {

struct Request
{
    Schedule::Periods periods; // all 0 for 调休, a rest day
    QString reason;
    QString remark;
};

// The editor's refusal of the periods, in its words; empty when they may be saved.
QString refusal(const Request &request);

struct Result
{
    BoardCells written;
    BoardCells skipped; // the days that have an exchange already
};

// Writes the exchange on each cell (a cell selected twice counts once), as the
// session's operator, whose code goes into OptorCode. Raises DbError, with
// nothing written, when the database refuses any of them: a viewer's rights,
// an employee outside his departments.
Result write(Database &db, const QString &operatorCode, const BoardCells &cells,
             const Request &request);

} // namespace BatchExchange
