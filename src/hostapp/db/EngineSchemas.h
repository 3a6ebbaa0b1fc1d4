#pragma once

#include "Schema.h"
#include "SchemaTables.h"

#include <QString>

// What each engine does differently with the one layout (Schema.h): its column
// types, how it marks a database as ours, its sequence and its triggers.

namespace SqliteSchema {
Schema::State check(Database &db);
void createTables(Database &db);
void completeTables(Database &db);
void upgrade(Database &db);
void restartSequence(Database &db, qint64 nextValue);
} // namespace SqliteSchema

namespace PgSchema {
Schema::State check(Database &db);
void createTables(Database &db);
void completeTables(Database &db);
void restartSequence(Database &db, qint64 nextValue);
} // namespace PgSchema

namespace Schema {
// What both engines read alike.
QString createIndexStatement(const Index &index);
// The column names of a table, joined by commas.
QString columnList(const Table &table);
} // namespace Schema
