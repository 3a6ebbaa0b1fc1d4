#include "Schema.h"

#include "Database.h"
#include "EngineSchemas.h"
#include "RuleStore.h"

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
    RuleStore::seedProfiles(db);
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
    TransactionScope transaction(db);
    if (onSqlite(db))
        SqliteSchema::upgrade(db);
    else
        PgSchema::upgrade(db);
    addRuleTables(db);
    transaction.commit();
}

void addRuleTables(Database &db)
{
    if (onSqlite(db))
        SqliteSchema::createMissingTables(db);
    else
        PgSchema::createMissingTables(db);
    if (db.nativeValue(u"SELECT count(*) FROM Kq_RuleProfile"_s) == u"0"_s)
        RuleStore::seedProfiles(db);
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

QString columnDefinition(const Column &column, const QString &type)
{
    QString line = column.name.toString() + u' ' + type;
    if (column.notNull)
        line += u" NOT NULL"_s;
    if (!column.defaultValue.isEmpty())
        line += u" DEFAULT "_s + column.defaultValue;
    if (column.unique)
        line += u" UNIQUE"_s;
    return line;
}

QString primaryKeyConstraint(const Table &table)
{
    QStringList key;
    for (QStringView column : table.primaryKey)
        key.append(column.toString());
    return u"CONSTRAINT %1 PRIMARY KEY (%2)"_s.arg(primaryKeyName(table), key.join(u", "_s));
}

QString columnList(const Table &table, QStringView prefix)
{
    QStringList names;
    for (const Column &column : table.columns)
        names.append(prefix + column.name);
    return names.join(u", "_s);
}

QString historyColumnList(bool after)
{
    QStringList names;
    for (const Column &column : exchangeTable().columns)
        names.append(historyColumn(column.name, after));
    return names.join(u", "_s);
}

void raiseForeign(const Database &db)
{
    throw DbError(
        u"%1 is not a Talvex database: it holds tables of another application"_s.arg(db.location()),
        onSqlite(db) ? DbFailure::NotADatabase : DbFailure::ForeignTables);
}

} // namespace Schema
