#include "SqliteStatement.h"

#include "SqliteRights.h"

#include <sqlite3.h>
#include <utility>

using namespace Qt::StringLiterals;

DbFailure SqliteError::failureOf(int code, const QString &message)
{
    if (code == SQLITE_CONSTRAINT_TRIGGER) {
        if (message.contains(SqliteRights::noRight))
            return DbFailure::NoRight;
        if (message.contains(SqliteRights::outsideScope))
            return DbFailure::OutsideScope;
    }
    switch (code & 0xff) {
    case SQLITE_AUTH:
        return DbFailure::NoRight;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbFailure::Busy;
    case SQLITE_CORRUPT:
        return DbFailure::Damaged;
    case SQLITE_NOTADB:
        return DbFailure::NotADatabase;
    case SQLITE_FULL:
        return DbFailure::DiskFull;
    default:
        return DbFailure::Statement;
    }
}

void raiseSqliteError(sqlite3 *db, const QString &what)
{
    throw SqliteError(what + u": "_s + QString::fromUtf8(sqlite3_errmsg(db)),
                      sqlite3_extended_errcode(db));
}

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql)
    : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_statement, nullptr)
        != SQLITE_OK) {
        raise(u"Cannot prepare statement"_s);
    }
}

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(other.m_db)
    , m_statement(std::exchange(other.m_statement, nullptr))
{}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    std::swap(m_db, other.m_db);
    std::swap(m_statement, other.m_statement);
    return *this;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement &SqliteStatement::bind(int index, const QString &text)
{
    if (text.isNull())
        return bindNull(index);
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT)
        != SQLITE_OK) {
        raise(u"Cannot bind parameter %1"_s.arg(index));
    }
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        raise(u"Cannot bind parameter %1"_s.arg(index));
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, double value)
{
    if (sqlite3_bind_double(m_statement, index, value) != SQLITE_OK)
        raise(u"Cannot bind parameter %1"_s.arg(index));
    return *this;
}

SqliteStatement &SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        raise(u"Cannot bind parameter %1"_s.arg(index));
    return *this;
}

bool SqliteStatement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        raise(u"Statement failed"_s);
    }
}

void SqliteStatement::run()
{
    while (step()) {
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

int SqliteStatement::columnType(int column) const
{
    return sqlite3_column_type(m_statement, column);
}

bool SqliteStatement::isNull(int column) const
{
    return columnType(column) == SQLITE_NULL;
}

qint64 SqliteStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::columnDouble(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QString SqliteStatement::columnText(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    if (!text)
        return QString();
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

void SqliteStatement::raise(const QString &what) const
{
    raiseSqliteError(m_db, what);
}
