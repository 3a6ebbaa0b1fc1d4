#pragma once

#include "DbFailure.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>
#include <string_view>

struct pg_conn;
struct pg_result;

// A failure reported by PostgreSQL, sorted into a kind by its SQLSTATE unless
// the raiser knows better. The server's names of the constraint, table and
// column involved come along where it gives them.
class PgError : public DbError
{
public:
    struct Diagnostics
    {
        QByteArray sqlState;
        QString constraint;
        QString table;
        QString column;
    };

    PgError(const QString &message, Diagnostics diagnostics)
        : PgError(message, diagnostics, failureOf(diagnostics.sqlState))
    {}
    PgError(const QString &message, Diagnostics diagnostics, DbFailure failure)
        : DbError(message, failure)
        , m_diagnostics(std::move(diagnostics))
    {}

    const QByteArray &sqlState() const { return m_diagnostics.sqlState; }
    const Diagnostics &diagnostics() const { return m_diagnostics; }
    static DbFailure failureOf(const QByteArray &sqlState);

private:
    Diagnostics m_diagnostics;
};

// The result of one statement; cleared when it goes.
class PgResult
{
public:
    explicit PgResult(pg_result *result = nullptr)
        : m_result(result)
    {}
    PgResult(PgResult &&other) noexcept;
    PgResult &operator=(PgResult &&other) noexcept;
    ~PgResult();

    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;

    pg_result *get() const { return m_result; }
    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    // The type's OID (PgTypes in PgDataSetLoader.cpp).
    unsigned columnType(int column) const;
    // The OID of the table the column comes from; 0 for an expression.
    unsigned tableOf(int column) const;
    bool isNull(int row, int column) const;
    // The value in the server's text form, UTF-8.
    std::string_view value(int row, int column) const;
    QString text(int row, int column) const;
    // The rows an INSERT, UPDATE or DELETE changed.
    qint64 changedRows() const;

private:
    pg_result *m_result;
};

// One libpq connection. Every failure raises PgError; a connection that the
// server dropped is opened again before the next statement, unless a
// transaction was open on it: that transaction is gone, and the caller hears so.
//
// A statement whose answer takes longer than slowStatementMs is handed to the
// slow-statement handler, if one is set, which may let the operator cancel it.
class PgConnection
{
public:
    static constexpr int slowStatementMs = 2000;

    // A statement still running on the server.
    struct SlowStatement
    {
        int socket; // readable when more of the answer has come
        // Takes what has come; true once the answer is complete, or the
        // connection has broken.
        std::function<bool()> answered;
        // Asks the server to cancel the statement; it then answers with a
        // failure of kind Cancelled.
        std::function<void()> cancel;
    };
    // Returns once the statement is answered, or earlier: the connection then
    // waits for the answer without it.
    using SlowStatementHandler = std::function<void(const SlowStatement &)>;

    // The URI is a libpq connection URI. Its password, if any, is refused: it
    // would stand on a command line for everyone to see. libpq finds it in
    // PGPASSWORD or the password file instead, unless the operator typed one
    // (`password`, kept for reconnecting). setUp runs after every (re)connect.
    PgConnection(const QString &uri, std::function<void(PgConnection &)> setUp,
                 const std::optional<QString> &password = std::nullopt);
    ~PgConnection();

    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // One or more statements without parameters; the result of the last.
    PgResult exec(const QString &sql);
    // One statement; $1, $2, ... take the parameters in order, as text whose type
    // the server infers. A null QVariant is NULL.
    PgResult exec(const QString &sql, const QVariantList &parameters);

    // COPY ... FROM STDIN: start, send the data in pieces, end.
    void beginCopy(const QString &copyStatement);
    void putCopyData(const QByteArray &data);
    void endCopy();
    void abortCopy();

    // Whether the caller's transaction is open: set by the caller when it sends
    // BEGIN and ends it, cleared when the connection is lost with it.
    bool transactionOpen() const { return m_transactionOpen; }
    void setTransactionOpen(bool open) { m_transactionOpen = open; }
    // False once the server has dropped the connection, until the next statement
    // opens it again.
    bool isOpen() const;

    pg_conn *handle() const { return m_conn; }

    // A name or a text written into a statement as the server reads it
    // (PQescapeIdentifier, PQescapeLiteral), for the statements that take no
    // parameters, such as ALTER ROLE.
    QString quotedIdentifier(const QString &name);
    QString quotedLiteral(const QString &text);
    // What the server stores for the role's password, hashed here with the
    // server's own method (password_encryption), so that the password itself
    // never travels to the server nor stands in its log.
    QString passwordVerifier(const QString &role, const QString &password);

    void setSlowStatementHandler(SlowStatementHandler handler) { m_slow = std::move(handler); }

private:
    void connect();
    void ensureOpen();
    // The result of the statements sent, as PQexec gives it: the last one, or
    // the first failure.
    pg_result *resultOfSent();
    void waitForAnswer();
    bool answered();
    void cancel();
    PgResult checked(pg_result *result, const QString &sql, int expected);
    [[noreturn]] void raiseConnectionError(const QString &what) const;

    QByteArray m_uri;
    std::optional<QByteArray> m_password;
    std::function<void(PgConnection &)> m_setUp;
    SlowStatementHandler m_slow;
    pg_conn *m_conn = nullptr;
    bool m_transactionOpen = false;
};
