// Times the exchange editor on a large database: the prior-schedule lookup that
// projects a rotating shift, and an exchange added from the toolbar, from its OK
// button to the list read again.
//
//   bench_editor [--db FILE] [--runs N]   (a missing FILE is built with --demo-scale 1)
//
// The exchanges it adds are removed again at its end (and at its start, after a
// run that did not get there).

#include "BenchSupport.h"
#include "EditorDriver.h"

#include "hostapp/db/Database.h"
#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/component.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/work/WorkWindow.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString benchReason = u"bench_editor"_s;

QString dayText(const QDate &day)
{
    return day.toString(u"yyyy-MM-dd"_s);
}

void removeBenchExchanges(Database &db)
{
    db.execute(u"DELETE FROM Kq_ExchangeClass WHERE ExchgeReason = '%1'"_s.arg(benchReason));
}

// Medians of elapsed and processor time of step over runs, after one run to warm up.
void measure(const QString &what, int runs, const std::function<void(int)> &step)
{
    const Bench::Timing timing = Bench::timeRuns(runs, step);
    Bench::print(u"%1 %2 ms / %3 ms"_s.arg(what.leftJustified(44))
                     .arg(timing.medianElapsed(), 8, 'f', 2)
                     .arg(timing.medianCpu(), 8, 'f', 2));
}

// Employees of the demo data with a rotating shift planned on a day.
QStringList rotatingEmployees(Database &db, const QDate &planned, int count)
{
    const std::unique_ptr<TDataSet> rows =
        db.select(u"SELECT employeecode FROM Kq_WorkPlan WHERE WorkDate = $1 "
                  "AND ClassType = 1 LIMIT $2"_s,
                  {dayText(planned), count});
    QStringList codes;
    for (int row = 0; row < rows->recordCount(); ++row)
        codes << rows->asString(row, 0);
    return codes;
}

// The list window over the last 30 days of the data; searched for text.
struct ListWindow
{
    ListWindow(const QDate &day, const QString &text)
    {
        Rt::setTag(&form, 1001);
        form.resize(1280, 720);
        form.InitWindow();
        form.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->setDate(day.addDays(-30));
        form.findChild<TcxDateEdit *>(u"edtEndDate"_s)->setDate(day.addDays(40));
        form.show();
        form.findChild<TcxButtonEdit *>(u"edtEmployeeCode"_s)->setText(text);
        form.findChild<QPushButton *>(u"btnQry"_s)->click();
    }
    ~ListWindow() { form.FreeWindow(); }

    int rows() const
    {
        return form.findChild<TcxGridDBTableView *>(u"TableKQExchangeClass"_s)
            ->dataController()
            ->recordCount();
    }

    struct Times
    {
        double save;  // from OK until the editor has closed
        double total; // from OK until the list is read again
    };

    // Adds an exchange for jobNumber on day from the toolbar.
    Times add(const QString &jobNumber, const QDate &day)
    {
        QElapsedTimer timer;
        Times times{};
        driveEditor([this] { form.findChild<TdxBarItem *>(u"btnAdd"_s)->click(); },
                    [&](OpenEditor &e) {
                        e.setDay(day);
                        e.pick(jobNumber);
                        e.enter({u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s});
                        e.setReason(benchReason);
                        timer.start();
                        e.ok();
                        times.save = double(timer.nsecsElapsed()) / 1e6;
                    });
        times.total = double(timer.nsecsElapsed()) / 1e6;
        return times;
    }

    TWorkWindowForm form;
};

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"The exchange editor on a large demo database."_s);
    parser.addHelpOption();
    const QCommandLineOption dbOption(u"db"_s, u"Database file, built when missing."_s, u"file"_s,
                                      QDir::temp().filePath(u"talvex-scale1.db"_s));
    const QCommandLineOption runsOption(u"runs"_s, u"Measured runs of each step."_s, u"n"_s,
                                        u"9"_s);
    parser.addOptions({dbOption, runsOption});
    parser.process(app);
    const int runs = qMax(1, parser.value(runsOption).toInt());

    TScreen screen;
    Rt::setScreen(&screen);
    Rt::setMessageBoxResponder([](const Rt::MessageBoxRequest &) { return Rt::Answer::Yes; });
    const std::unique_ptr<Database> database = Bench::openDemoDatabase(parser.value(dbOption), 1);
    Database &db = *database;
    removeBenchExchanges(db);
    const Bench::ModuleHost host(db, u"bench-editor.log"_s);

    const QDate today = Bench::dataDay(db);
    Bench::print(u"plan rows: %1; medians of %2 runs, elapsed / processor time"_s
                     .arg(db.queryValue(u"select count(1) from Kq_WorkPlan"_s))
                     .arg(runs));

    // Plans end 1 to 10 days before the data's day: on that day every rotating
    // shift is projected, 30 days earlier it is planned.
    const QStringList employees = rotatingEmployees(db, today.addDays(-30), 50);
    {
        TKqExchgClassEdtFrm editor;
        measure(u"LoadPlanTime, projected (%1 employees)"_s.arg(employees.size()), runs,
                [&](int run) {
                    editor.LoadPlanTime(employees[run % employees.size()], dayText(today));
                });
        measure(u"LoadPlanTime, planned day"_s, runs, [&](int run) {
            editor.LoadPlanTime(employees[run % employees.size()], dayText(today.addDays(-30)));
        });
    }

    const QString jobNumber = db.queryValue(
        u"select JobNumber from HR_Employee where EmployeeCode='%1'"_s.arg(employees.first()));
    int nextDay = 1;
    for (const QString &filter : {QString(), jobNumber}) {
        ListWindow list(today, filter);
        std::vector<double> saves;
        std::vector<double> totals;
        for (int run = -1; run < runs; ++run) {
            const ListWindow::Times times = list.add(jobNumber, today.addDays(nextDay++));
            if (run >= 0) {
                saves.push_back(times.save);
                totals.push_back(times.total);
            }
        }
        Bench::print(u"%1 %2 ms  (saved in %3 ms; list of %4 rows)"_s
                         .arg((filter.isEmpty() ? u"add: OK to the list read again, whole scope"_s
                                                : u"add: OK to the list read again, one employee"_s)
                                  .leftJustified(44))
                         .arg(Bench::median(totals), 8, 'f', 2)
                         .arg(Bench::median(saves), 0, 'f', 2)
                         .arg(list.rows()));
    }
    removeBenchExchanges(db);
    return 0;
}
