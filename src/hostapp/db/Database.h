#pragma once

#include "SqliteStatement.h"

#include <QString>
#include <QStringList>

struct QMetaObject;
struct sqlite3;
class TDataSet;
class TObjectHashedList;

// The host's database: one SQLite file, opened in WAL mode with a busy timeout
// so that two hosts can share it. The module's operations take Oracle SQL text
// and run its translation (OracleDialect.h); the native ones serve the schema,
// the demo data and tools.
//
// A Database is used by one thread at a time, as the host's user-interface
// thread uses it. Every failure raises Rt::DatabaseError whose message includes
// SQLite's. A statement that fails leaves the database as it was before it, also
// inside an open transaction, as in Oracle.
class Database
{
public:
    // Opens the file, creating it when missing. ":memory:" opens a private
    // in-memory database.
    explicit Database(const QString &filePath);
    ~Database();

    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &filePath() const { return m_filePath; }

    // The rows of a SELECT as a new data set, which the caller owns (see
    // DataSetLoader.h for the field types).
    TDataSet *openQuery(const QString &oracleSql);
    // The first column of the first row as text: a number as its decimal text,
    // NULL or no row at all as "".
    QString queryValue(const QString &oracleSql);
    // Executes an INSERT, UPDATE, DELETE or an anonymous block of them. True when
    // it ran; false when an UPDATE or DELETE found no row to change, which is how
    // an update of a record another operator deleted reports that nothing was
    // saved.
    bool execSql(const QString &oracleSql);

    // An explicit transaction around several execSql calls. Beginning takes the
    // write lock at once, so that two hosts never deadlock upgrading read locks.
    // Rolling back without an open transaction does nothing, since callers roll
    // back from error handlers that cannot tell how far they got.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const;

    // One new object of entityClass per row, in row order, made with its
    // invokable default constructor and keyed by its ID property. Each property
    // whose name matches a column, regardless of case, takes the column's value
    // in its own type: text, integer, or for a double a date-time as days since
    // 1899-12-30. NULL gives the empty value. The caller owns the list.
    TObjectHashedList *queryObjectList(const QMetaObject &entityClass, const QString &oracleSql);

    // The lines of SQLite's EXPLAIN QUERY PLAN for the translation of a SELECT.
    QStringList queryPlan(const QString &oracleSql);

    // Native SQLite.
    SqliteStatement prepare(const QString &sqliteSql);
    // The first column of the first row as text; a null QString when NULL or no row.
    QString nativeValue(const QString &sqliteSql);
    // Runs one or more native statements separated by semicolons.
    void execute(const QString &sqliteSql);
    sqlite3 *handle() const { return m_db; }

private:
    SqliteStatement prepareQuery(const QString &oracleSql);
    qint64 nextSequenceValue(const QString &sequence);
    [[noreturn]] void raiseStatementError(const SqliteError &error, const QString &oracleSql) const;

    QString m_filePath;
    sqlite3 *m_db = nullptr;
};
