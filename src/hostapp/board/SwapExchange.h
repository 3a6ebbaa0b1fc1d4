#pragma once

#include "BoardCell.h"

#include <QString>

class Database;

// 对调: two employees swap what they work on the selected days. Each gets the
// other's effective schedule of the other's day (exchange, plan or projected
// shift) as a shift exchange on his own day, with a reason that names the other;
// both rows are written in one transaction, or neither.
namespace SwapExchange {

// What was written, for the operator's message: "王芳 2026-12-05：08:00-12:00".
struct Result
{
    QString first;
    QString second;
};

// Reads both days within the departments of scope (the SQL value list of the
// operator's departments) and writes the two exchanges as operatorCode. Raises
// HostError with the operator's text when the swap cannot be made (the same
// employee twice, an employee not in scope, a day with no schedule, periods the
// editor would refuse), DbError when the database refuses; nothing is written
// either way.
Result swap(Database &db, const QString &scope, const QString &operatorCode, const BoardCell &a,
            const BoardCell &b);

} // namespace SwapExchange
