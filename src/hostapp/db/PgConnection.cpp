#include "PgConnection.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <libpq-fe.h>
#include <netdb.h>
#include <poll.h>
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
                      {}, DbFailure::PasswordInUri);
    }
}

// How long a desk waits for a server to answer: at a new connection, and for
// an unanswered packet or keepalive probe on an open one (tcp_user_timeout,
// keepalives every 2 s after 5 s of silence, given up after 3).
constexpr int connectTimeoutSeconds = 10;
constexpr const char *silenceTimeoutMs = "15000";

enum class Opening { Done, Failed, TimedOut };

// Connects as PQconnectdbParams would, but with the server's error codes in the
// message (verbose errors take effect only on a connection being opened), and
// within connectTimeoutSeconds, which libpq leaves to the caller here.
Opening open(pg_conn *conn)
{
    if (PQstatus(conn) == CONNECTION_BAD)
        return Opening::Failed;
    PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    const QDeadlineTimer deadline{std::chrono::seconds{connectTimeoutSeconds}};
    PostgresPollingStatusType polling = PGRES_POLLING_WRITING;
    while (polling == PGRES_POLLING_READING || polling == PGRES_POLLING_WRITING) {
        pollfd socket{PQsocket(conn), short(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT),
                      0};
        const int ready = ::poll(&socket, 1, int(deadline.remainingTime()));
        if (ready == 0)
            return Opening::TimedOut;
        if (ready < 0 && errno != EINTR)
            return Opening::Failed;
        polling = PQconnectPoll(conn);
    }
    return polling == PGRES_POLLING_OK ? Opening::Done : Opening::Failed;
}

// Whether a host name (not a socket folder) is known to the resolver.
bool unknownHost(const char *host)
{
    if (!host || !*host || *host == '/' || *host == '@')
        return false;
    addrinfo *found = nullptr;
    const int error = ::getaddrinfo(host, nullptr, nullptr, &found);
    if (found)
        ::freeaddrinfo(found);
    return error == EAI_NONAME || error == EAI_FAIL || error == EAI_NODATA;
}

// Why a connection could not be opened. The server's refusals carry their
// SQLSTATE in the verbose message ("FATAL:  3D000: ..."); without one, the
// client found no server.
DbFailure openingFailure(pg_conn *conn, Opening opening, const QString &message)
{
    if (opening == Opening::TimedOut)
        return DbFailure::ServerUnreachable;
    if (PQconnectionNeedsPassword(conn))
        return DbFailure::PasswordNeeded;
    static const QRegularExpression sqlState(u":  ([0-9A-Z]{5}): "_s);
    const QString state = sqlState.match(message).captured(1);
    if (state == u"3D000"_s)
        return DbFailure::NoSuchDatabase;
    if (state == u"28P01"_s)
        return DbFailure::WrongPassword;
    // The file's name stands in every language of the server's messages.
    if (state == u"28000"_s)
        return message.contains(u"pg_hba.conf"_s) ? DbFailure::DeskRefused : DbFailure::NoSuchRole;
    if (!state.isEmpty())
        return PgError::failureOf(state.toLatin1());
    return unknownHost(PQhost(conn)) ? DbFailure::UnknownHost : DbFailure::ServerUnreachable;
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
    if (sqlState == "57014")
        return DbFailure::Cancelled;
    // A privilege the role lacks, or a row outside its policies.
    if (sqlState == "42501")
        return DbFailure::NoPrivilege;
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

PgConnection::PgConnection(const QString &uri, std::function<void(PgConnection &)> setUp,
                           const std::optional<QString> &password)
    : m_uri(uri.toUtf8())
    , m_password(password ? std::optional(password->toUtf8()) : std::nullopt)
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
    // The URI overrides the keywords before it and not those after it: the host
    // notices a silent server in time unless told otherwise, and always reads
    // and writes UTF-8. A typed password comes last; none leaves libpq to look.
    const QByteArray timeout = QByteArray::number(connectTimeoutSeconds);
    const char *const keywords[] = {"connect_timeout",
                                    "keepalives",
                                    "keepalives_idle",
                                    "keepalives_interval",
                                    "keepalives_count",
                                    "tcp_user_timeout",
                                    "dbname",
                                    "client_encoding",
                                    "fallback_application_name",
                                    m_password ? "password" : nullptr,
                                    nullptr};
    const char *const values[] = {timeout.constData(),
                                  "1",
                                  "5",
                                  "2",
                                  "3",
                                  silenceTimeoutMs,
                                  m_uri.constData(),
                                  "UTF8",
                                  "talvex-host",
                                  m_password ? m_password->constData() : nullptr,
                                  nullptr};
    m_conn = PQconnectStartParams(keywords, values, 1);
    const Opening opening = open(m_conn);
    if (opening != Opening::Done) {
        const QString message = opening == Opening::TimedOut
                                    ? u"no answer within %1 s"_s.arg(connectTimeoutSeconds)
                                    : QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        const DbFailure failure = openingFailure(m_conn, opening, message);
        PQfinish(m_conn);
        m_conn = nullptr;
        throw PgError(u"Cannot connect to the database server: %1"_s.arg(message), {}, failure);
    }
    PQsetErrorVerbosity(m_conn, PQERRORS_DEFAULT);
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
    if (!PQsendQuery(m_conn, sql.toUtf8().constData()))
        return checked(nullptr, sql, PGRES_COMMAND_OK);
    return checked(resultOfSent(), sql, PGRES_COMMAND_OK);
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
    if (!PQsendQueryParams(m_conn, sql.toUtf8().constData(), int(values.size()), nullptr,
                           values.data(), nullptr, nullptr, 0)) {
        return checked(nullptr, sql, PGRES_COMMAND_OK);
    }
    return checked(resultOfSent(), sql, PGRES_COMMAND_OK);
}

