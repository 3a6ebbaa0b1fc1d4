// The working-time checks over the administrator's whole scope for the month of
// the demo data's last day, as check-rules runs them, on SQLite and on
// PostgreSQL: reading the rows, and everything from the rules to the sorted
// breaches.
//
//   bench_checkrules [--db FILE] [--pg URI] [--demo-scale N] [--runs N]
//
// FILE and the PostgreSQL URI (TALVEX_TEST_PG when --pg is not given) are filled
// with demo data of scale N when empty and reused otherwise.

#include "BenchSupport.h"

#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/rules/RuleCheck.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "runtime/exceptions.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace {

void measure(Database &db, const QString &engine, int runs)
{
    const QDate day = Bench::dataDay(db);
    const Schedule::DateRange month{QDate(day.year(), day.month(), 1),
                                    QDate(day.year(), day.month(), day.daysInMonth())};
    const QString scope = OperatorRights::deptScope(db, QString::number(DemoData::administratorId));
    std::size_t breaches = 0;
    const Bench::Timing whole = Bench::timeRuns(runs, [&](int) {
        breaches = checkRules(db, {scope, QString(), month}).size();
    });
    int employees = 0;
    const Bench::Timing reading = Bench::timeRuns(runs, [&](int) {
        employees = int(ScheduleRows::read(db, {scope, QString(), month}).employees.size());
    });
    Bench::print(
        u"%1: %2 employees, %3 breaches in %4; medians of %5 runs, elapsed / cpu ms"_s.arg(engine)
            .arg(employees)
            .arg(breaches)
            .arg(month.first.toString(u"yyyy-MM"_s))
            .arg(runs));
    Bench::print(
        u"  check-rules, whole scope, a month   %1 / %2"_s.arg(whole.medianElapsed(), 0, 'f', 0)
            .arg(whole.medianCpu(), 0, 'f', 0));
    Bench::print(
        u"  of which the month's rows alone     %1 / %2"_s.arg(reading.medianElapsed(), 0, 'f', 0)
            .arg(reading.medianCpu(), 0, 'f', 0));
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    const auto options =
        Bench::EngineOptions::parse(parser, u"check-rules over the whole scope for a month."_s);
    try {
        {
            SqliteDatabase db(options.file);
            Bench::prepareDemoDatabase(db, options.scale);
            measure(db, u"SQLite"_s, options.runs);
        }
        if (!options.server.isEmpty()) {
            Bench::prepareServer(options.server, options.scale);
            // As the administrator's own desk: the server's policies take their part.
            PgDatabase db(Bench::operatorUri(options.server, u"admin"_s));
            measure(db, u"PostgreSQL"_s, options.runs);
        }
    } catch (const Rt::Exception &e) {
        Bench::print(u"failed: "_s + e.message());
        return 1;
    }
    return 0;
}
