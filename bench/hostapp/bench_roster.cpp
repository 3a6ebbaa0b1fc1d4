// The effective schedule of the administrator's whole scope for the month of the
// demo data's last day, on SQLite and on PostgreSQL side by side:
// - the engine alone: the statements that read the employees, their plan rows
//   (the month's and each one's last planned day before it), the month's
//   exchanges and the shift cycles, every value of every row stepped (SQLite) or
//   received (PostgreSQL);
// - the library: the same rows read by ScheduleRows into plain structs, and the
//   effective schedule of every employee and day computed from them;
// - the roster command's work: all of that and the CSV file (and the workbook).
//
//   bench_roster [--db FILE] [--pg URI] [--demo-scale N] [--runs N]
//
// FILE and the PostgreSQL URI (TALVEX_TEST_PG when --pg is not given) are filled
// with demo data of scale N when empty and reused otherwise.

#include "BenchSupport.h"
#include "EngineAlone.h"

#include "hostapp/commands/RosterFile.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "runtime/exceptions.h"

#include <QCommandLineParser>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// One statement as ScheduleRows sends it, with its parameters' values.
using Statement = Bench::EngineStatement;

// What ScheduleRows reads for a whole scope and a range, as it asks the engine
// for it: $1 is the department pattern, $2 and $3 the first and last day.
std::vector<Statement> readingStatements(const QString &scope, const Schedule::DateRange &range)
{
    const QString employees =
        u"e.DELETED = 0 AND e.DeptCode IN %1 AND e.DeptCode LIKE $1 ESCAPE '!'"_s.arg(scope);
    const QString plan = u"p.employeecode, p.WorkDate, p.period1Beg, p.period1end, p.period2Beg,"
                         u" p.period2end, p.ClassType, p.ClassID, p.SubClassNo"_s;
    const QByteArray pattern = "%";
    const QByteArray first = range.first.toString(u"yyyy-MM-dd"_s).toUtf8();
    const QByteArray last = range.last.toString(u"yyyy-MM-dd"_s).toUtf8();
    return {
        {(u"SELECT e.EmployeeCode, e.JobNumber, e.PersonName, e.DeptCode FROM HR_Employee e"
          u" WHERE %1 ORDER BY e.EmployeeCode"_s.arg(employees))
             .toUtf8(),
         {pattern}},
        {(u"SELECT %1 FROM HR_Employee e JOIN Kq_WorkPlan p ON p.employeecode = e.EmployeeCode"
          u" WHERE %2 AND p.WorkDate >= $2 AND p.WorkDate <= $3"
          u" UNION ALL"
          u" SELECT %1 FROM HR_Employee e JOIN Kq_WorkPlan p ON p.employeecode = e.EmployeeCode"
          u" AND p.WorkDate = (SELECT max(q.WorkDate) FROM Kq_WorkPlan q"
          u" WHERE q.employeecode = e.EmployeeCode AND q.WorkDate < $2)"
          u" WHERE %2"_s.arg(plan, employees))
             .toUtf8(),
         {pattern, first, last}},
        {(u"SELECT x.ID, x.EmployeeCode, x.ExchgDate, x.period1Beg, x.period1end, x.period2Beg,"
          u" x.period2end, x.WorkFlag, x.ExchgeReason, x.OptorCode,"
          u" coalesce(x.MODIFIED_TIME, x.CREATE_TIME)"
          u" FROM HR_Employee e JOIN Kq_ExchangeClass x ON x.EmployeeCode = e.EmployeeCode"
          u" WHERE %1 AND x.ExchgDate >= $2 AND x.ExchgDate <= $3"_s.arg(employees))
             .toUtf8(),
         {pattern, first, last}},
        {"SELECT d.ClassID, d.SubClassNo, d.period1Beg, d.period1end, d.period2Beg, d.period2end"
         " FROM Kq_ClassDetail d",
         {}},
    };
}

QString medians(const Bench::Timing &timing)
{
    return u"%1 / %2"_s.arg(timing.medianElapsed(), 6, 'f', 0).arg(timing.medianCpu(), 5, 'f', 0);
}

void measure(Database &db, const QString &engine, int runs,
             const std::function<int(const std::vector<Statement> &)> &engineAlone)
{
    const QDate day = Bench::dataDay(db);
    const Schedule::DateRange month{QDate(day.year(), day.month(), 1),
                                    QDate(day.year(), day.month(), day.daysInMonth())};
    const QString scope = OperatorRights::deptScope(db, QString::number(DemoData::administratorId));
    const std::vector<Statement> statements = readingStatements(scope, month);

    int engineRows = 0;
    const Bench::Timing alone =
        Bench::timeRuns(runs, [&](int) { engineRows = engineAlone(statements); });
    qsizetype employees = 0;
    int working = 0;
    const Bench::Timing library = Bench::timeRuns(runs, [&](int) {
        const ScheduleRows rows = ScheduleRows::read(db, {scope, QString(), month});
        const Schedule::Grid grid = Schedule::effectiveSchedule(rows.input());
        employees = rows.employees.size();
        working = Schedule::workingCounts(grid).front();
    });
    QTemporaryDir folder;
    const auto roster = [&](const QString &file) {
        return Bench::timeRuns(runs, [&](int) {
            const ScheduleRows rows = ScheduleRows::read(db, {scope, QString(), month});
            RosterFile::write(folder.filePath(file), rows,
                              Schedule::effectiveSchedule(rows.input()));
        });
    };
    const Bench::Timing csv = roster(u"roster.csv"_s);
    const Bench::Timing xls = roster(u"roster.xls"_s);

    Bench::print(u"%1: %2 employees x %3 days (%4 rows), %5 working on the 1st;"
                 u" medians of %6 runs, elapsed / cpu ms"_s.arg(engine)
                     .arg(employees)
                     .arg(month.days())
                     .arg(engineRows)
                     .arg(working)
                     .arg(runs));
    Bench::print(u"  the engine alone, stepping the rows      %1"_s.arg(medians(alone)));
    Bench::print(
        u"  ScheduleRows + effective schedule        %1   (%2 x the engine)"_s.arg(medians(library))
            .arg(library.medianElapsed() / alone.medianElapsed(), 0, 'f', 2));
    Bench::print(u"  roster, whole scope, a month, CSV        %1"_s.arg(medians(csv)));
    Bench::print(u"  roster, whole scope, a month, .xls       %1"_s.arg(medians(xls)));
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    const auto options = Bench::EngineOptions::parse(
        parser, u"The effective schedule of the whole scope for a month, and the roster."_s);
    try {
        {
            SqliteDatabase db(options.file);
            Bench::prepareDemoDatabase(db, options.scale);
            measure(db, u"SQLite"_s, options.runs, [&](const std::vector<Statement> &statements) {
                return Bench::stepSqlite(db.handle(), statements);
            });
        }
        if (!options.server.isEmpty()) {
            Bench::prepareServer(options.server, options.scale);
            // As the administrator's own desk: the server's policies take their part.
            PgDatabase db(Bench::operatorUri(options.server, u"admin"_s));
            measure(db, u"PostgreSQL"_s, options.runs,
                    [&](const std::vector<Statement> &statements) {
                        return Bench::receivePostgreSql(db.connection().handle(), statements);
                    });
        }
    } catch (const Rt::Exception &e) {
        Bench::print(u"failed: "_s + e.message());
        return 1;
    }
    return 0;
}
