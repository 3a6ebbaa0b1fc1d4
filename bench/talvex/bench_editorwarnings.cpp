// Times the exchange editor's working-time warnings on a large database: the
// read when the day changes (the employee's surrounding days and the day of his
// team, 一车间甲班, whose minimum asks for most of it), and the work that follows
// each change of a period, from the keystroke's value to the panel shown again.
// Both under the PRC profile and under the EU one, which reads 17 weeks, on
// SQLite and on PostgreSQL.
//
//   bench_editorwarnings [--db FILE] [--pg URI] [--runs N]
//
// FILE and the PostgreSQL URI (TALVEX_TEST_PG when --pg is not given) are filled
// with demo data of scale 1 when empty and reused otherwise. On the server the
// URI's role owns the tables; the editor works as the operator admin. The EU profile is
// given to the team for the second half and taken back at the end.

#include "BenchSupport.h"
#include "EditorDriver.h"

#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/PgRoles.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLabel>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString team = u"010101"_s;

void measure(const QString &what, int runs, const std::function<void(int)> &step)
{
    const Bench::Timing timing = Bench::timeRuns(runs, step);
    Bench::print(u"%1 %2 ms / %3 ms"_s.arg(what.leftJustified(48))
                     .arg(timing.medianElapsed(), 8, 'f', 2)
                     .arg(timing.medianCpu(), 8, 'f', 2));
}

void useProfile(Database &db, const QString &profile)
{
    db.execute(u"DELETE FROM Kq_DeptRuleProfile WHERE DeptCode = $1"_s, {team});
    if (!profile.isEmpty()) {
        db.execute(u"INSERT INTO Kq_DeptRuleProfile (DeptCode, ProfileName) VALUES ($1, $2)"_s,
                   {team, profile});
    }
}

// The panel's lines, to show that the warnings are worked out at all.
QStringList warnings(const OpenEditor &e)
{
    QStringList lines;
    for (const QLabel *line : e.child(u"pnlWarnings"_s)->findChildren<QLabel *>()) {
        if (!line->isHidden())
            lines << line->text();
    }
    return lines;
}

void timeProfile(const QString &engine, const QString &profile, const QString &jobNumber,
                 const QDate &today, int runs)
{
    driveEditor([] { ShowKqExchgClassEdt(u"新增调班"_s, QString()); },
                [&](OpenEditor &e) {
                    e.setDay(today);
                    e.pick(jobNumber);
                    measure(u"%1 %2: day changed, surroundings read"_s.arg(engine, profile), runs,
                            [&](int run) { e.setDay(today.addDays(run % 2 == 0 ? 1 : 2)); });
                    auto *end = e.child<TcxTimeEdit>(u"cxTimeEdit6"_s);
                    e.enter({u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s});
                    measure(u"%1 %2: period changed, warnings shown"_s.arg(engine, profile), runs,
                            [&](int run) {
                                end->setText(run % 2 == 0 ? u"12:30"_s : u"11:30"_s);
                                QApplication::processEvents();
                            });
                    e.enter({u"06:00"_s, u"12:00"_s, u"13:00"_s, u"21:00"_s});
                    Bench::print(u"  %1"_s.arg(warnings(e).join(u" | "_s)));
                });
}

// owner holds the tables and changes the team's profile; desk is the
// administrator's connection, on a server his own login role.
void timeEngine(Database &owner, Database &desk, const QString &engine, int runs)
{
    const Bench::ModuleHost host(desk, u"bench-editorwarnings.log"_s);
    const QDate today = Bench::dataDay(desk);
    const QString jobNumber = desk.nativeValue(
        u"SELECT min(JobNumber) FROM HR_Employee WHERE DeptCode = $1 AND DELETED = 0"_s, {team});
    Bench::print(
        u"%1: %2 employees in the team; employee %3; medians of %4 runs, elapsed / processor time"_s
            .arg(
                engine,
                desk.nativeValue(u"SELECT count(*) FROM HR_Employee WHERE DeptCode = $1"_s, {team}),
                jobNumber)
            .arg(runs));
    useProfile(owner, QString());
    timeProfile(engine, u"PRC"_s, jobNumber, today, runs);
    useProfile(owner, u"EU"_s);
    timeProfile(engine, u"EU"_s, jobNumber, today, runs);
    useProfile(owner, QString());
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"The editor's working-time warnings on a large demo database."_s);
    parser.addHelpOption();
    const QCommandLineOption dbOption(u"db"_s, u"SQLite file, built when missing."_s, u"file"_s,
                                      QDir::temp().filePath(u"talvex-scale1.db"_s));
    const QCommandLineOption runsOption(u"runs"_s, u"Measured runs of each step."_s, u"n"_s,
                                        u"21"_s);
    const QCommandLineOption pgOption(u"pg"_s, u"PostgreSQL URI, filled when empty."_s, u"uri"_s,
                                      qEnvironmentVariable("TALVEX_TEST_PG"));
    parser.addOptions({dbOption, pgOption, runsOption});
    parser.process(app);
    const int runs = qMax(1, parser.value(runsOption).toInt());

    TScreen screen;
    Rt::setScreen(&screen);
    Rt::setMessageBoxResponder([](const Rt::MessageBoxRequest &) { return Rt::Answer::Yes; });
    try {
        {
            SqliteDatabase db(parser.value(dbOption));
            Bench::prepareDemoDatabase(db, 1);
            timeEngine(db, db, u"SQLite"_s, runs);
        }
        if (!parser.value(pgOption).isEmpty()) {
            PgDatabase owner(parser.value(pgOption));
            Bench::prepareDemoDatabase(owner, 1);
            PgRoles::createOperatorRoles(owner);
            PgDatabase desk(Bench::administratorUri(parser.value(pgOption)));
            timeEngine(owner, desk, u"PostgreSQL"_s, runs);
        }
    } catch (const Rt::Exception &e) {
        Bench::print(u"failed: "_s + e.message());
        return 1;
    }
    return 0;
}
