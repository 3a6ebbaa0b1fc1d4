#pragma once

#include "DbFailure.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>

struct QMetaObject;
class TDataSet;
class TObjectHashedList;

namespace OracleSql {
enum class Target;
struct TranslatedStatement;
} // namespace OracleSql

enum class DbBackend { Sqlite, PostgreSql };

// Takes the rows of one table in bulk, a value at a time in column order. Used
// to fill a new database; far faster than one INSERT per row.
class TableWriter
{
public:
    virtual ~TableWriter() = default;

    // A null QString writes NULL.
    virtual TableWriter &add(const QString &text) = 0;
    virtual TableWriter &add(qint64 value) = 0;
    TableWriter &add(int value) { return add(qint64(value)); }
    TableWriter &addNull() { return add(QString()); }
    virtual void endRow() = 0;
    // Sends what is still buffered; the rows are in the table afterwards.
    virtual void finish() = 0;
};

// The host's database: an embedded SQLite file (SqliteDatabase.h) or a
// PostgreSQL database on a server that several desks share (PgDatabase.h). Both
// run the module's Oracle SQL through the dialect translator and return the same
// types and text forms, so that neither the services nor the plug-in can tell
// them apart.
//
// A Database is used by one thread at a time, as the host's user-interface
// thread uses it. Every failure raises DbError with the engine's message and a
// kind (DbFailure.h). A statement that fails leaves the database as it was
// before it, also inside an open transaction, as in Oracle.
class Database
{
public:
    virtual ~Database();

    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    virtual DbBackend backend() const = 0;
    // Where the data lives, for messages: the file's path or the server's URI.
    virtual QString location() const = 0;

    // The module's statements, in Oracle SQL (OracleDialect.h).

    // The rows of a SELECT as a new data set, which the caller owns. Fields have
    // the types of their columns: whole numbers integer, other numbers float,
    // dates and date-times date-time, the rest text.
    virtual TDataSet *openQuery(const QString &oracleSql) = 0;
    // The first column of the first row as text: a number as its decimal text, a
    // date as "yyyy-mm-dd", a date-time as "yyyy-mm-dd hh:mm:ss", NULL or no row
    // at all as "".
    virtual QString queryValue(const QString &oracleSql) = 0;
    // Executes an INSERT, UPDATE, DELETE or an anonymous block of them, as one
    // unit. True when it ran; false when an UPDATE or DELETE found no row to
    // change, which is how an update of a record another operator deleted
    // reports that nothing was saved.
    virtual bool execSql(const QString &oracleSql) = 0;
    // The rows the last execSql changed.
    qint64 changedRows() const { return m_changedRows; }

    // An explicit transaction around several execSql calls. Beginning inside one
    // and committing outside one raise. Rolling back without an open transaction
    // does nothing, since callers roll back from error handlers that cannot tell
    // how far they got.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    virtual bool inTransaction() const = 0;

    // One new object of entityClass per row, in row order, made with its
    // invokable default constructor and keyed by its ID property. Each property
    // whose name matches a column, regardless of case, takes the column's value
    // in its own type: text, integer, or for a double a date-time as days since
    // 1899-12-30. NULL gives the empty value. The caller owns the list.
    TObjectHashedList *queryObjectList(const QMetaObject &entityClass, const QString &oracleSql);

    // How the engine means to run the translation of a SELECT, one line a step.
    virtual QStringList queryPlan(const QString &oracleSql) = 0;

    // The operator of this session: the change history of the shift exchanges
    // records his code with every change made from now on. On a server the
    // operator is the session's login role; any other code is refused.
    virtual void setOperatorCode(const QString &code) = 0;

    // The host's own statements, in SQL that both engines read; $1, $2, ... are
    // the parameters, so that no value becomes part of the statement text.

    virtual std::unique_ptr<TDataSet> select(const QString &sql,
                                             const QVariantList &parameters = {}) = 0;
    // The first column of the first row as text; a null QString for NULL or no row.
    QString nativeValue(const QString &sql, const QVariantList &parameters = {});
    // One statement; returns the rows it changed.
    virtual qint64 execute(const QString &sql, const QVariantList &parameters) = 0;
    // One or more statements separated by semicolons, without parameters.
    virtual void execute(const QString &script) = 0;

    // The next number of a sequence (SEQ_OCID numbers the shift exchanges), for
    // the host's own inserts. In a file a rollback gives it back; a server's
    // sequence leaves a gap.
    virtual qint64 nextSequenceValue(const QString &sequence) = 0;

    // Fills a table in bulk: see TableWriter.
    virtual std::unique_ptr<TableWriter> writeTable(const QString &table,
                                                    const QStringList &columns) = 0;

protected:
    Database() = default;

    // The engine's statements for the transaction calls above, which have
    // checked whether one is open.
    virtual void beginEngineTransaction() = 0;
    virtual void commitEngineTransaction() = 0;
    virtual void rollbackEngineTransaction() = 0;

    // The rows the statements of one execSql changed, and whether every UPDATE
    // and DELETE among them found a row to change.
    struct Changes
    {
        qint64 rows = 0;
        bool allFound = true;
    };
    // Runs the statements in order; run returns the rows one changed.
    static Changes runStatements(const QList<OracleSql::TranslatedStatement> &statements,
                                 const std::function<qint64(const QString &sql)> &run);
    // The one SELECT that oracleSql becomes for target; raises for anything else.
    static QString translateQuery(const QString &oracleSql, OracleSql::Target target);
    // A statement on one line, for messages.
    static QString oneLine(const QString &sql);

    // What changedRows() tells: set once an execSql has committed.
    qint64 m_changedRows = 0;
};

// A transaction of the host's own work that rolls back unless committed, so that
// no failure can leave it open.
class TransactionScope
{
public:
    explicit TransactionScope(Database &db)
        : m_db(db)
    {
        m_db.beginTrans();
    }
    ~TransactionScope()
    {
        if (m_committed)
            return;
        // A failure here would hide the one that brought us here.
        try {
            m_db.rollbackTrans();
        } catch (const DbError &) {
        }
    }
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;

    void commit()
    {
        m_db.commitTrans();
        m_committed = true;
    }

private:
    Database &m_db;
    bool m_committed = false;
};

// A location that names a PostgreSQL database: a libpq URI starting with
// postgresql:// or postgres://.
bool isServerLocation(const QString &location);

// The location as the operator reads it: a server's URI decoded (a socket
// folder as /run/postgresql, not %2Frun%2Fpostgresql) and never with a password.
QString readableLocation(const QString &location);

// Opens the database at location: a PostgreSQL database for a server location,
// otherwise an SQLite file, created when missing (":memory:" opens a private
// in-memory database). Nothing is created inside it: see Schema.h.
std::unique_ptr<Database> openDatabase(const QString &location);
