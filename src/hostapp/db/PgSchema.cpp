// The layout on PostgreSQL: dates as date, date-times as timestamp(0), the
// version in the table Sys_SchemaVersion, SEQ_OCID a real sequence. Tables
// kept in key order are clustered on their key once filled.

#include "Database.h"
#include "EngineSchemas.h"
#include "OracleDialect.h"

#include "runtime/dataset.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace PgSchema {

namespace {

using Schema::Column;
using Schema::ColumnType;
using Schema::Table;

const QString application = u"Talvex"_s;

QString typeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Id:
        return u"bigint"_s;
    case ColumnType::Integer:
        return u"integer"_s;
    case ColumnType::Text:
        return u"text"_s;
    case ColumnType::Date:
        return u"date"_s;
    case ColumnType::DateTime:
        return u"timestamp(0)"_s;
    case ColumnType::Serial:
        return u"bigint GENERATED ALWAYS AS IDENTITY"_s;
    }
    return QString();
}

QString createTableStatement(const Table &table)
{
    QStringList lines;
    for (const Column &column : table.columns)
        lines.append(Schema::columnDefinition(column, typeOf(column.type)));
    if (!table.primaryKey.empty())
        lines.append(Schema::primaryKeyConstraint(table));
    return u"CREATE TABLE %1 (\n    %2)"_s.arg(table.name, lines.join(u",\n    "_s));
}

// One function records every kind of change: OLD is NULL for an insert, NEW for
// a delete. The operator is the login role of the session, which no setting of
// the session changes. Operators hold no privilege on the history: the function
// writes it with its owner's rights, on a search path no operator can put
// objects into. Every statement that would change or empty the history is
// refused, also one that its policies leave no row to change.
QString historyTriggers(const QString &searchPath)
{
    const QString exchange = Schema::exchangeTable().name.toString();
    const QString history = Schema::exchangeHistoryTable().name.toString();
    const QString clock = OracleSql::databaseClock(OracleSql::Target::PostgreSql);
    return uR"sql(
CREATE FUNCTION Kq_ExchangeClass_RecordChange() RETURNS trigger LANGUAGE plpgsql
    SECURITY DEFINER SET search_path = %8 AS $$
BEGIN
    INSERT INTO %1 (ChangedAt, ChangeKind, OperatorCode, %2, %3)
    VALUES (%4, TG_OP, session_user, %5, %6);
    RETURN NULL;
END $$;
CREATE TRIGGER TR_ExchangeClass_Record AFTER INSERT OR UPDATE OR DELETE ON %7
    FOR EACH ROW EXECUTE FUNCTION Kq_ExchangeClass_RecordChange();
CREATE FUNCTION Kq_ExchangeClassHistory_Refuse() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    RAISE EXCEPTION 'The change history of the shift exchanges cannot be changed'
        USING ERRCODE = 'insufficient_privilege';
END $$;
CREATE TRIGGER TR_ExchangeHistory_Keep BEFORE UPDATE OR DELETE OR TRUNCATE ON %1
    FOR EACH STATEMENT EXECUTE FUNCTION Kq_ExchangeClassHistory_Refuse())sql"_s.arg(
        history, Schema::historyColumnList(false), Schema::historyColumnList(true), clock,
        Schema::columnList(Schema::exchangeTable(), u"OLD."),
        Schema::columnList(Schema::exchangeTable(), u"NEW."), exchange, searchPath);
}

} // namespace

