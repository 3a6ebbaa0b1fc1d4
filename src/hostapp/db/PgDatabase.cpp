#include "PgDatabase.h"

#include "ExchangeConstraints.h"
#include "OracleDialect.h"
#include "PgDataSetLoader.h"
#include "SchemaTables.h"

#include "runtime/dataset.h"

#include <QDateTime>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

constexpr OracleSql::Target target = OracleSql::Target::PostgreSql;

// Keeps one statement, or the statements of one block, a unit: inside the
// caller's transaction a savepoint undoes a failure alone; outside, a block
// gets a transaction of its own (a single statement is one already). Rolls back
// unless committed.
class StatementScope
{
public:
    StatementScope(PgConnection &connection, bool severalStatements)
        : m_connection(connection)
        , m_nested(connection.transactionOpen())
        , m_active(m_nested || severalStatements)
    {
        if (m_active)
            m_connection.exec(m_nested ? u"SAVEPOINT exec_sql"_s : u"BEGIN"_s);
    }

    ~StatementScope()
    {
        // A connection that broke took its transaction with it; errors here
        // would hide the one that brought us here.
        if (!m_active || m_done || !m_connection.isOpen())
            return;
        try {
            m_connection.exec(m_nested ? u"ROLLBACK TO SAVEPOINT exec_sql;"
                                         u" RELEASE SAVEPOINT exec_sql"_s
                                       : u"ROLLBACK"_s);
        } catch (const DbError &) {
        }
    }

    void commit()
    {
        if (m_active)
            m_connection.exec(m_nested ? u"RELEASE SAVEPOINT exec_sql"_s : u"COMMIT"_s);
        m_done = true;
    }

private:
    PgConnection &m_connection;
    const bool m_nested;
    const bool m_active;
    bool m_done = false;
};

// The constraint the server's diagnostics name: a primary key by its name (the
// schema's PK_<table>), a required column by its table and column.
std::optional<ExchangeConstraints::Broken> brokenConstraint(const PgError::Diagnostics &diagnostics)
{
    using Broken = ExchangeConstraints::Broken;
    if (diagnostics.sqlState == "23502")
        return Broken{Broken::NotNull, diagnostics.table, {diagnostics.column}};
    if (diagnostics.sqlState != "23505")
        return std::nullopt;
    for (const Schema::Table &table : Schema::tables()) {
        if (diagnostics.constraint.compare(Schema::primaryKeyName(table), Qt::CaseInsensitive) != 0)
            continue;
        Broken broken{Broken::Unique, table.name.toString(), {}};
        for (QStringView column : table.primaryKey)
            broken.columns.append(column.toString());
        return broken;
    }
    return std::nullopt;
}

// Rows through COPY ... FROM STDIN in PostgreSQL's text format, sent in pieces
// of about a megabyte.
class PgTableWriter : public TableWriter
{
public:
    PgTableWriter(PgConnection &connection, const QString &table, const QStringList &columns)
        : m_connection(connection)
    {
        m_connection.beginCopy(u"COPY %1 (%2) FROM STDIN"_s.arg(table, columns.join(u", "_s)));
    }

    ~PgTableWriter() override
    {
        if (!m_finished)
            m_connection.abortCopy();
    }

    TableWriter &add(const QString &text) override
    {
        separate();
        if (text.isNull()) {
            m_buffer += "\\N";
            return *this;
        }
        for (const char c : text.toUtf8()) {
            switch (c) {
            case '\\':
                m_buffer += "\\\\";
                break;
            case '\t':
                m_buffer += "\\t";
                break;
            case '\n':
                m_buffer += "\\n";
                break;
            case '\r':
                m_buffer += "\\r";
                break;
            default:
                m_buffer += c;
            }
        }
        return *this;
    }

    TableWriter &add(qint64 value) override
    {
        separate();
        m_buffer += QByteArray::number(value);
        return *this;
    }

    void endRow() override
    {
        m_buffer += '\n';
        m_rowStarted = false;
        if (m_buffer.size() >= pieceSize)
            send();
    }

    void finish() override
    {
        send();
        m_finished = true;
        m_connection.endCopy();
    }

private:
    static constexpr qsizetype pieceSize = 1 << 20;

