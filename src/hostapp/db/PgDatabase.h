#pragma once

#include "Database.h"
#include "PgConnection.h"

#include <QHash>

// A PostgreSQL database on a server that several desks share, reached through
// libpq with a connection URI (postgresql://USER@HOST:PORT/DBNAME). The
// session reads dates in ISO form and waits at most lock_timeout for another
// desk's locks (then fails as Busy). Its operator is the login role the server
// signed in: the change history records that role (PgRights.cpp).
//
// A failing statement inside an open transaction is undone alone, through a
// savepoint, so that the transaction goes on as it would in Oracle (PostgreSQL
// itself would abort all of it).
class PgDatabase : public Database
{
public:
    // password: one the operator typed, when libpq found none (PgConnection).
    explicit PgDatabase(const QString &uri, const std::optional<QString> &password = std::nullopt);
    ~PgDatabase() override;

    DbBackend backend() const override { return DbBackend::PostgreSql; }
    QString location() const override { return m_uri; }

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

    PgConnection &connection() { return m_connection; }

    // How long a statement waits for another desk's lock before it fails.
    static constexpr int lockTimeoutMs = 5000;

protected:
    void beginEngineTransaction() override;
    void commitEngineTransaction() override;
    void rollbackEngineTransaction() override;

private:
    void setUpSession(PgConnection &connection);
    PgResult runQuery(const QString &oracleSql);
    std::unique_ptr<TDataSet> load(const PgResult &result);
    QString fieldName(const PgResult &result, int column);
    [[noreturn]] void raiseStatementError(const PgError &error, const QString &sql) const;

    QString m_uri;
    PgConnection m_connection;
    QHash<unsigned, QString> m_tableNames; // by OID
};
