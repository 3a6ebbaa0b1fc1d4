// Measures the employee picker on a large demo database: opening the dialog (style
// sheet and value lists from the host), then one search per condition from the
// query button through the host's OpenQuery to a filled grid, and painting the
// grid's first page. Prints medians, elapsed and processor time.
//
//   bench_picker [--db FILE] [--demo-scale N] [--runs N] [CONDITION...]
//
// FILE is built with demo data of scale N when it does not exist, and reused
// otherwise. Run with QT_QPA_PLATFORM=offscreen where there is no screen.

#include "BenchSupport.h"

#include "hostapp/db/Database.h"
#include "runtime/application.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/picker/FrmQryEmployeeList.h"

#include <QCommandLineParser>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs step once to warm up, then runs times; prints the medians.
void measure(const QString &what, int runs, const std::function<void()> &step)
{
    const Bench::Timing timing = Bench::timeRuns(runs, [&](int) { step(); });
    Bench::print(u"%1 %2 ms / %3 ms"_s.arg(what.leftJustified(34))
                     .arg(timing.medianElapsed(), 7, 'f', 1)
                     .arg(timing.medianCpu(), 7, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Employee picker search through the host services."_s);
    parser.addHelpOption();
    const QCommandLineOption dbOption(u"db"_s, u"Database file, built when missing."_s, u"file"_s,
                                      QDir::temp().filePath(u"talvex-bench.db"_s));
    const QCommandLineOption scaleOption(u"demo-scale"_s, u"Scale of a new demo database."_s,
                                         u"n"_s, u"1"_s);
    const QCommandLineOption runsOption(u"runs"_s, u"Measured runs of each step."_s, u"n"_s,
                                        u"7"_s);
    parser.addOptions({dbOption, scaleOption, runsOption});
    parser.addPositionalArgument(u"condition"_s, u"Search texts (default: ZW 王 1234)."_s);
    parser.process(app);
    const int runs = qMax(1, parser.value(runsOption).toInt());
    QStringList conditions = parser.positionalArguments();
    if (conditions.isEmpty())
        conditions = {u"ZW"_s, u"王"_s, u"1234"_s};

    // A search that finds nothing would otherwise wait for its message box.
    Rt::setMessageBoxResponder([](const Rt::MessageBoxRequest &) { return Rt::Answer::Ok; });
    try {
        const std::unique_ptr<Database> database =
            Bench::openDemoDatabase(parser.value(dbOption), parser.value(scaleOption).toDouble());
        Database &db = *database;
        Bench::print(u"employees: %1"_s.arg(db.queryValue(u"select count(1) from HR_Employee"_s)));

        const Bench::ModuleHost host(db, u"talvex-bench-picker.log"_s);

        measure(u"open the dialog (styles, value lists)"_s, runs,
                [] { const TQryEmployeeListFrm opened; });

        TQryEmployeeListFrm dialog;
        dialog.show();
        auto *condition = dialog.findChild<TcxTextEdit *>(u"edtCondition"_s);
        auto *query = dialog.findChild<QPushButton *>(u"BtnQry"_s);
        auto *view = dialog.findChild<TcxGridDBTableView *>(u"TableEmployeeList"_s);
        auto *table = dialog.findChild<TcxGrid *>(u"cxGrid"_s)->findChild<QTableView *>();
        Bench::print(u"medians of %1 runs, elapsed / processor time"_s.arg(runs));
        for (const QString &text : std::as_const(conditions)) {
            condition->setText(text);
            measure(u"search \"%1\" to a filled grid"_s.arg(text), runs, [&] { query->click(); });
            measure(u"  paint its first page"_s, runs, [&] { table->grab(); });
            Bench::print(u"  rows: %1"_s.arg(view->dataController()->recordCount()));
        }
    } catch (const Rt::Exception &e) {
        Bench::print(u"error: "_s + e.message());
        return 1;
    }
    return 0;
}
