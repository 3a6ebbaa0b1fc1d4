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
void createMissingTables(Database &db);
void restartSequence(Database &db, qint64 nextValue);
} // namespace SqliteSchema

namespace PgSchema {
Schema::State check(Database &db);
void createTables(Database &db);
void completeTables(Database &db);
void upgrade(Database &db);
void createMissingTables(Database &db);
void restartSequence(Database &db, qint64 nextValue);
// The search path of the functions that run with the owner's rights: the
// schema of the tables, then nothing any other role could create objects in.
QString functionSearchPath(Database &db);
// The functions, policies and privileges that keep each operator to his rights
// (PgRights.cpp).
QString operatorRights(const QString &searchPath);
} // namespace PgSchema

namespace Schema {
// What both engines read alike.
QString createIndexStatement(const Index &index);
// A column's definition in a CREATE TABLE, its type as the engine writes it.
QString columnDefinition(const Column &column, const QString &type);
// The table's primary key as a named constraint.
QString primaryKeyConstraint(const Table &table);
// The column names of a table, each after prefix, joined by commas.
QString columnList(const Table &table, QStringView prefix = {});
// The history's columns of every exchange column, before or after the change.
QString historyColumnList(bool after);
// Raises NotADatabase: db holds tables of another application.
[[noreturn]] void raiseForeign(const Database &db);
} // namespace Schema
