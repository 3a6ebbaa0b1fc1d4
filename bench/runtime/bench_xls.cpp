// Writing 65,536 rows by 20 columns (numbers, Chinese texts, times) to .xls: our
// writer against python3-xlwt writing the same cells, side by side, with the time
// and the peak memory of each. xlwt runs first, as a child process, so that its
// memory is its own.
//
//   bench_xls [ROWS]
#include "runtime/xls/workbook.h"
#include "runtime/xls/writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

constexpr int Columns = 20;

// Column c: numbers when c % 3 == 0, times when c % 3 == 1, texts otherwise; the
// script below makes the same cells.
const char16_t *const names[] = {u"王芳", u"欧阳 雪", u"李明", u"赵强", u"陈静", u"张伟", u"刘洋"};

const char *xlwtScript = R"(
import sys, time, xlwt
rows = int(sys.argv[2])
names = ["王芳", "欧阳 雪", "李明", "赵强", "陈静", "张伟", "刘洋"]
start = time.perf_counter()
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Sheet1")
time_style = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm")
for r in range(rows):
    row = sheet.row(r)
    for c in range(20):
        if c % 3 == 0:
            row.set_cell_number(c, r * 1.5 + c)
        elif c % 3 == 1:
            row.set_cell_number(c, 46361 + (r % 1440) / 1440.0, time_style)
        else:
            row.set_cell_text(c, "%s%d班" % (names[(r + c) % 7], r % 500))
    if r % 1000 == 999:
        sheet.flush_row_data()
book.save(sys.argv[1])
print("%.0f" % ((time.perf_counter() - start) * 1000))
)";

long peakKb(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int rows = app.arguments().value(1, u"65536"_s).toInt();
    QTemporaryDir dir;
    const QString xlwtFile = dir.filePath(u"xlwt.xls"_s);
    const QString ourFile = dir.filePath(u"ours.xls"_s);

    QElapsedTimer clock;
    clock.start();
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 {u"-c"_s, QString::fromUtf8(xlwtScript), xlwtFile, QString::number(rows)});
    python.waitForFinished(-1);
    const qint64 xlwtWall = clock.elapsed();
    if (python.exitCode() != 0) {
        out << "xlwt failed: " << QString::fromUtf8(python.readAllStandardError()) << Qt::endl;
        return 1;
    }
    const double xlwtMs = python.readAllStandardOutput().trimmed().toDouble();
    const long xlwtPeak = peakKb(RUSAGE_CHILDREN);

    const long before = peakKb(RUSAGE_SELF);
    clock.restart();
    Workbook book;
    CellStyle time;
    time.numberFormat = u"yyyy-mm-dd hh:mm"_s;
    const quint16 timeStyle = quint16(book.styles().add(time));
    Sheet &sheet = book.addSheet(u"Sheet1"_s);
    sheet.reserveRows(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            Cell &cell = sheet.cellAt(r, c);
            if (c % 3 == 0) {
                cell.value = Value::number(r * 1.5 + c);
            } else if (c % 3 == 1) {
                cell.value = Value::number(46361 + (r % 1440) / 1440.0);
                cell.style = timeStyle;
            } else {
                cell.value = Value::text(QString::fromUtf16(names[(r + c) % 7])
                                         + QString::number(r % 500) + u"班"_s);
            }
        }
    }
    const qint64 built = clock.elapsed();
    writeWorkbook(book, ourFile);
    const qint64 ourMs = clock.elapsed();
    const long ourPeak = peakKb(RUSAGE_SELF);

    out << rows << " rows x " << Columns << " columns" << Qt::endl;
    out << "xlwt:  " << xlwtMs << " ms in the script (" << xlwtWall << " ms with the interpreter), "
        << "peak " << xlwtPeak / 1024 << " MB, " << QFileInfo(xlwtFile).size() / 1024 << " KB"
        << Qt::endl;
    out << "ours:  " << ourMs << " ms (" << built << " ms building the cells), peak "
        << ourPeak / 1024 << " MB (" << before / 1024 << " MB before), "
        << QFileInfo(ourFile).size() / 1024 << " KB" << Qt::endl;
    out << "speed-up " << QString::number(xlwtMs / std::max<qint64>(ourMs, 1), 'f', 1) << "x"
        << Qt::endl;
    return 0;
}
