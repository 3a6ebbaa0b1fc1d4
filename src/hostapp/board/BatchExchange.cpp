#include "BatchExchange.h"

#include "ExchangeWriter.h"
#include "PeriodRefusal.h"

#include "hostapp/db/Database.h"

#include <algorithm>

namespace BatchExchange {

QString refusal(const Request &request)
{
    return PeriodRefusal::of(request.periods);
}

Result write(Database &db, const QString &operatorCode, const BoardCells &cells,
             const Request &request)
{
    // One order for every batch, so that two desks writing overlapping batches
    // on a server take their rows' locks alike and cannot deadlock.
    BoardCells ordered = cells;
    std::sort(ordered.begin(), ordered.end(), [](const BoardCell &a, const BoardCell &b) {
        return std::tie(a.employeeCode, a.day) < std::tie(b.employeeCode, b.day);
    });
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());

    Result result;
    TransactionScope transaction(db);
    ExchangeWriter writer(db, operatorCode);
    for (const BoardCell &cell : std::as_const(ordered)) {
        const bool inserted = writer.insertUnlessTaken(
            {cell.employeeCode, cell.day, request.periods, request.reason, request.remark});
        (inserted ? result.written : result.skipped).append(cell);
    }
    transaction.commit();
    return result;
}

} // namespace BatchExchange
