// 排班总览 on a large demo database, on SQLite and on PostgreSQL: from asking
// for a board (a department of about 2,000 employees, then the whole scope) to
// the window painted, with the reading alone beside it, and a scroll frame of
// the whole scope's board at random places.
//
//   bench_board [--db FILE] [--pg URI] [--demo-scale N] [--runs N] [--screenshot PNG]
//
// --screenshot saves the window on SQLite as the department's board shows it.
// FILE and the PostgreSQL URI (TALVEX_TEST_PG when --pg is not given) are filled
// with demo data of scale N when empty and reused otherwise.

#include "BenchSupport.h"

#include "hostapp/board/BoardData.h"
#include "hostapp/board/BoardWindow.h"
#include "hostapp/board/DepartmentTree.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"
#include "runtime/editors/dateedit.h"
#include "runtime/exceptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The department whose employees, with those below it, come nearest 2,000.
std::pair<QString, int> departmentOfAbout2000(Database &db)
{
    const auto rows = db.select(
        u"SELECT d.DeptCode, count(*) FROM Sys_Dept d JOIN HR_Employee e"
        u" ON e.DeptCode LIKE d.DeptCode || '%' WHERE e.DELETED = 0 GROUP BY d.DeptCode"_s);
    std::pair<QString, int> best{QString(), 0};
    for (int r = 0; r < rows->recordCount(); ++r) {
        const int count = int(rows->asInteger(r, 1));
        if (best.first.isEmpty() || qAbs(count - 2000) < qAbs(best.second - 2000))
            best = {rows->asString(r, 0), count};
    }
    return best;
}

// When a widget first paints after start().
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *widget) { widget->installEventFilter(this); }
    void start()
    {
        m_timer.start();
        m_ms = -1;
    }
    double ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0)
            m_ms = double(m_timer.nsecsElapsed()) / 1e6;
        return false;
    }

private:
    QElapsedTimer m_timer;
    double m_ms = -1;
};

QString figures(const Bench::Timing &timing)
{
    return u"%1 / %2"_s.arg(timing.medianElapsed(), 0, 'f', 0).arg(timing.medianCpu(), 0, 'f', 0);
}

