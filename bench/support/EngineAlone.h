#pragma once

#include <QByteArray>

#include <span>
#include <vector>

struct sqlite3;
struct pg_conn;

// What an engine costs without us: statements run straight on its own handle,
// for the benchmarks to set our reading beside.
namespace Bench {

// A statement as the engine takes it, with its text parameters ($1, $2, ...).
struct EngineStatement
{
    QByteArray sql;
    std::vector<QByteArray> parameters;
};

// Steps each statement with its parameters bound and reads every value of every
// row; returns the rows. Raises Rt::DatabaseError.
int stepSqlite(sqlite3 *db, std::span<const EngineStatement> statements);
// Receives each statement's whole result, as libpq does before anyone reads it;
// returns the rows. Raises Rt::DatabaseError.
int receivePostgreSql(pg_conn *db, std::span<const EngineStatement> statements);

} // namespace Bench
