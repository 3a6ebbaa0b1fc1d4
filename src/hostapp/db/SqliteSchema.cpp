// The layout on SQLite: dates as "yyyy-mm-dd" texts and date-times as
// "yyyy-mm-dd hh:mm:ss", declared DATE and DATETIME so that queries read them as
// date-times; the version in the file's user_version, the application in its
// application_id; SEQ_OCID as a row of Sys_Sequence.

#include "Database.h"
#include "EngineSchemas.h"
#include "OracleDialect.h"
#include "SqliteRights.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SqliteSchema {

namespace {

using Schema::Column;
using Schema::ColumnType;
using Schema::Table;

// Marks the file as this application's (application_id).
constexpr int applicationId = 0x54564C58;

QString typeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Id:
    case ColumnType::Integer:
    case ColumnType::Serial:
        return u"INTEGER"_s;
    case ColumnType::Text:
        return u"TEXT"_s;
    case ColumnType::Date:
        return u"DATE"_s;
    case ColumnType::DateTime:
        return u"DATETIME"_s;
    }
    return QString();
}

// A key of one whole-number column is the row's own number (rowid); any other
// key is a constraint, and a clustered one keeps the rows in its order.
bool keyIsRowId(const Table &table)
{
    if (table.primaryKey.size() != 1)
        return false;
    for (const Column &column : table.columns) {
        if (column.name == table.primaryKey.front())
            return column.type == ColumnType::Id || column.type == ColumnType::Serial;
    }
    return false;
}

QString createTableStatement(const Table &table, QStringView name)
{
    const bool rowIdKey = keyIsRowId(table);
    QStringList lines;
    for (const Column &column : table.columns) {
        const QString type = typeOf(column.type);
        lines.append(rowIdKey && column.name == table.primaryKey.front()
                         ? column.name + u' ' + type + u" PRIMARY KEY"_s
                         : Schema::columnDefinition(column, type));
    }
    if (!table.primaryKey.empty() && !rowIdKey)
        lines.append(Schema::primaryKeyConstraint(table));
    return u"CREATE TABLE %1 (\n    %2)%3"_s.arg(name, lines.join(u",\n    "_s),
                                                 table.clustered && !rowIdKey ? u" WITHOUT ROWID"_s
                                                                              : QString());
}

QString indexesOf(QStringView table)
{
    QStringList statements;
    for (const Schema::Index &index : Schema::indexes()) {
        if (index.table == table)
            statements.append(Schema::createIndexStatement(index));
    }
    return statements.join(u";\n"_s);
}

// One trigger per kind of change; host_operator() is the session's operator.
QString historyTriggers()
{
    const QString exchange = Schema::exchangeTable().name.toString();
    const QString history = Schema::exchangeHistoryTable().name.toString();
    const QString clock = OracleSql::databaseClock(OracleSql::Target::Sqlite);
    const QString record = u"INSERT INTO %1 (ChangedAt, ChangeKind, OperatorCode, %2)"
                           u" VALUES (%3, '%4', host_operator(), %5);"_s;
    const QString oldColumns = Schema::historyColumnList(false);
    const QString newColumns = Schema::historyColumnList(true);
    const QString both = oldColumns + u", "_s + newColumns;
    const QString oldValues = Schema::columnList(Schema::exchangeTable(), u"OLD.");
    const QString newValues = Schema::columnList(Schema::exchangeTable(), u"NEW.");
    const QString refusal = u"SELECT RAISE(ABORT, 'The change history of the shift exchanges"
                            u" cannot be changed');"_s;
    return u"CREATE TRIGGER TR_ExchangeClass_Insert AFTER INSERT ON %1 BEGIN %2 END;\n"
           u"CREATE TRIGGER TR_ExchangeClass_Update AFTER UPDATE ON %1 BEGIN %3 END;\n"
           u"CREATE TRIGGER TR_ExchangeClass_Delete AFTER DELETE ON %1 BEGIN %4 END;\n"
           u"CREATE TRIGGER TR_ExchangeHistory_NoUpdate BEFORE UPDATE ON %5 BEGIN %6 END;\n"
           u"CREATE TRIGGER TR_ExchangeHistory_NoDelete BEFORE DELETE ON %5 BEGIN %6 END"_s.arg(
               exchange, record.arg(history, newColumns, clock, u"INSERT"_s, newValues),
               record.arg(history, both, clock, u"UPDATE"_s, oldValues + u", "_s + newValues),
               record.arg(history, oldColumns, clock, u"DELETE"_s, oldValues), history, refusal);
}

void createHistory(Database &db)
{
    const Table &history = Schema::exchangeHistoryTable();
    db.execute(createTableStatement(history, history.name) + u";\n"_s + indexesOf(history.name)
               + u";\n"_s + historyTriggers());
}

// The password hash (auth/PasswordHash.h), the failed sign-ins since the last
// that succeeded, and when the latest failed.
QString signInColumns()
{
    return u"ALTER TABLE Sys_Operator ADD COLUMN PasswordHash TEXT;\n"
           u"ALTER TABLE Sys_Operator ADD COLUMN FailedSignIns INTEGER NOT NULL DEFAULT 0;\n"
           u"ALTER TABLE Sys_Operator ADD COLUMN LastFailedSignIn DATETIME"_s;
}

