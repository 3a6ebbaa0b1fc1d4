#include "Database.h"

#include "DataSetLoader.h"
#include "OracleDialect.h"
#include "OracleFunctions.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "talvex/model/ShareObj.h"

#include <QMetaProperty>
#include <QObject>
#include <memory>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int busyTimeoutMs = 5000;

QString oneLine(const QString &sql)
{
    return sql.simplified();
}

// Keeps one execSql call atomic: its own transaction in autocommit mode, a
// savepoint inside an open transaction. Rolls back unless committed.
class StatementScope
{
public:
    explicit StatementScope(Database &db)
        : m_db(db)
        , m_nested(db.inTransaction())
    {
        m_db.execute(m_nested ? u"SAVEPOINT exec_sql"_s : u"BEGIN IMMEDIATE"_s);
    }

    ~StatementScope()
    {
        if (m_done)
            return;
        // Errors here would hide the one that brought us here.
        const char *undo = m_nested ? "ROLLBACK TO exec_sql; RELEASE exec_sql" : "ROLLBACK";
        sqlite3_exec(m_db.handle(), undo, nullptr, nullptr, nullptr);
    }

    void commit()
    {
        m_db.execute(m_nested ? u"RELEASE exec_sql"_s : u"COMMIT"_s);
        m_done = true;
    }

private:
    Database &m_db;
    const bool m_nested;
    bool m_done = false;
};

void writeProperty(QObject *object, const QMetaProperty &property, const SqliteStatement &row,
                   int column)
{
    const bool null = row.isNull(column);
    QVariant value;
    switch (property.metaType().id()) {
    case QMetaType::QString:
        value = null ? QString() : row.columnText(column);
        break;
    case QMetaType::Int:
        value = null ? 0 : int(row.columnInt64(column));
        break;
    case QMetaType::Double:
        value = 0.0;
        if (null)
            break;
        if (row.columnType(column) == SQLITE_TEXT) {
            // Dates are stored as their "yyyy-mm-dd" text.
            const std::optional<double> dateTime = Rt::DateTime::parse(row.columnText(column));
            if (!dateTime) {
                throw Rt::DatabaseError(u"'%1' is not a date-time value for property %2"_s.arg(
                    row.columnText(column), QString::fromLatin1(property.name())));
            }
            value = *dateTime;
        } else {
            value = row.columnDouble(column);
        }
        break;
    default:
        value = null ? QVariant(property.metaType()) : QVariant(row.columnText(column));
        break;
    }
    if (!property.write(object, value)) {
        throw Rt::DatabaseError(u"Cannot set property %1 of %2 from column value '%3'"_s.arg(
            QString::fromLatin1(property.name()),
            QString::fromLatin1(object->metaObject()->className()), row.columnText(column)));
    }
}

} // namespace

