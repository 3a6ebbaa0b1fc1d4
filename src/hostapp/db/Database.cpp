#include "Database.h"

#include "OracleDialect.h"
#include "PgDatabase.h"
#include "SqliteDatabase.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "talvex/model/ShareObj.h"

#include <QMetaProperty>
#include <QObject>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QVariant propertyValue(const QMetaProperty &property, const TDataSet &rows, int record, int field)
{
    const bool null = rows.isNull(record, field);
    switch (property.metaType().id()) {
    case QMetaType::QString:
        return rows.asString(record, field);
    case QMetaType::Int:
        return null ? 0 : int(rows.asInteger(record, field));
    case QMetaType::Double:
        if (null)
            return 0.0;
        if (rows.fieldType(field) != TFieldType::String)
            return rows.asFloat(record, field);
        // A date kept as text, as a computed column may be.
        if (const std::optional<double> value = Rt::DateTime::parse(rows.asString(record, field)))
            return *value;
        throw DbError(u"'%1' is not a date-time value for property %2"_s.arg(
                          rows.asString(record, field), QString::fromLatin1(property.name())),
                      DbFailure::Statement);
    default:
        return null ? QVariant(property.metaType()) : QVariant(rows.asString(record, field));
    }
}

} // namespace

Database::~Database() = default;

TObjectHashedList *Database::queryObjectList(const QMetaObject &entityClass,
                                             const QString &oracleSql)
{
    const std::unique_ptr<TDataSet> rows(openQuery(oracleSql));

    // Field of each published property, QObject's own left out.
    struct Binding
    {
        QMetaProperty property;
        int field;
    };
    std::vector<Binding> bindings;
    for (int p = QObject::staticMetaObject.propertyCount(); p < entityClass.propertyCount(); ++p) {
        const QMetaProperty property = entityClass.property(p);
        const int field = rows->findField(QString::fromLatin1(property.name()));
        if (field >= 0)
            bindings.push_back({property, field});
    }

    auto list = std::make_unique<TObjectHashedList>();
    for (int record = 0; record < rows->recordCount(); ++record) {
        std::unique_ptr<QObject> object(entityClass.newInstance());
        if (!object) {
            throw DbError(u"Cannot create %1: it has no invokable default constructor"_s.arg(
                              QString::fromLatin1(entityClass.className())),
                          DbFailure::Statement);
        }
        for (const Binding &binding : bindings) {
            const QVariant value = propertyValue(binding.property, *rows, record, binding.field);
            if (!binding.property.write(object.get(), value)) {
                throw DbError(u"Cannot set property %1 of %2 from column value '%3'"_s.arg(
                                  QString::fromLatin1(binding.property.name()),
                                  QString::fromLatin1(entityClass.className()),
                                  rows->asString(record, binding.field)),
                              DbFailure::Statement);
            }
        }
        const QString key = object->property("ID").toString();
        list->addObject(key, object.release());
    }
    return list.release();
}

void Database::beginTrans()
{
    if (inTransaction())
        throw DbError(u"Cannot begin a transaction: one is already open"_s, DbFailure::Statement);
    beginEngineTransaction();
}

void Database::commitTrans()
{
    if (!inTransaction())
        throw DbError(u"Cannot commit: no transaction is open"_s, DbFailure::Statement);
    commitEngineTransaction();
}

void Database::rollbackTrans()
{
    if (inTransaction())
        rollbackEngineTransaction();
}

Database::Changes Database::runStatements(const QList<OracleSql::TranslatedStatement> &statements,
                                          const std::function<qint64(const QString &sql)> &run)
{
    Changes changes;
    for (const OracleSql::TranslatedStatement &statement : statements) {
        const qint64 rows = run(statement.sql);
        changes.rows += rows;
        if (statement.kind == OracleSql::StatementKind::Update
            || statement.kind == OracleSql::StatementKind::Delete) {
            changes.allFound = changes.allFound && rows > 0;
        }
    }
    return changes;
}

QString Database::translateQuery(const QString &oracleSql, OracleSql::Target target)
{
    const QList<OracleSql::TranslatedStatement> statements =
        OracleSql::translate(oracleSql, target);
    if (statements.size() != 1 || statements.first().kind != OracleSql::StatementKind::Select)
        throw DbError(u"Not a query: %1"_s.arg(oneLine(oracleSql)), DbFailure::Statement);
    return statements.first().sql;
}

QString Database::oneLine(const QString &sql)
{
    return sql.simplified();
}

QString Database::nativeValue(const QString &sql, const QVariantList &parameters)
{
    const std::unique_ptr<TDataSet> rows = select(sql, parameters);
    if (rows->recordCount() == 0 || rows->fieldCount() == 0 || rows->isNull(0, 0))
        return QString();
    return rows->asString(0, 0);
}

bool isServerLocation(const QString &location)
{
    return location.startsWith(u"postgresql://"_s, Qt::CaseInsensitive)
           || location.startsWith(u"postgres://"_s, Qt::CaseInsensitive);
}

QString readableLocation(const QString &location)
{
    if (!isServerLocation(location))
        return location;
    const QByteArray withoutPassword = QUrl(location).toEncoded(QUrl::RemovePassword);
    return QUrl::fromPercentEncoding(withoutPassword);
}

std::unique_ptr<Database> openDatabase(const QString &location)
{
    if (isServerLocation(location))
        return std::make_unique<PgDatabase>(location);
    return std::make_unique<SqliteDatabase>(location);
}
