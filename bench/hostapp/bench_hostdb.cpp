// Measures the list window's search over 30 days and the administrator's whole
// scope on a large demo database: through Database::openQuery into a filled
// TDataSet, against the same translated statement stepped by SQLite alone.
//
//   bench_hostdb [--db FILE] [--demo-scale N] [--runs N]
//
// FILE is built with demo data of scale N (1: 20,000 employees, 1,000,000
// exchanges) when it does not exist, and reused otherwise.

#include "BenchSupport.h"

#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/OracleDialect.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sqlite3.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The search button's statement, joined as the module joins it.
QString searchStatement(const QString &scope, const QString &begin, const QString &end)
{
    return u" select a.* from Kq_ExchangeClass a,hr_employee e  where  a.employeecode=e.employeecode  and a.ExchgDate >= to_date('"_s
           + begin + u"','yyyy-mm-dd')  "_s + u" and a.ExchgDate <= to_date('"_s + end
           + u"','yyyy-mm-dd')"_s + u" and e.DeptCode in "_s + scope
           + u" order by a.EmployeeCode , a.ExchgDate  "_s;
}

// Steps the statement and reads every column of every row; returns the row count.
int stepRaw(sqlite3 *db, const QByteArray &sql, quint64 *checksum)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        throw Rt::DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    const int columns = sqlite3_column_count(statement);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                *checksum += quint64(sqlite3_column_int64(statement, c));
                break;
            case SQLITE_FLOAT:
                *checksum += quint64(sqlite3_column_double(statement, c));
                break;
            case SQLITE_TEXT:
                sqlite3_column_text(statement, c);
                *checksum += quint64(sqlite3_column_bytes(statement, c));
                break;
            }
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

struct Timing
{
    std::vector<double> elapsed;
    std::vector<double> cpu;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"List search through the host database, against SQLite alone."_s);
    parser.addHelpOption();
    const QCommandLineOption dbOption(u"db"_s, u"Database file, built when missing."_s, u"file"_s,
                                      QDir::temp().filePath(u"talvex-bench.db"_s));
    const QCommandLineOption scaleOption(u"demo-scale"_s, u"Scale of a new demo database."_s,
                                         u"n"_s, u"1"_s);
    const QCommandLineOption runsOption(u"runs"_s, u"Measured runs of each side."_s, u"n"_s,
                                        u"7"_s);
    parser.addOptions({dbOption, scaleOption, runsOption});
    parser.process(app);

    const QString path = parser.value(dbOption);
    const double scale = parser.value(scaleOption).toDouble();
    const int runs = qMax(1, parser.value(runsOption).toInt());

    try {
        SqliteDatabase db(path);
        Bench::prepareDemoDatabase(db, scale);
        Bench::print(u"employees: %1, exchanges: %2, plan rows: %3"_s.arg(
            db.queryValue(u"select count(1) from HR_Employee"_s),
            db.queryValue(u"select count(1) from Kq_ExchangeClass"_s),
            db.queryValue(u"select count(1) from Kq_WorkPlan"_s)));

        const QDate end = Bench::dataDay(db);
        const QString sql = searchStatement(
            OperatorRights::deptScope(db, QString::number(DemoData::administratorId)),
            end.addDays(-30).toString(u"yyyy-MM-dd"_s), end.toString(u"yyyy-MM-dd"_s));
        const QByteArray translated =
            OracleSql::translate(sql, OracleSql::Target::Sqlite).first().sql.toUtf8();
        Bench::print(u"plan: %1"_s.arg(db.queryPlan(sql).join(u"; "_s)));

        Timing viaDataSet;
        Timing viaSqlite;
        int rows = 0;
        int rawRows = 0;
        quint64 checksum = 0;
        QElapsedTimer timer;
        for (int run = -1; run < runs; ++run) { // run -1 warms the cache
            timer.start();
            double cpuStart = Bench::cpuMs();
            std::unique_ptr<TDataSet> set(db.openQuery(sql));
            const double dataSetMs = timer.nsecsElapsed() / 1e6;
            const double dataSetCpuMs = Bench::cpuMs() - cpuStart;
            rows = set->recordCount();
            set.reset();

            timer.start();
            cpuStart = Bench::cpuMs();
            rawRows = stepRaw(db.handle(), translated, &checksum);
            const double sqliteMs = timer.nsecsElapsed() / 1e6;
            const double sqliteCpuMs = Bench::cpuMs() - cpuStart;
            if (run >= 0) {
                viaDataSet.elapsed.push_back(dataSetMs);
                viaDataSet.cpu.push_back(dataSetCpuMs);
                viaSqlite.elapsed.push_back(sqliteMs);
                viaSqlite.cpu.push_back(sqliteCpuMs);
            }
        }
        if (rows != rawRows)
            throw Rt::DatabaseError(u"row counts differ: %1 and %2"_s.arg(rows).arg(rawRows));

        Bench::print(
            u"rows: %1 (30 days, whole scope); medians of %2 runs, elapsed / processor time"_s
                .arg(rows)
                .arg(runs));
        const auto line = [](const QString &what, const Timing &timing) {
            Bench::print(u"%1 %2 ms / %3 ms"_s.arg(what)
                             .arg(Bench::median(timing.elapsed), 7, 'f', 1)
                             .arg(Bench::median(timing.cpu), 7, 'f', 1));
        };
        line(u"openQuery to TDataSet:         "_s, viaDataSet);
        line(u"sqlite3 prepare+step+columns:  "_s, viaSqlite);
        Bench::print(
            u"ratio: %1 / %2"_s
                .arg(Bench::median(viaDataSet.elapsed) / Bench::median(viaSqlite.elapsed), 0, 'f',
                     2)
                .arg(Bench::median(viaDataSet.cpu) / Bench::median(viaSqlite.cpu), 0, 'f', 2));
    } catch (const Rt::Exception &e) {
        Bench::print(u"error: "_s + e.message());
        return 1;
    }
    return 0;
}
