#pragma once

struct sqlite3;

namespace OracleSql {

// Registers on a connection the Oracle functions that SQLite lacks:
// regexp_replace(source, pattern [, replacement]) with Oracle's rules: a NULL
// source gives NULL, a NULL pattern gives the source unchanged, a NULL or missing
// replacement removes every match; \1 to \9 in the replacement stand for groups.
// Patterns are compiled once per statement and kept while it runs. Raises
// Rt::DatabaseError when SQLite refuses the registration.
void registerFunctions(sqlite3 *db);

} // namespace OracleSql
