#include "PgConnection.h"

#include <libpq-fe.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString fieldOf(const PGresult *result, int field)
{
    return QString::fromUtf8(PQresultErrorField(result, field));
}

// The server's message and its detail, without libpq's "ERROR:" framing.
QString messageOf(const PGresult *result)
{
    QString message = fieldOf(result, PG_DIAG_MESSAGE_PRIMARY);
    if (message.isEmpty())
        return QString::fromUtf8(PQresultErrorMessage(result)).trimmed();
    const QString detail = fieldOf(result, PG_DIAG_MESSAGE_DETAIL);
    if (!detail.isEmpty())
        message += u" ("_s + detail + u')';
    return message;
}

void refusePassword(const QByteArray &uri)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(uri.constData(), &error);
    if (!options) {
        const QString message = error ? QString::fromUtf8(error).trimmed() : u"out of memory"_s;
        PQfreemem(error);
        throw PgError(u"Not a PostgreSQL connection URI: %1"_s.arg(message), {},
                      DbFailure::Statement);
    }
    bool hasPassword = false;
    for (PQconninfoOption *option = options; option->keyword; ++option) {
        if (qstrcmp(option->keyword, "password") == 0 && option->val && *option->val)
            hasPassword = true;
    }
    PQconninfoFree(options);
    if (hasPassword) {
        throw PgError(u"The database URI must not hold the password: put it into PGPASSWORD or"
                      u" the password file ~/.pgpass instead"_s,
                      {}, DbFailure::Statement);
    }
}

} // namespace

DbFailure PgError::failureOf(const QByteArray &sqlState)
{
    // Class 08 is the connection's; 57P01 to 57P03 a server shutting down or
    // starting.
    if (sqlState.startsWith("08") || sqlState == "57P01" || sqlState == "57P02"
        || sqlState == "57P03") {
        return DbFailure::ConnectionLost;
    }
    // A lock waited for longer than lock_timeout, or a conflict with another
    // desk's transaction.
    if (sqlState == "55P03" || sqlState == "40001" || sqlState == "40P01")
        return DbFailure::Busy;
    if (sqlState == "53100")
        return DbFailure::DiskFull;
    if (sqlState == "XX001" || sqlState == "XX002")
        return DbFailure::Damaged;
    return DbFailure::Statement;
}

PgResult::PgResult(PgResult &&other) noexcept
    : m_result(std::exchange(other.m_result, nullptr))
{}

PgResult &PgResult::operator=(PgResult &&other) noexcept
{
    std::swap(m_result, other.m_result);
    return *this;
}

PgResult::~PgResult()
{
    PQclear(m_result);
}

int PgResult::rowCount() const
{
    return PQntuples(m_result);
}

int PgResult::columnCount() const
{
    return PQnfields(m_result);
}

QString PgResult::columnName(int column) const
{
    return QString::fromUtf8(PQfname(m_result, column));
}

unsigned PgResult::columnType(int column) const
{
    return PQftype(m_result, column);
}

unsigned PgResult::tableOf(int column) const
{
    return PQftable(m_result, column);
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(m_result, row, column) != 0;
}

std::string_view PgResult::value(int row, int column) const
{
    return {PQgetvalue(m_result, row, column), size_t(PQgetlength(m_result, row, column))};
}

QString PgResult::text(int row, int column) const
{
    if (isNull(row, column))
        return QString();
    const std::string_view bytes = value(row, column);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

qint64 PgResult::changedRows() const
{
    return QByteArray(PQcmdTuples(m_result)).toLongLong();
}

PgConnection::PgConnection(const QString &uri, std::function<void(PgConnection &)> setUp)
    : m_uri(uri.toUtf8())
    , m_setUp(std::move(setUp))
{
    refusePassword(m_uri);
    connect();
}

PgConnection::~PgConnection()
{
    PQfinish(m_conn);
}

void PgConnection::connect()
{
    // Later keywords override what the URI says: the host reads and writes UTF-8.
    const char *const keywords[] = {"dbname", "client_encoding", "fallback_application_name",
                                    nullptr};
    const char *const values[] = {m_uri.constData(), "UTF8", "talvex-host", nullptr};
    m_conn = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw PgError(u"Cannot connect to the database server: %1"_s.arg(message), {},
                      DbFailure::ConnectionLost);
    }
    m_setUp(*this);
}

