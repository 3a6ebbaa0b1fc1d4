#include "SqliteDatabase.h"

#include "ExchangeConstraints.h"
#include "OracleDialect.h"
#include "OracleFunctions.h"
#include "SchemaTables.h"
#include "SqliteDataSetLoader.h"

#include "runtime/dataset.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int busyTimeoutMs = 5000;
constexpr OracleSql::Target target = OracleSql::Target::Sqlite;

// Keeps one execSql call atomic: its own transaction in autocommit mode, a
// savepoint inside an open transaction. Rolls back unless committed.
class StatementScope
{
public:
    explicit StatementScope(SqliteDatabase &db)
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
    SqliteDatabase &m_db;
    const bool m_nested;
    bool m_done = false;
};

void bindValue(SqliteStatement &statement, int index, const QVariant &value)
{
    if (value.isNull()) {
        statement.bindNull(index);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        statement.bind(index, value.toLongLong());
        return;
    case QMetaType::Double:
        statement.bind(index, value.toDouble());
        return;
    default:
        statement.bind(index, value.toString());
        return;
    }
}

// The constraint SQLite names in its message, as in "UNIQUE constraint failed:
// Kq_ExchangeClass.EmployeeCode, Kq_ExchangeClass.ExchgDate".
std::optional<ExchangeConstraints::Broken> brokenConstraint(const SqliteError &error)
{
    using Broken = ExchangeConstraints::Broken;
    Broken::Kind kind;
    switch (error.code()) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        kind = Broken::Unique;
        break;
    case SQLITE_CONSTRAINT_NOTNULL:
        kind = Broken::NotNull;
        break;
    default:
        return std::nullopt;
    }
    static const QString failed = u"constraint failed: "_s;
    const qsizetype at = error.message().indexOf(failed);
    if (at < 0)
        return std::nullopt;
    Broken broken{kind, {}, {}};
    for (const QString &name : error.message().mid(at + failed.size()).trimmed().split(u", "_s)) {
        const qsizetype dot = name.indexOf(u'.');
        broken.table = name.left(dot);
        broken.columns.append(name.mid(dot + 1));
    }
    return broken;
}

// host_operator(): the operator code of the session, or NULL before one is set.
void hostOperator(sqlite3_context *context, int, sqlite3_value **)
{
    const auto *code = static_cast<const QByteArray *>(sqlite3_user_data(context));
    if (code->isNull())
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, code->constData(), int(code->size()), SQLITE_TRANSIENT);
}

// Only the history's own triggers write the history: a statement that inserts
// into it is refused as it is prepared, whoever sends it. (Its triggers refuse
// updates and deletes.)
int authorize(void *, int action, const char *table, const char *, const char *,
              const char *trigger)
{
    static const QByteArray history = Schema::exchangeHistoryTable().name.toLatin1();
    if (action == SQLITE_INSERT && !trigger && qstricmp(table, history.constData()) == 0)
        return SQLITE_DENY;
    return SQLITE_OK;
}

// Rows through one prepared INSERT, bound a value at a time.
class SqliteTableWriter : public TableWriter
{
public:
    SqliteTableWriter(SqliteDatabase &db, const QString &table, const QStringList &columns)
        : m_insert(db.prepare(insertStatement(table, columns)))
    {}

    TableWriter &add(const QString &text) override
    {
        m_insert.bind(++m_column, text);
        return *this;
    }

    TableWriter &add(qint64 value) override
    {
        m_insert.bind(++m_column, value);
        return *this;
    }

    void endRow() override
    {
        m_insert.run();
        m_insert.reset();
        m_column = 0;
    }

    void finish() override {}

private:
    static QString insertStatement(const QString &table, const QStringList &columns)
    {
        QStringList parameters;
        for (int i = 1; i <= columns.size(); ++i)
            parameters.append(u"?%1"_s.arg(i));
        return u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, columns.join(u", "_s),
                                                        parameters.join(u", "_s));
    }

    SqliteStatement m_insert;
    int m_column = 0;
};

} // namespace