    void separate()
    {
        if (m_rowStarted)
            m_buffer += '\t';
        m_rowStarted = true;
    }

    void send()
    {
        if (m_buffer.isEmpty())
            return;
        m_connection.putCopyData(m_buffer);
        m_buffer.clear();
    }

    PgConnection &m_connection;
    QByteArray m_buffer;
    bool m_rowStarted = false;
    bool m_finished = false;
};

} // namespace

PgDatabase::PgDatabase(const QString &uri, const std::optional<QString> &password)
    : m_uri(uri)
    , m_connection(
          uri, [this](PgConnection &connection) { setUpSession(connection); }, password)
{}

PgDatabase::~PgDatabase() = default;

void PgDatabase::setUpSession(PgConnection &connection)
{
    // Dates and times in the text forms the host reads; Oracle's string
    // literals; a desk that holds a lock too long makes the others fail as Busy
    // instead of hanging; a large list sorted in memory, not on disk; no
    // just-in-time compiling of expressions, which took the month's plan rows of
    // a whole scope 0.35-0.43 s longer to read.
    connection.exec(u"SET DateStyle = 'ISO, YMD'; SET standard_conforming_strings = on;"
                    u" SET client_min_messages = warning; SET lock_timeout = %1;"
                    u" SET work_mem = '32MB'; SET jit = off"_s.arg(lockTimeoutMs));
    // The desk's clock, so that the database's CREATE_TIME, MODIFIED_TIME and
    // history times read as the desk's own, as in a file; by the zone's offset
    // now when the server does not know the zone's name.
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    try {
        connection.exec(u"SELECT set_config('TimeZone', $1, false)"_s, {zone});
    } catch (const PgError &) {
        // POSIX counts the offset west of Greenwich; the name in brackets is
        // the offset east, as the desk names it.
        const int east = QDateTime::currentDateTime().offsetFromUtc() / 60;
        const auto hhmm = [](int minutes, QStringView separator) {
            return u"%1%2%3%4"_s.arg(QChar(minutes < 0 ? u'-' : u'+'))
                .arg(qAbs(minutes) / 60, 2, 10, QChar(u'0'))
                .arg(separator)
                .arg(qAbs(minutes) % 60, 2, 10, QChar(u'0'));
        };
        connection.exec(u"SELECT set_config('TimeZone', $1, false)"_s,
                        {u"<%1>%2"_s.arg(hhmm(east, {}), hhmm(-east, u":"))});
    }
}

TDataSet *PgDatabase::openQuery(const QString &oracleSql)
{
    return load(runQuery(oracleSql)).release();
}

QString PgDatabase::queryValue(const QString &oracleSql)
{
    // Read as a data set would read it, so that numbers and dates take the text
    // forms SQLite gives them.
    const std::unique_ptr<TDataSet> rows = load(runQuery(oracleSql));
    if (rows->recordCount() == 0 || rows->fieldCount() == 0)
        return QString();
    return rows->asString(0, 0);
}

bool PgDatabase::execSql(const QString &oracleSql)
{
    const QList<OracleSql::TranslatedStatement> statements =
        OracleSql::translate(oracleSql, target);
    try {
        StatementScope scope(m_connection, statements.size() > 1);
        const Changes changes = runStatements(statements, [this](const QString &sql) {
            return m_connection.exec(sql).changedRows();
        });
        scope.commit();
        m_changedRows = changes.rows;
        return changes.allFound;
    } catch (const PgError &error) {
        raiseStatementError(error, oracleSql);
    }
}

void PgDatabase::beginEngineTransaction()
{
    m_connection.exec(u"BEGIN"_s);
    m_connection.setTransactionOpen(true);
}

void PgDatabase::commitEngineTransaction()
{
    m_connection.exec(u"COMMIT"_s);
    m_connection.setTransactionOpen(false);
}

void PgDatabase::rollbackEngineTransaction()
{
    m_connection.setTransactionOpen(false);
    // The server rolls back by itself what a lost connection held; callers roll
    // back in their error handlers, which must go on to report the first error.
    if (!m_connection.isOpen())
        return;
    try {
        m_connection.exec(u"ROLLBACK"_s);
    } catch (const DbError &error) {
        if (error.failure() != DbFailure::ConnectionLost)
            throw;
    }
}