void PgConnection::beginCopy(const QString &copyStatement)
{
    ensureOpen();
    if (!PQsendQuery(m_conn, copyStatement.toUtf8().constData()))
        checked(nullptr, copyStatement, PGRES_COPY_IN);
    checked(resultOfSent(), copyStatement, PGRES_COPY_IN);
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

pg_result *PgConnection::resultOfSent()
{
    PGresult *kept = nullptr;
    for (;;) {
        waitForAnswer();
        PGresult *next = PQgetResult(m_conn);
        if (!next)
            break;
        const bool failed = PQresultStatus(next) == PGRES_FATAL_ERROR;
        if (kept && PQresultStatus(kept) == PGRES_FATAL_ERROR && failed) {
            PQclear(next);
            continue;
        }
        PQclear(kept);
        kept = next;
        if (PQresultStatus(kept) == PGRES_COPY_IN || PQstatus(m_conn) == CONNECTION_BAD)
            break;
    }
    return kept;
}

bool PgConnection::answered()
{
    return !PQconsumeInput(m_conn) || !PQisBusy(m_conn);
}

void PgConnection::waitForAnswer()
{
    pollfd socket{PQsocket(m_conn), POLLIN, 0};
    const QDeadlineTimer slow(slowStatementMs);
    while (!answered()) {
        if (m_slow && slow.hasExpired()) {
            m_slow({socket.fd, [this] { return answered(); }, [this] { cancel(); }});
            while (!answered())
                ::poll(&socket, 1, -1);
            return;
        }
        ::poll(&socket, 1, m_slow ? int(slow.remainingTime()) : -1);
    }
}

void PgConnection::cancel()
{
    char error[256];
    if (PGcancel *request = PQgetCancel(m_conn)) {
        PQcancel(request, error, int(sizeof error));
        PQfreeCancel(request);
    }
}

QString PgConnection::quotedIdentifier(const QString &name)
{
    ensureOpen();
    const QByteArray utf8 = name.toUtf8();
    char *quoted = PQescapeIdentifier(m_conn, utf8.constData(), size_t(utf8.size()));
    if (!quoted)
        raiseConnectionError(u"Cannot quote the name %1"_s.arg(name));
    const QString text = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return text;
}

QString PgConnection::quotedLiteral(const QString &text)
{
    ensureOpen();
    const QByteArray utf8 = text.toUtf8();
    char *quoted = PQescapeLiteral(m_conn, utf8.constData(), size_t(utf8.size()));
    if (!quoted)
        raiseConnectionError(u"Cannot quote a text"_s);
    const QString literal = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return literal;
}

QString PgConnection::passwordVerifier(const QString &role, const QString &password)
{
    ensureOpen();
    char *verifier = PQencryptPasswordConn(m_conn, password.toUtf8().constData(),
                                           role.toUtf8().constData(), nullptr);
    if (!verifier)
        raiseConnectionError(u"Cannot hash the password of %1"_s.arg(role));
    const QString text = QString::fromUtf8(verifier);
    PQfreemem(verifier);
    return text;
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