void analyze(Database &db)
{
    // Statistics, so that the planner knows a department scope from a day and
    // an employee's rows from the whole table.
    db.execute(u"PRAGMA analysis_limit = 1000; ANALYZE"_s);
}

} // namespace

Schema::State check(Database &db)
{
    const int fileVersion = db.nativeValue(u"PRAGMA user_version"_s).toInt();
    const int application = db.nativeValue(u"PRAGMA application_id"_s).toInt();
    if (fileVersion == 0 && application == 0
        && db.nativeValue(u"SELECT count(*) FROM sqlite_schema"_s) == u"0"_s) {
        return Schema::State::Empty;
    }
    if (application != applicationId)
        Schema::raiseForeign(db);
    if (fileVersion > Schema::version || fileVersion < 1) {
        throw DbError(
            u"%1 has database layout %2; this program reads layouts 1 to %3"_s.arg(db.location())
                .arg(fileVersion)
                .arg(Schema::version),
            DbFailure::NotADatabase);
    }
    return fileVersion == Schema::version ? Schema::State::Current : Schema::State::Older;
}

void createTables(Database &db)
{
    QStringList statements;
    for (const Table &table : Schema::tables()) {
        if (table.name != Schema::exchangeHistoryTable().name)
            statements.append(createTableStatement(table, table.name));
    }
    // NextValue is the value the next nextval returns.
    statements.append(u"CREATE TABLE Sys_Sequence (SeqName TEXT PRIMARY KEY,"
                      u" NextValue INTEGER NOT NULL) WITHOUT ROWID"_s);
    statements.append(u"INSERT INTO Sys_Sequence (SeqName, NextValue) VALUES ('SEQ_OCID', 1)"_s);
    statements.append(signInColumns());
    statements.append(u"PRAGMA application_id = %1; PRAGMA user_version = %2"_s.arg(applicationId)
                          .arg(Schema::version));
    db.execute(statements.join(u";\n"_s));
}

void completeTables(Database &db)
{
    QStringList statements;
    for (const Schema::Index &index : Schema::indexes()) {
        if (index.table != Schema::exchangeHistoryTable().name)
            statements.append(Schema::createIndexStatement(index));
    }
    db.execute(statements.join(u";\n"_s));
    createHistory(db);
    db.execute(SqliteRights::triggers());
    analyze(db);
}

namespace {

// Layout 1 to 2: the exchanges move into a table kept in employee and day
// order, the department index loses the employee's code, and the history
// begins.
void upgradeToLayout2(Database &db)
{
    const Table &exchange = Schema::exchangeTable();
    const QString columns = Schema::columnList(exchange);
    const QString rebuilt = exchange.name.toString() + u"_rebuilt"_s;
    db.execute(createTableStatement(exchange, rebuilt) + u";\n"_s
               + u"INSERT INTO %1 (%2) SELECT %2 FROM %3 ORDER BY EmployeeCode, ExchgDate;\n"
                 u"DROP TABLE %3;\n"
                 u"ALTER TABLE %1 RENAME TO %3;\n"_s.arg(rebuilt, columns, exchange.name)
               + indexesOf(exchange.name));
    for (const Schema::Index &index : Schema::indexes()) {
        if (index.name == u"IX_Employee_Dept")
            db.execute(u"DROP INDEX %1; %2"_s.arg(index.name, Schema::createIndexStatement(index)));
    }
    createHistory(db);
    analyze(db);
}

} // namespace

// Layout 2 to 3: the operators' sign-in, and the rights that the database
// enforces. Their first passwords are given when the host next signs someone in
// (auth/OperatorPasswords.h). Layout 4
// adds the working-time rules' tables, on both engines (Schema::upgrade).
void upgrade(Database &db)
{
    const int layout = db.nativeValue(u"PRAGMA user_version"_s).toInt();
    if (layout < 2)
        upgradeToLayout2(db);
    if (layout < 3) {
        db.execute(signInColumns());
        db.execute(SqliteRights::triggers());
    }
    db.execute(u"PRAGMA user_version = %1"_s.arg(Schema::version));
}

void createMissingTables(Database &db)
{
    QStringList statements;
    for (const Table &table : Schema::tables()) {
        if (db.nativeValue(u"SELECT count(*) FROM sqlite_schema WHERE type = 'table'"
                           u" AND name = $1 COLLATE NOCASE"_s,
                           {table.name.toString()})
            == u"0"_s) {
            statements.append(createTableStatement(table, table.name));
        }
    }
    if (!statements.isEmpty())
        db.execute(statements.join(u";\n"_s));
}

void restartSequence(Database &db, qint64 nextValue)
{
    db.execute(u"UPDATE Sys_Sequence SET NextValue = $1 WHERE SeqName = 'SEQ_OCID'"_s, {nextValue});
}

} // namespace SqliteSchema