SqliteDatabase::SqliteDatabase(const QString &filePath)
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
        throw SqliteError(u"Cannot open database %1: %2"_s.arg(filePath, message), rc);
    }
    try {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
        // Oracle compares LIKE patterns with regard to case. Reading pages through
        // a memory map spares a system call per page. Sorting in memory keeps a
        // large list's ORDER BY off the disk.
        execute(u"PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
                u" PRAGMA case_sensitive_like = ON; PRAGMA mmap_size = 1073741824;"
                u" PRAGMA cache_size = -32768; PRAGMA temp_store = MEMORY"_s);
        OracleSql::registerFunctions(m_db);
        // The history's triggers call it; innocuous, so that they may also where
        // the schema is not trusted.
        auto *code = new QByteArray;
        if (sqlite3_create_function_v2(m_db, "host_operator", 0, SQLITE_UTF8 | SQLITE_INNOCUOUS,
                                       code, hostOperator, nullptr, nullptr,
                                       [](void *p) { delete static_cast<QByteArray *>(p); })
            != SQLITE_OK) {
            raiseSqliteError(m_db, u"Cannot define host_operator()"_s);
        }
        m_operatorCode = code;
        sqlite3_set_authorizer(m_db, authorize, nullptr);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

SqliteDatabase::~SqliteDatabase()
{
    // Closes once the last statement a caller still holds is finalized.
    sqlite3_close_v2(m_db);
}

TDataSet *SqliteDatabase::openQuery(const QString &oracleSql)
{
    SqliteStatement query = prepareQuery(oracleSql);
    try {
        std::unique_ptr<TDataSet> rows = loadDataSet(query, m_rowsOfQuery.value(oracleSql));
        // A few statements are enough to know: the list and its refreshes.
        constexpr qsizetype rememberedQueries = 32;
        if (m_rowsOfQuery.size() >= rememberedQueries && !m_rowsOfQuery.contains(oracleSql))
            m_rowsOfQuery.clear();
        m_rowsOfQuery.insert(oracleSql, rows->recordCount());
        return rows.release();
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

QString SqliteDatabase::queryValue(const QString &oracleSql)
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

bool SqliteDatabase::execSql(const QString &oracleSql)
{
    try {
        StatementScope scope(*this);
        // Sequence values are drawn inside the scope: a failing statement gives
        // its number back.
        const QList<OracleSql::TranslatedStatement> statements =
            OracleSql::translate(oracleSql, target, [this](const QString &sequence) {
                return nextSequenceValue(sequence);
            });
        const Changes changes = runStatements(statements, [this](const QString &sql) {
            prepare(sql).run();
            return qint64(sqlite3_changes(m_db));
        });
        scope.commit();
        m_changedRows = changes.rows;
        return changes.allFound;
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

void SqliteDatabase::beginEngineTransaction()
{
    execute(u"BEGIN IMMEDIATE"_s);
}

void SqliteDatabase::commitEngineTransaction()
{
    execute(u"COMMIT"_s);
}

void SqliteDatabase::rollbackEngineTransaction()
{
    execute(u"ROLLBACK"_s);
}

bool SqliteDatabase::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

QStringList SqliteDatabase::queryPlan(const QString &oracleSql)
{
    const QList<OracleSql::TranslatedStatement> statements =
        OracleSql::translate(oracleSql, target);
    QStringList lines;
    for (const OracleSql::TranslatedStatement &statement : statements) {
        SqliteStatement plan = prepare(u"EXPLAIN QUERY PLAN "_s + statement.sql);
        while (plan.step())
            lines.append(plan.columnText(3));
    }
    return lines;
}

void SqliteDatabase::setOperatorCode(const QString &code)
{
    *m_operatorCode = code.toUtf8();
}

std::unique_ptr<TDataSet> SqliteDatabase::select(const QString &sql, const QVariantList &parameters)
{
    SqliteStatement query = prepareNative(sql, parameters);
    return loadDataSet(query);
}

qint64 SqliteDatabase::execute(const QString &sql, const QVariantList &parameters)
{
    try {
        prepareNative(sql, parameters).run();
    } catch (const SqliteError &error) {
        raiseStatementError(error, sql);
    }
    return sqlite3_changes(m_db);
}

void SqliteDatabase::execute(const QString &script)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, script.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw SqliteError(u"%1: %2"_s.arg(oneLine(script), text), sqlite3_extended_errcode(m_db));
    }
}

std::unique_ptr<TableWriter> SqliteDatabase::writeTable(const QString &table,
                                                        const QStringList &columns)
{
    return std::make_unique<SqliteTableWriter>(*this, table, columns);
}

SqliteStatement SqliteDatabase::prepare(const QString &sqliteSql)
{
    return SqliteStatement(m_db, sqliteSql);
}

SqliteStatement SqliteDatabase::prepareQuery(const QString &oracleSql)
{
    const QString sql = translateQuery(oracleSql, target);
    try {
        return prepare(sql);
    } catch (const SqliteError &error) {
        raiseStatementError(error, oracleSql);
    }
}

// $1, $2, ... are named parameters to SQLite: each is bound by its name.
SqliteStatement SqliteDatabase::prepareNative(const QString &sql, const QVariantList &parameters)
{
    SqliteStatement statement = prepare(sql);
    for (int i = 0; i < parameters.size(); ++i) {
        const QByteArray name = '$' + QByteArray::number(i + 1);
        const int index = sqlite3_bind_parameter_index(statement.handle(), name.constData());
        if (index == 0)
            throw DbError(u"%1 has no parameter %2"_s.arg(oneLine(sql), QString::fromLatin1(name)),
                          DbFailure::Statement);
        bindValue(statement, index, parameters.at(i));
    }
    return statement;
}

qint64 SqliteDatabase::nextSequenceValue(const QString &sequence)
{
    SqliteStatement draw = prepare(u"UPDATE Sys_Sequence SET NextValue = NextValue + 1"
                                   u" WHERE SeqName = ?1 RETURNING NextValue - 1"_s);
    draw.bind(1, sequence);
    if (!draw.step())
        throw DbError(u"Unknown sequence %1"_s.arg(sequence), DbFailure::Statement);
    const qint64 value = draw.columnInt64(0);
    draw.run();
    return value;
}

void SqliteDatabase::raiseStatementError(const SqliteError &error, const QString &oracleSql) const
{
    if (const auto broken = brokenConstraint(error)) {
        if (const auto recognised = ExchangeConstraints::recognise(*broken, error.message()))
            throw SqliteError(recognised->detail, error.code(), recognised->failure);
    }
    throw SqliteError(u"%1\nStatement: %2"_s.arg(error.message(), oneLine(oracleSql)),
                      error.code());
}
