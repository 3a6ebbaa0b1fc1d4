#include "OracleFunctions.h"

#include "runtime/exceptions.h"

#include <QRegularExpression>
#include <memory>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace OracleSql {

namespace {

QString textOf(sqlite3_value *value)
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return QString::fromUtf8(data, sqlite3_value_bytes(value));
}

void deleteRegularExpression(void *expression)
{
    delete static_cast<QRegularExpression *>(expression);
}

void regexpReplace(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_value(context, argv[0]);
        return;
    }

    // SQLite keeps the compiled pattern beside the statement while the pattern
    // argument stays the same, so that a query compiles it once, not per row.
    auto *cached = static_cast<QRegularExpression *>(sqlite3_get_auxdata(context, 1));
    std::unique_ptr<QRegularExpression> compiled;
    if (!cached) {
        compiled = std::make_unique<QRegularExpression>(textOf(argv[1]));
        if (!compiled->isValid()) {
            const QByteArray message = u"regexp_replace: invalid pattern '%1': %2"_s
                                           .arg(compiled->pattern(), compiled->errorString())
                                           .toUtf8();
            sqlite3_result_error(context, message.constData(), int(message.size()));
            return;
        }
        cached = compiled.get();
    }

    const QString source = textOf(argv[0]);
    const QString replacement = argc > 2 ? textOf(argv[2]) : QString();
    const QByteArray result = QString(source).replace(*cached, replacement).toUtf8();
    sqlite3_result_text(context, result.constData(), int(result.size()), SQLITE_TRANSIENT);

    // Handed over last: SQLite may free it at once.
    if (compiled)
        sqlite3_set_auxdata(context, 1, compiled.release(), deleteRegularExpression);
}

} // namespace

void registerFunctions(sqlite3 *db)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (int arguments : {2, 3}) {
        const int rc = sqlite3_create_function_v2(db, "regexp_replace", arguments, flags, nullptr,
                                                  regexpReplace, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            throw Rt::DatabaseError(
                u"Cannot register regexp_replace: %1"_s.arg(QString::fromUtf8(sqlite3_errmsg(db))));
        }
    }
}

} // namespace OracleSql
