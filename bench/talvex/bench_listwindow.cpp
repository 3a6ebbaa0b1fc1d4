// Times the list window's search on a large database: from the search button to a
// filled grid, the memory the result holds, and painting while scrolling.
//
//   bench_listwindow [--db FILE]   (a missing FILE is built with --demo-scale 1)

#include "BenchSupport.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/work/WorkWindow.h"

#include <QAbstractItemView>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

// Bytes of heap in use.
qint64 heapInUse()
{
    return qint64(mallinfo2().uordblks);
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int dbArg = int(args.indexOf(u"--db"_s));
    const QString path =
        dbArg > 0 ? args.value(dbArg + 1) : QDir::temp().filePath(u"talvex-scale1.db"_s);

    const std::unique_ptr<Database> database = Bench::openDemoDatabase(path, 1);
    Database &db = *database;
    const Bench::ModuleHost host(db, u"bench-listwindow.log"_s);

    TWorkWindowForm window;
    window.resize(1280, 720);
    window.InitWindow();
    // The last 30 days of the data, whatever day it was built on.
    const QDate day = Bench::dataDay(db);
    window.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->setDate(day.addDays(-30));
    window.findChild<TcxDateEdit *>(u"edtEndDate"_s)->setDate(day);
    QElapsedTimer timer;
    timer.start();
    window.show(); // loads the tree and the names, and runs the first search
    std::printf("show (tree, %s names, first search): %lld ms\n",
                qPrintable(db.queryValue(u"select count(1) from HR_Employee"_s)), timer.elapsed());

    auto *button = window.findChild<QPushButton *>(u"btnQry"_s);
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        button->click();
        QCoreApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const int rows = window.dataSet()->recordCount();
    std::printf("search, 30 days, whole scope: %d rows, median %.0f ms (min %.0f, max %.0f)\n",
                rows, Bench::median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));

    // Memory the result holds: the heap it frees when the window lets it go.
    const qint64 withResult = heapInUse();
    window.FreeWindow();
    const qint64 without = heapInUse();
    std::printf("result set: %.1f MB of heap (%.0f bytes a row)\n", (withResult - without) / 1e6,
                double(withResult - without) / std::max(rows, 1));
    window.InitWindow();
    button->click();

    // Painting while scrolling through the rows, a page at a time.
    auto *table = window.findChild<QAbstractItemView *>();
    QScrollBar *bar = table->verticalScrollBar();
    std::vector<double> frames;
    for (int step = 0; step < 50; ++step) {
        bar->setValue(bar->maximum() * step / 49);
        timer.restart();
        table->viewport()->grab();
        frames.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("scrolling: median %.1f ms a frame, worst %.1f ms over %d rows\n",
                Bench::median(frames), *std::max_element(frames.begin(), frames.end()), rows);
    window.FreeWindow();
    return 0;
}
