// Times the list window's search on a large database: from the search button to a
// filled grid, the memory the result holds, and painting while scrolling.
//
//   bench_listwindow [--db FILE]   (a missing FILE is built with --demo-scale 1)

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/project/HostFactory.h"
#include "talvex/work/WorkWindow.h"

#include <QAbstractItemView>
#include <QApplication>
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

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int dbArg = int(args.indexOf(u"--db"_s));
    const QString path = dbArg > 0 ? args.value(dbArg + 1)
                                   : QDir::temp().filePath(u"talvex-scale1.db"_s);

    TApplication application;
    Rt::setApplication(&application);
    Database db(path);
    if (Schema::check(db) == Schema::State::Empty) {
        std::printf("building %s at demo scale 1 ...\n", qPrintable(path));
        QElapsedTimer build;
        build.start();
        DemoData::create(db, QDate::currentDate(), DemoProfile::scaled(1));
        std::printf("built in %.1f s\n", build.elapsed() / 1000.0);
    }
    ErrorLog log(QDir::temp().filePath(u"bench-listwindow.log"_s));
    HostSession session(db, log, u"admin"_s);
    IntfPtr<IFactoryIntf> root(new FactoryService(session));
    HostFactory = root;

    TWorkWindowForm window;
    window.resize(1280, 720);
    window.InitWindow();
    QElapsedTimer timer;
    timer.start();
    window.show(); // loads the tree and the names, and runs the first search
    std::printf("show (tree, %s names, first search): %lld ms\n",
                qPrintable(db.queryValue(u"select count(1) from HR_Employee"_s)),
                timer.elapsed());

    auto *button = window.findChild<QPushButton *>(u"btnQry"_s);
    QList<double> times;
    for (int run = 0; run < 5; ++run) {
        timer.restart();
        button->click();
        QCoreApplication::processEvents();
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    const int rows = window.dataSet()->recordCount();
    std::printf("search, 30 days, whole scope: %d rows, median %.0f ms (min %.0f, max %.0f)\n",
                rows, median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));

    // Memory the result holds: the heap it frees when the window lets it go.
    const qint64 withResult = heapInUse();
    window.FreeWindow();
    const qint64 without = heapInUse();
    std::printf("result set: %.1f MB of heap (%.0f bytes a row)\n",
                (withResult - without) / 1e6, double(withResult - without) / std::max(rows, 1));
    window.InitWindow();
    button->click();

    // Painting while scrolling through the rows, a page at a time.
    auto *table = window.findChild<QAbstractItemView *>();
    QScrollBar *bar = table->verticalScrollBar();
    QList<double> frames;
    for (int step = 0; step < 50; ++step) {
        bar->setValue(bar->maximum() * step / 49);
        timer.restart();
        table->viewport()->grab();
        frames << double(timer.nsecsElapsed()) / 1e6;
    }
    std::printf("scrolling: median %.1f ms a frame, worst %.1f ms over %d rows\n", median(frames),
                *std::max_element(frames.begin(), frames.end()), rows);
    window.FreeWindow();
    HostFactory.reset();
    return 0;
}