Database::Database(const QString &filePath)
    : m_filePath(filePath)
{
    const QByteArray path = filePath.toUtf8();
    // One thread at a time uses a connection, so SQLite need not lock it on
    // every call: reading a large list makes several calls per value.
    const int rc =
        sqlite3_open_v2(path.constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        throw Rt::DatabaseError(u"Cannot open database %1: %2"_s.arg(filePath, message));
    }
    try {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
        // Oracle compares LIKE patterns with regard to case. Reading pages through
        // a memory map spares a system call per page: a list's rows lie scattered
        // over the table.
        execute(u"PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
                u" PRAGMA case_sensitive_like = ON; PRAGMA mmap_size = 1073741824;"
                u" PRAGMA cache_size = -32768"_s);
        OracleSql::registerFunctions(m_db);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

Database::~Database()
{
    // Closes once the last statement a caller still holds is finalized.
    sqlite3_close_v2(m_db);
}

TDataSet *Database::openQuery(const QString &oracleSql)
{
    SqliteStatement query = prepareQuery(oracleSql);
    try {
        return loadDataSet(query).release();
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

QString Database::queryValue(const QString &oracleSql)
{
    SqliteStatement query = prepareQuery(oracleSql);
    try {
        if (!query.step() || query.isNull(0))
            return QString();
        if (query.columnType(0) == SQLITE_FLOAT)
            return QString::number(query.columnDouble(0), 'g', 15);
        return query.columnText(0);
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

bool Database::execSql(const QString &oracleSql)
{
    try {
        StatementScope scope(*this);
        // Sequence values are drawn inside the scope: a failing statement gives
        // its number back.
        const QList<OracleSql::TranslatedStatement> statements = OracleSql::translate(
            oracleSql, [this](const QString &sequence) { return nextSequenceValue(sequence); });
        bool changed = true;
        for (const OracleSql::TranslatedStatement &statement : statements) {
            prepare(statement.sql).run();
            if (statement.kind == OracleSql::StatementKind::Update
                || statement.kind == OracleSql::StatementKind::Delete) {
                changed = changed && sqlite3_changes(m_db) > 0;
            }
        }
        scope.commit();
        return changed;
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

void Database::beginTrans()
{
    if (inTransaction())
        throw Rt::DatabaseError(u"Cannot begin a transaction: one is already open"_s);
    execute(u"BEGIN IMMEDIATE"_s);
}

void Database::commitTrans()
{
    if (!inTransaction())
        throw Rt::DatabaseError(u"Cannot commit: no transaction is open"_s);
    execute(u"COMMIT"_s);
}

void Database::rollbackTrans()
{
    if (inTransaction())
        execute(u"ROLLBACK"_s);
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

TObjectHashedList *Database::queryObjectList(const QMetaObject &entityClass,
                                             const QString &oracleSql)
{
    SqliteStatement query = prepareQuery(oracleSql);

    // Column of each published property, QObject's own left out.
    struct Binding
    {
        QMetaProperty property;
        int column;
    };
    std::vector<Binding> bindings;
    for (int p = QObject::staticMetaObject.propertyCount(); p < entityClass.propertyCount(); ++p) {
        const QMetaProperty property = entityClass.property(p);
        const QString name = QString::fromLatin1(property.name());
        for (int c = 0; c < query.columnCount(); ++c) {
            if (query.columnName(c).compare(name, Qt::CaseInsensitive) == 0) {
                bindings.push_back({property, c});
                break;
            }
        }
    }

    auto list = std::make_unique<TObjectHashedList>();
    try {
        while (query.step()) {
            std::unique_ptr<QObject> object(entityClass.newInstance());
            if (!object) {
                throw Rt::DatabaseError(
                    u"Cannot create %1: it has no invokable default constructor"_s.arg(
                        QString::fromLatin1(entityClass.className())));
            }
            for (const Binding &binding : bindings)
                writeProperty(object.get(), binding.property, query, binding.column);
            const QString key = object->property("ID").toString();
            list->addObject(key, object.release());
        }
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
    return list.release();
}

QStringList Database::queryPlan(const QString &oracleSql)
{
    const QList<OracleSql::TranslatedStatement> statements = OracleSql::translate(oracleSql);
    QStringList lines;
    for (const OracleSql::TranslatedStatement &statement : statements) {
        SqliteStatement plan = prepare(u"EXPLAIN QUERY PLAN "_s + statement.sql);
        while (plan.step())
            lines.append(plan.columnText(3));
    }
    return lines;
}

SqliteStatement Database::prepare(const QString &sqliteSql)
{
    return SqliteStatement(m_db, sqliteSql);
}

QString Database::nativeValue(const QString &sqliteSql)
{
    SqliteStatement query = prepare(sqliteSql);
    return query.step() ? query.columnText(0) : QString();
}

void Database::execute(const QString &sqliteSql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sqliteSql.toUtf8().constData(), nullptr, nullptr, &message)
        != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw SqliteError(u"%1: %2"_s.arg(oneLine(sqliteSql), text),
                          sqlite3_extended_errcode(m_db));
    }
}

SqliteStatement Database::prepareQuery(const QString &oracleSql)
{
    const QList<OracleSql::TranslatedStatement> statements = OracleSql::translate(oracleSql);
    if (statements.size() != 1 || statements.first().kind != OracleSql::StatementKind::Select)
        throw Rt::DatabaseError(u"Not a query: %1"_s.arg(oneLine(oracleSql)));
    try {
        return prepare(statements.first().sql);
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

qint64 Database::nextSequenceValue(const QString &sequence)
{
    SqliteStatement draw = prepare(u"UPDATE Sys_Sequence SET NextValue = NextValue + 1"
                                   u" WHERE SeqName = ?1 RETURNING NextValue - 1"_s);
    draw.bind(1, sequence);
    if (!draw.step())
        throw Rt::DatabaseError(u"Unknown sequence %1"_s.arg(sequence));
    const qint64 value = draw.columnInt64(0);
    draw.run();
    return value;
}

void Database::raiseStatementError(const SqliteError &error, const QString &oracleSql) const
{
    // The failures a user causes in normal work: two operators, or one operator
    // twice, entering the same employee and day; saving before choosing anyone.
    const bool onEmployee =
        error.message().contains(u"Kq_ExchangeClass.EmployeeCode"_s, Qt::CaseInsensitive);
    if (onEmployee && error.code() == SQLITE_CONSTRAINT_UNIQUE) {
        throw SqliteError(
            u"This employee already has a shift exchange on that day (%1)"_s.arg(error.message()),
            error.code(), DbFailure::UniqueDayTaken);
    }
    if (onEmployee && error.code() == SQLITE_CONSTRAINT_NOTNULL) {
        throw SqliteError(
            u"No employee is chosen for the shift exchange (%1)"_s.arg(error.message()),
            error.code());
    }
    throw SqliteError(u"%1\nStatement: %2"_s.arg(error.message(), oneLine(oracleSql)),
                      error.code());
}