Schema::State check(Database &db)
{
    const QString relations =
        db.nativeValue(u"SELECT count(*) FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n"
                       u" ON n.oid = c.relnamespace WHERE n.nspname = current_schema()"
                       u" AND c.relkind IN ('r', 'p', 'v', 'm', 'S', 'f')"_s);
    if (relations == u"0"_s)
        return Schema::State::Empty;
    const std::unique_ptr<TDataSet> mark =
        db.nativeValue(u"SELECT to_regclass('sys_schemaversion')"_s).isNull()
            ? nullptr
            : db.select(u"SELECT Application, Version FROM Sys_SchemaVersion"_s);
    if (!mark || mark->recordCount() != 1 || mark->asString(0, 0) != application)
        Schema::raiseForeign(db);
    const qint64 version = mark->asInteger(0, 1);
    // PostgreSQL came with layout 2.
    if (version >= 2 && version < Schema::version)
        return Schema::State::Older;
    if (version != Schema::version) {
        throw DbError(
            u"%1 has database layout %2; this program reads layouts 2 to %3"_s.arg(db.location())
                .arg(version)
                .arg(Schema::version),
            DbFailure::NotADatabase);
    }
    return Schema::State::Current;
}

void createTables(Database &db)
{
    QStringList statements = {
        u"CREATE TABLE Sys_SchemaVersion (Application text NOT NULL, Version integer NOT NULL)"_s,
        u"INSERT INTO Sys_SchemaVersion VALUES ('%1', %2)"_s.arg(application).arg(Schema::version),
        u"CREATE SEQUENCE SEQ_OCID"_s,
    };
    for (const Table &table : Schema::tables()) {
        if (table.name != Schema::exchangeHistoryTable().name)
            statements.append(createTableStatement(table));
    }
    db.execute(statements.join(u";\n"_s));
}

void completeTables(Database &db)
{
    const Table &history = Schema::exchangeHistoryTable();
    QStringList statements;
    statements.append(createTableStatement(history));
    for (const Schema::Index &index : Schema::indexes())
        statements.append(Schema::createIndexStatement(index));
    const QString searchPath = functionSearchPath(db);
    statements.append(historyTriggers(searchPath));
    statements.append(operatorRights(searchPath));
    // Order on disk, then statistics for the planner.
    QStringList names;
    for (const Table &table : Schema::tables()) {
        names.append(table.name.toString());
        if (table.clustered)
            statements.append(
                u"CLUSTER %1 USING %2"_s.arg(table.name, Schema::primaryKeyName(table)));
    }
    statements.append(u"ANALYZE "_s + names.join(u", "_s));
    db.execute(statements.join(u";\n"_s));
}

// Layouts 2 and 3 recorded the session's setting talvex.operator in the history
// and held no role to any right. The history's triggers and every right are set
// up afresh, as on a new database, once the tables they cover are all there:
// what an earlier layout had of them goes first (its functions with the
// triggers and policies that use them, then any policy left).
void upgrade(Database &db)
{
    createMissingTables(db);
    db.execute(u"DROP FUNCTION IF EXISTS Kq_ExchangeClass_RecordChange(),"
               u" Kq_ExchangeClassHistory_Refuse(), Talvex_RequireChangeLevel(),"
               u" Talvex_RightLevel(), Talvex_ScopeEmployees() CASCADE"_s);
    const std::unique_ptr<TDataSet> policies =
        db.select(u"SELECT format('DROP POLICY %I ON %I', policyname, tablename)"
                  u" FROM pg_catalog.pg_policies WHERE schemaname = current_schema()"_s);
    QStringList statements;
    for (int r = 0; r < policies->recordCount(); ++r)
        statements.append(policies->asString(r, 0));
    const QString searchPath = functionSearchPath(db);
    statements.append(historyTriggers(searchPath));
    statements.append(operatorRights(searchPath));
    statements.append(u"UPDATE Sys_SchemaVersion SET Version = %1"_s.arg(Schema::version));
    db.execute(statements.join(u";\n"_s));
}

void createMissingTables(Database &db)
{
    QStringList statements;
    for (const Table &table : Schema::tables()) {
        if (db.nativeValue(u"SELECT to_regclass($1)::text"_s, {table.name.toString().toLower()})
                .isNull()) {
            statements.append(createTableStatement(table));
        }
    }
    if (!statements.isEmpty())
        db.execute(statements.join(u";\n"_s));
}

void restartSequence(Database &db, qint64 nextValue)
{
    db.execute(u"SELECT setval('seq_ocid', $1, false)"_s, {nextValue});
}

} // namespace PgSchema
