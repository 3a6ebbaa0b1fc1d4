#include "Schema.h"

#include "Database.h"
#include "EngineSchemas.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace Schema {

namespace {

bool onSqlite(const Database &db)
{
    return db.backend() == DbBackend::Sqlite;
}

} // namespace

State check(Database &db)
{
    return onSqlite(db) ? SqliteSchema::check(db) : PgSchema::check(db);
}

void create(Database &db)
{
    TransactionScope transaction(db);
    createTables(db);
    completeTables(db);
    transaction.commit();
}

void createTables(Database &db)
{
    if (onSqlite(db))
        SqliteSchema::createTables(db);
    else
        PgSchema::createTables(db);
}

void completeTables(Database &db)
{
    if (onSqlite(db))
        SqliteSchema::completeTables(db);
    else
        PgSchema::completeTables(db);
}

void upgrade(Database &db)
{
    // Only SQLite files of layout 1 exist: PostgreSQL came with layout 2.
    TransactionScope transaction(db);
    SqliteSchema::upgrade(db);
    transaction.commit();
}

void restartSequence(Database &db, qint64 nextValue)
{
    if (onSqlite(db))
        SqliteSchema::restartSequence(db, nextValue);
    else
        PgSchema::restartSequence(db, nextValue);
}

QString createIndexStatement(const Index &index)
{
    return u"CREATE %1INDEX %2 ON %3 (%4)"_s.arg(index.unique ? u"UNIQUE "_s : QString(),
                                                 index.name, index.table, index.columns);
}

QString columnList(const Table &table)
{
    QStringList names;
    for (const Column &column : table.columns)
        names.append(column.name.toString());
    return names.join(u", "_s);
}

} // namespace Schema