void measure(Database &db, const QString &engine, int runs, const QString &screenshot)
{
    const QDate day = Bench::dataDay(db);
    const Schedule::DateRange month{QDate(day.year(), day.month(), 1),
                                    QDate(day.year(), day.month(), day.daysInMonth())};
    const QString scope = OperatorRights::deptScope(db, QString::number(DemoData::administratorId));
    const auto [department, departmentSize] = departmentOfAbout2000(db);

    ErrorLog log(QDir::temp().filePath(u"talvex-bench-board.log"_s));
    HostSession session(db, log, u"admin"_s);
    BoardWindow window(session);
    window.resize(1600, 900);
    window.show();
    // Nothing paints before the window is exposed.
    QElapsedTimer waited;
    waited.start();
    while (!window.windowHandle()->isExposed() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    window.findChild<TcxDateEdit *>(u"edtFrom"_s)->setDate(month.first);
    window.findChild<TcxDateEdit *>(u"edtTo"_s)->setDate(month.last);
    auto *tree = window.findChild<DepartmentTree *>();
    auto *refresh = window.findChild<QPushButton *>(u"btnRefresh"_s);
    auto *days = window.findChild<QTableView *>(u"tvBoard"_s);

    // 刷新 reads the chosen department's board as choosing it does: the days are
    // painted first, then the rules are checked and their marks painted.
    FirstPaint firstPaint(days->viewport());
    auto boardOf = [&](const QString &code, std::vector<double> &daysPainted) {
        tree->choose(code);
        return Bench::timeRuns(runs, [&](int) {
            firstPaint.start();
            refresh->click();
            window.repaint();
            daysPainted.push_back(firstPaint.ms());
        });
    };
    auto readingOf = [&](const QString &code) {
        return Bench::timeRuns(runs, [&](int) { BoardData::read(db, {scope, code, month}); });
    };
    auto rulesOf = [&](const QString &code) {
        BoardData board = BoardData::read(db, {scope, code, month});
        return Bench::timeRuns(runs, [&](int) {
            board.cellBreaches.clear();
            board.coverageBreaches.clear();
            board.checkRules(db, {scope, code, month});
        });
    };
    std::vector<double> departmentDays;
    const Bench::Timing departmentBoard = boardOf(department, departmentDays);
    const Bench::Timing departmentRows = readingOf(department);
    const Bench::Timing departmentRules = rulesOf(department);
    std::vector<double> wholeDays;
    const Bench::Timing wholeBoard = boardOf(QString(), wholeDays);
    const Bench::Timing wholeRows = readingOf(QString());
    const Bench::Timing wholeRules = rulesOf(QString());

    // A scroll frame: the board moved to another place and its view repainted.
    QScrollBar *vertical = days->verticalScrollBar();
    QScrollBar *horizontal = days->horizontalScrollBar();
    QRandomGenerator random(20261206);
    const int wholeEmployees = days->model()->rowCount();
    Bench::Timing scroll;
    double slowest = 0;
    for (int frame = 0; frame < 200; ++frame) {
        scroll.measure([&] {
            vertical->setValue(random.bounded(vertical->maximum() + 1));
            horizontal->setValue(random.bounded(horizontal->maximum() + 1));
            for (QTableView *view : window.findChildren<QTableView *>())
                view->viewport()->repaint();
        });
        slowest = std::max(slowest, scroll.elapsed.back());
    }

    if (!screenshot.isEmpty()) {
        tree->choose(department);
        window.resize(1280, 760);
        vertical->setValue(0);
        horizontal->setValue(0);
        window.grab().save(screenshot);
    }

    Bench::print(u"%1, %2; medians of %3 runs, elapsed / cpu ms"_s.arg(engine)
                     .arg(month.first.toString(u"yyyy-MM"_s))
                     .arg(runs));
    Bench::print(u"  department %1 (%2 employees): days painted %3, with the rules' marks %4"_s
                     .arg(department)
                     .arg(departmentSize)
                     .arg(Bench::median(departmentDays), 0, 'f', 0)
                     .arg(figures(departmentBoard)));
    Bench::print(u"    reading and schedule %1, rules %2"_s.arg(figures(departmentRows),
                                                                figures(departmentRules)));
    Bench::print(u"  whole scope (%1 employees): days painted %2, with the rules' marks %3"_s
                     .arg(wholeEmployees)
                     .arg(Bench::median(wholeDays), 0, 'f', 0)
                     .arg(figures(wholeBoard)));
    Bench::print(
        u"    reading and schedule %1, rules %2"_s.arg(figures(wholeRows), figures(wholeRules)));
    Bench::print(u"  scroll frame, whole scope (200 frames): %1, slowest %2"_s.arg(figures(scroll))
                     .arg(slowest, 0, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::Application app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption screenshotOption(
        u"screenshot"_s, u"PNG of the department's board on SQLite."_s, u"png"_s);
    const auto options = Bench::EngineOptions::parse(
        parser, u"The roster board: opening, painting, scrolling."_s, {screenshotOption});
    try {
        {
            SqliteDatabase db(options.file);
            Bench::prepareDemoDatabase(db, options.scale);
            measure(db, u"SQLite"_s, options.runs, parser.value(screenshotOption));
        }
        if (!options.server.isEmpty()) {
            Bench::prepareServer(options.server, options.scale);
            // The board opens on an operator's own connection, as his desk does.
            PgDatabase db(Bench::operatorUri(options.server, u"admin"_s));
            measure(db, u"PostgreSQL"_s, options.runs, QString());
        }
    } catch (const Rt::Exception &e) {
        Bench::print(u"failed: "_s + e.message());
        return 1;
    }
    return 0;
}