void PgConnection::ensureOpen()
{
    if (isOpen())
        return;
    const bool lostTransaction = std::exchange(m_transactionOpen, false);
    PQfinish(m_conn);
    m_conn = nullptr;
    connect();
    if (lostTransaction) {
        throw PgError(u"The connection to the database server was lost; the open transaction"
                      u" was rolled back"_s,
                      {}, DbFailure::ConnectionLost);
    }
}

PgResult PgConnection::exec(const QString &sql)
{
    ensureOpen();
    return checked(PQexec(m_conn, sql.toUtf8().constData()), sql, PGRES_COMMAND_OK);
}

PgResult PgConnection::exec(const QString &sql, const QVariantList &parameters)
{
    ensureOpen();
    std::vector<QByteArray> texts;
    std::vector<const char *> values;
    texts.reserve(size_t(parameters.size()));
    for (const QVariant &parameter : parameters) {
        if (parameter.isNull()) {
            values.push_back(nullptr);
            continue;
        }
        texts.push_back(parameter.metaType().id() == QMetaType::Bool
                            ? QByteArray(parameter.toBool() ? "1" : "0")
                            : parameter.toString().toUtf8());
        values.push_back(texts.back().constData());
    }
    return checked(PQexecParams(m_conn, sql.toUtf8().constData(), int(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0),
                   sql, PGRES_COMMAND_OK);
}

void PgConnection::beginCopy(const QString &copyStatement)
{
    ensureOpen();
    checked(PQexec(m_conn, copyStatement.toUtf8().constData()), copyStatement, PGRES_COPY_IN);
}

void PgConnection::putCopyData(const QByteArray &data)
{
    if (PQputCopyData(m_conn, data.constData(), int(data.size())) != 1)
        raiseConnectionError(u"Cannot send rows to the server"_s);
}

void PgConnection::endCopy()
{
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        raiseConnectionError(u"Cannot end sending rows"_s);
    // The COPY's own result, then nothing.
    PgResult result = checked(PQgetResult(m_conn), u"COPY"_s, PGRES_COMMAND_OK);
    while (PGresult *more = PQgetResult(m_conn))
        PQclear(more);
}

void PgConnection::abortCopy()
{
    if (PQputCopyEnd(m_conn, "abandoned") != 1)
        return;
    while (PGresult *result = PQgetResult(m_conn))
        PQclear(result);
}

bool PgConnection::isOpen() const
{
    return m_conn && PQstatus(m_conn) == CONNECTION_OK;
}

PgResult PgConnection::checked(pg_result *raw, const QString &sql, int expected)
{
    PgResult result(raw);
    if (!raw)
        raiseConnectionError(u"No answer to %1"_s.arg(sql.simplified()));
    const ExecStatusType status = PQresultStatus(raw);
    if (status == expected || status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK
        || status == PGRES_EMPTY_QUERY) {
        return result;
    }
    PgError::Diagnostics diagnostics{
        PQresultErrorField(raw, PG_DIAG_SQLSTATE),
        fieldOf(raw, PG_DIAG_CONSTRAINT_NAME),
        fieldOf(raw, PG_DIAG_TABLE_NAME),
        fieldOf(raw, PG_DIAG_COLUMN_NAME),
    };
    // A connection that broke in the middle gives no SQLSTATE of its own.
    const DbFailure failure = PQstatus(m_conn) == CONNECTION_BAD
                                  ? DbFailure::ConnectionLost
                                  : PgError::failureOf(diagnostics.sqlState);
    if (failure == DbFailure::ConnectionLost)
        m_transactionOpen = false;
    throw PgError(messageOf(raw), std::move(diagnostics), failure);
}

void PgConnection::raiseConnectionError(const QString &what) const
{
    const bool lost = !m_conn || PQstatus(m_conn) == CONNECTION_BAD;
    throw PgError(what + u": "_s + QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(), {},
                  lost ? DbFailure::ConnectionLost : DbFailure::Statement);
}
