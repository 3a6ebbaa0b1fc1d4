#pragma once

#include "DbFailure.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement that finalizes itself. Parameters are bound by
// position (1-based), so values never become part of the statement text. Every
// failure raises SqliteError with SQLite's message.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const QString &sql);
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    SqliteStatement &bind(int index, const QString &text); // a null QString binds NULL
    SqliteStatement &bind(int index, qint64 value);
    SqliteStatement &bind(int index, int value) { return bind(index, qint64(value)); }
    SqliteStatement &bind(int index, double value);
    SqliteStatement &bindNull(int index);

    // Advances to the next row; false when there is none left.
    bool step();
    // Runs the statement to its end, ignoring rows.
    void run();
    // Makes the statement ready to run again; bindings stay.
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL of the
    // current row's value.
    int columnType(int column) const;
    bool isNull(int column) const;
    qint64 columnInt64(int column) const;
    double columnDouble(int column) const;
    // NULL reads as a null QString.
    QString columnText(int column) const;

    sqlite3_stmt *handle() const { return m_statement; }

private:
    [[noreturn]] void raise(const QString &what) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
};

// A failure reported by SQLite, with its extended result code, sorted into a
// kind by that code unless the raiser knows better.
class SqliteError : public DbError
{
public:
    SqliteError(const QString &message, int code)
        : SqliteError(message, code, failureOf(code, message))
    {}
    SqliteError(const QString &message, int code, DbFailure failure)
        : DbError(message, failure)
        , m_code(code)
    {}
    int code() const { return m_code; }
    // The kind of failure by SQLite's code; a refusal of the rights' triggers
    // (SqliteRights.h) by its message.
    static DbFailure failureOf(int code, const QString &message);

private:
    int m_code;
};

// Raises SqliteError: what, then SQLite's current message for db.
[[noreturn]] void raiseSqliteError(sqlite3 *db, const QString &what);