bool PgDatabase::inTransaction() const
{
    return m_connection.transactionOpen();
}

QStringList PgDatabase::queryPlan(const QString &oracleSql)
{
    QStringList lines;
    for (const OracleSql::TranslatedStatement &statement :
         OracleSql::translate(oracleSql, target)) {
        const PgResult plan = m_connection.exec(u"EXPLAIN "_s + statement.sql);
        for (int row = 0; row < plan.rowCount(); ++row)
            lines.append(plan.text(row, 0));
    }
    return lines;
}

void PgDatabase::setOperatorCode(const QString &code)
{
    // The server records the login role of the session, whatever it is told.
    const QString sessionUser = nativeValue(u"SELECT session_user"_s);
    if (code != sessionUser) {
        throw DbError(u"The operator of a session on the server is its login role %1, not %2"_s.arg(
                          sessionUser, code),
                      DbFailure::Statement);
    }
}

std::unique_ptr<TDataSet> PgDatabase::select(const QString &sql, const QVariantList &parameters)
{
    try {
        StatementScope scope(m_connection, false);
        PgResult result = m_connection.exec(sql, parameters);
        scope.commit();
        return load(result);
    } catch (const PgError &error) {
        raiseStatementError(error, sql);
    }
}

qint64 PgDatabase::execute(const QString &sql, const QVariantList &parameters)
{
    try {
        StatementScope scope(m_connection, false);
        const qint64 rows = m_connection.exec(sql, parameters).changedRows();
        scope.commit();
        return rows;
    } catch (const PgError &error) {
        raiseStatementError(error, sql);
    }
}

void PgDatabase::execute(const QString &script)
{
    try {
        // Several statements in one call run as one transaction of their own.
        StatementScope scope(m_connection, false);
        m_connection.exec(script);
        scope.commit();
    } catch (const PgError &error) {
        raiseStatementError(error, script);
    }
}

qint64 PgDatabase::nextSequenceValue(const QString &sequence)
{
    return nativeValue(u"SELECT nextval($1)"_s, {sequence}).toLongLong();
}

std::unique_ptr<TableWriter> PgDatabase::writeTable(const QString &table,
                                                    const QStringList &columns)
{
    return std::make_unique<PgTableWriter>(m_connection, table, columns);
}

PgResult PgDatabase::runQuery(const QString &oracleSql)
{
    const QString sql = translateQuery(oracleSql, target);
    try {
        StatementScope scope(m_connection, false);
        PgResult result = m_connection.exec(sql);
        scope.commit();
        return result;
    } catch (const PgError &error) {
        raiseStatementError(error, oracleSql);
    }
}

std::unique_ptr<TDataSet> PgDatabase::load(const PgResult &result)
{
    return loadDataSet(result, [&](int column) { return fieldName(result, column); });
}

// PostgreSQL folds unquoted names to lower case; a table's column takes the
// spelling of its declaration, as SQLite gives it.
QString PgDatabase::fieldName(const PgResult &result, int column)
{
    const QString name = result.columnName(column);
    const unsigned table = result.tableOf(column);
    if (table == 0)
        return name;
    auto found = m_tableNames.constFind(table);
    if (found == m_tableNames.cend()) {
        const PgResult relation =
            m_connection.exec(u"SELECT relname FROM pg_catalog.pg_class WHERE oid = $1"_s, {table});
        found =
            m_tableNames.insert(table, relation.rowCount() > 0 ? relation.text(0, 0) : QString());
    }
    const QString spelled = Schema::spelling(found.value(), name);
    return spelled.isNull() ? name : spelled;
}

void PgDatabase::raiseStatementError(const PgError &error, const QString &sql) const
{
    const PgError::Diagnostics &diagnostics = error.diagnostics();
    if (const auto broken = brokenConstraint(diagnostics)) {
        if (const auto recognised = ExchangeConstraints::recognise(*broken, error.message()))
            throw PgError(recognised->detail, diagnostics, recognised->failure);
    }
    throw PgError(u"%1\nStatement: %2"_s.arg(error.message(), oneLine(sql)), diagnostics,
                  error.failure());
}
