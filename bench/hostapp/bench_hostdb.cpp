// The list window's search over 30 days and the administrator's whole scope on a
// large demo database, on SQLite and on PostgreSQL side by side:
// - the engine alone: the translated statement, every value of every row read
//   (SQLite: prepare, step, columns; PostgreSQL: the whole result received);
// - through Database::openQuery into a filled TDataSet;
// - from the search button to a filled grid in the list window.
//
//   bench_hostdb [--db FILE] [--pg URI] [--demo-scale N] [--runs N]
//
// FILE, and the PostgreSQL database URI names (TALVEX_TEST_PG when --pg is not
// given; scripts/with-pg-cluster.sh starts a throwaway one), are filled with demo
// data of scale N when empty and reused otherwise. Without a URI only SQLite runs.
// On the server the URI's role owns the tables and the search runs as the
// operator admin.

#include "BenchSupport.h"
#include "EngineAlone.h"

#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/OracleDialect.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "talvex/work/WorkWindow.h"

#include <QCommandLineParser>
#include <QPushButton>
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

struct EngineFigures
{
    QString name;
    int rows = 0;
    Bench::Timing engine;
    Bench::Timing dataSet;
    Bench::Timing grid;
};

QString mediansText(const Bench::Timing &timing)
{
    return u"%1 / %2"_s.arg(timing.medianElapsed(), 6, 'f', 0).arg(timing.medianCpu(), 4, 'f', 0);
}

EngineFigures measure(Database &db, const QString &name, int runs,
                      const std::function<int(const QByteArray &)> &engineAlone)
{
    EngineFigures figures{name};
    const QDate end = Bench::dataDay(db);
    const QDate begin = end.addDays(-30);
    const QString sql =
        searchStatement(OperatorRights::deptScope(db, QString::number(DemoData::administratorId)),
                        begin.toString(u"yyyy-MM-dd"_s), end.toString(u"yyyy-MM-dd"_s));
    const OracleSql::Target target = db.backend() == DbBackend::Sqlite
                                         ? OracleSql::Target::Sqlite
                                         : OracleSql::Target::PostgreSql;
    const QByteArray translated = OracleSql::translate(sql, target).first().sql.toUtf8();
    Bench::print(u"%1 plan: %2"_s.arg(name, db.queryPlan(sql).join(u"; "_s)));

    // The host first: its session sets up the process as the host runs.
    const Bench::ModuleHost host(db, u"bench-hostdb.log"_s);

    for (int run = -1; run < runs; ++run) { // run -1 warms the caches
        Bench::Timing &engine = figures.engine;
        int rows = 0;
        engine.measure([&] { rows = engineAlone(translated); });
        std::unique_ptr<TDataSet> set;
        figures.dataSet.measure([&] { set.reset(db.openQuery(sql)); });
        if (rows != set->recordCount())
            throw Rt::DatabaseError(
                u"row counts differ: %1, %2"_s.arg(rows).arg(set->recordCount()));
        figures.rows = rows;
        if (run < 0) {
            figures.engine = {};
            figures.dataSet = {};
        }
    }

    {
        TWorkWindowForm window;
        window.resize(1280, 720);
        window.InitWindow();
        window.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->setDate(begin);
        window.findChild<TcxDateEdit *>(u"edtEndDate"_s)->setDate(end);
        window.show(); // the tree, the names and a first search
        auto *button = window.findChild<QPushButton *>(u"btnQry"_s);
        for (int run = 0; run < runs; ++run) {
            figures.grid.measure([&] {
                button->click();
                QCoreApplication::processEvents();
            });
        }
        if (window.dataSet()->recordCount() != figures.rows)
            throw Rt::DatabaseError(
                u"the grid shows %1 rows"_s.arg(window.dataSet()->recordCount()));
        window.FreeWindow();
    }
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    const auto options = Bench::EngineOptions::parse(
        parser,
        u"List search on SQLite and PostgreSQL: the engine alone, into a data set, to a grid."_s);
    const int runs = options.runs;

    try {
        std::vector<EngineFigures> results;
        {
            SqliteDatabase db(options.file);
            Bench::prepareDemoDatabase(db, options.scale);
            results.push_back(measure(db, u"SQLite"_s, runs, [&](const QByteArray &sql) {
                const Bench::EngineStatement search{sql, {}};
                return Bench::stepSqlite(db.handle(), {&search, 1});
            }));
        }
        if (!options.server.isEmpty()) {
            Bench::prepareServer(options.server, options.scale);
            // The register opens on an operator's own connection, as his desk does.
            PgDatabase db(Bench::operatorUri(options.server, u"admin"_s));
            results.push_back(measure(db, u"PostgreSQL"_s, runs, [&](const QByteArray &sql) {
                const Bench::EngineStatement search{sql, {}};
                return Bench::receivePostgreSql(db.connection().handle(), {&search, 1});
            }));
        }

        Bench::print(u"\n30 days, whole scope: %1 rows; medians of %2 runs,"
                     u" elapsed / processor time of this process, ms"_s.arg(results.front().rows)
                         .arg(runs));
        QString header = u"%1"_s.arg(QString(), -34);
        for (const EngineFigures &figures : results)
            header += u"%1"_s.arg(figures.name, 16);
        Bench::print(header);
        const auto line = [&](const QString &what, Bench::Timing EngineFigures::*timing) {
            QString text = u"%1"_s.arg(what, -34);
            for (const EngineFigures &figures : results)
                text += u"%1"_s.arg(mediansText(figures.*timing), 16);
            Bench::print(text);
        };
        line(u"the engine alone"_s, &EngineFigures::engine);
        line(u"openQuery to a filled TDataSet"_s, &EngineFigures::dataSet);
        line(u"search button to a filled grid"_s, &EngineFigures::grid);
    } catch (const Rt::Exception &e) {
        Bench::print(u"error: "_s + e.message());
        return 1;
    }
    return 0;
}
