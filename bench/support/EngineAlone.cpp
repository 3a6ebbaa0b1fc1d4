#include "EngineAlone.h"

#include "runtime/exceptions.h"

#include <libpq-fe.h>
#include <sqlite3.h>

namespace Bench {

int stepSqlite(sqlite3 *db, std::span<const EngineStatement> statements)
{
    int rows = 0;
    quint64 bytes = 0;
    for (const EngineStatement &s : statements) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, s.sql.constData(), int(s.sql.size()), &statement, nullptr)
            != SQLITE_OK) {
            throw Rt::DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
        }
        for (size_t i = 0; i < s.parameters.size(); ++i) {
            const QByteArray name = '$' + QByteArray::number(qsizetype(i + 1));
            sqlite3_bind_text(statement, sqlite3_bind_parameter_index(statement, name.constData()),
                              s.parameters[i].constData(), int(s.parameters[i].size()),
                              SQLITE_STATIC);
        }
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(statement, c) == SQLITE_TEXT) {
                    sqlite3_column_text(statement, c);
                    bytes += quint64(sqlite3_column_bytes(statement, c));
                } else {
                    bytes += quint64(sqlite3_column_int64(statement, c));
                }
            }
        }
        sqlite3_finalize(statement);
    }
    // The values read must count for something, or the compiler may skip reading.
    static volatile quint64 sink;
    sink = sink + bytes;
    return rows;
}

int receivePostgreSql(pg_conn *db, std::span<const EngineStatement> statements)
{
    int rows = 0;
    for (const EngineStatement &s : statements) {
        std::vector<const char *> values;
        for (const QByteArray &value : s.parameters)
            values.push_back(value.constData());
        PGresult *result = PQexecParams(db, s.sql.constData(), int(values.size()), nullptr,
                                        values.data(), nullptr, nullptr, 0);
        const bool ok = PQresultStatus(result) == PGRES_TUPLES_OK;
        const QString error = QString::fromUtf8(PQresultErrorMessage(result));
        rows += ok ? PQntuples(result) : 0;
        PQclear(result);
        if (!ok)
            throw Rt::DatabaseError(error);
    }
    return rows;
}

} // namespace Bench
