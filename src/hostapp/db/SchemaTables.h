#pragma once

#include <QString>
#include <QStringView>
#include <span>

// The tables of the host's database, described once for both engines (each
// renders them in its own types: SqliteSchema.cpp, PgSchema.cpp).
namespace Schema {

enum class ColumnType {
    Id,       // a whole number that keys a row
    Integer,  // any other whole number
    Text,     //
    Date,     // a day without time
    DateTime, // a day and a time of day, to the second
    Serial,   // a key the database numbers itself
};

struct Column
{
    QStringView name;
    ColumnType type;
    bool notNull = false;
    QStringView defaultValue = {};
    bool unique = false;
};

struct Table
{
    QStringView name;
    std::span<const Column> columns;
    // Empty: no primary key.
    std::span<const QStringView> primaryKey = {};
    // SQLite keeps the rows in primary key order: the list of an employee's
    // exchanges then lies together on disk instead of scattered over the whole
    // table. (PostgreSQL keeps an order of its own: PgSchema.cpp.)
    bool clustered = false;
    // The working-time rules and coverage minima: read by every operator,
    // changed by those with the right to change the register.
    bool rulesData = false;
};

struct Index
{
    QStringView name;
    QStringView table;
    QStringView columns;
    bool unique;
};

// Every table, parents first.
std::span<const Table> tables();
// The secondary indexes; they serve the filters of every statement the module
// sends.
std::span<const Index> indexes();

// The table of shift exchanges, and the table that records every change of it.
const Table &exchangeTable();
const Table &exchangeHistoryTable();
// The history's column for a column of the exchange table, before or after
// the change: Old_<name> and New_<name>.
QString historyColumn(QStringView exchangeColumn, bool after);

// The name of a table's primary key constraint.
QString primaryKeyName(const Table &table);

// The column of that table as the description spells it, found regardless of
// case; a null QString when there is no such column.
QString spelling(QStringView table, QStringView column);

} // namespace Schema
