#pragma once

#include "Database.h"
#include "SqliteStatement.h"

#include <QHash>

struct sqlite3;

// The embedded database: one SQLite file, opened in WAL mode with a busy timeout
// so that two hosts on one machine can share it. Dates are stored as their
// "yyyy-mm-dd" texts and date-times as "yyyy-mm-dd hh:mm:ss", so that comparing
// texts orders them.
//
// The change history and the rights' triggers (SqliteRights.h) learn the
// session's operator through the SQL function host_operator(), which this
// connection defines; it also refuses every statement that would insert into
// the history itself.
class SqliteDatabase : public Database
{
public:
    // Opens the file, creating it when missing. ":memory:" opens a private
    // in-memory database.
    explicit SqliteDatabase(const QString &filePath);
    ~SqliteDatabase() override;

    DbBackend backend() const override { return DbBackend::Sqlite; }
    QString location() const override { return m_filePath; }

    TDataSet *openQuery(const QString &oracleSql) override;
    QString queryValue(const QString &oracleSql) override;
    bool execSql(const QString &oracleSql) override;

    bool inTransaction() const override;

    QStringList queryPlan(const QString &oracleSql) override;
    void setOperatorCode(const QString &code) override;

    std::unique_ptr<TDataSet> select(const QString &sql,
                                     const QVariantList &parameters = {}) override;
    qint64 execute(const QString &sql, const QVariantList &parameters) override;
    void execute(const QString &script) override;
    qint64 nextSequenceValue(const QString &sequence) override;
    std::unique_ptr<TableWriter> writeTable(const QString &table,
                                            const QStringList &columns) override;

    // Native SQLite, for what only this engine has.
    SqliteStatement prepare(const QString &sqliteSql);
    sqlite3 *handle() const { return m_db; }

protected:
    // Beginning takes the write lock at once, so that two hosts never deadlock
    // upgrading read locks.
    void beginEngineTransaction() override;
    void commitEngineTransaction() override;
    void rollbackEngineTransaction() override;

private:
    SqliteStatement prepareQuery(const QString &oracleSql);
    SqliteStatement prepareNative(const QString &sql, const QVariantList &parameters);
    [[noreturn]] void raiseStatementError(const SqliteError &error, const QString &oracleSql) const;

    QString m_filePath;
    sqlite3 *m_db = nullptr;
    // The rows each of the latest queries returned, by statement: a list runs
    // again after every change and on every refresh, with about as many rows.
    QHash<QString, int> m_rowsOfQuery;
    // What host_operator() returns; the connection owns it.
    QByteArray *m_operatorCode = nullptr;
};
