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

// name, the number and 班, in one allocation as the script's % formatting makes it.
QString text(const char16_t *name, int number)
{
    char16_t buffer[32];
    qsizetype n = 0;
    while (name[n])
        buffer[n] = name[n], ++n;
    char16_t digits[8];
    int d = 0;
    do {
        digits[d++] = char16_t(u'0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (d > 0)
        buffer[n++] = digits[--d];
    buffer[n++] = u'班';
    return QString(reinterpret_cast<const QChar *>(buffer), n);
}

long peakKb(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

// Processor time, user and system: on a machine that others share it varies far
// less than the elapsed time.
double cpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
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
    const double xlwtCpu = cpuMs(RUSAGE_CHILDREN);

    const long before = peakKb(RUSAGE_SELF);
    const double cpuBefore = cpuMs(RUSAGE_SELF);
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
                cell.value = Value::text(text(names[(r + c) % 7], r % 500));
            }
        }
    }
    const qint64 built = clock.elapsed();
    writeWorkbook(book, ourFile);
    const qint64 ourMs = clock.elapsed();
    const double ourCpu = cpuMs(RUSAGE_SELF) - cpuBefore;
    const long ourPeak = peakKb(RUSAGE_SELF);

    out << rows << " rows x " << Columns << " columns" << Qt::endl;
    out << "xlwt:  " << xlwtMs << " ms in the script, " << xlwtWall
        << " ms with the interpreter, processor " << qRound(xlwtCpu) << " ms; peak "
        << xlwtPeak / 1024 << " MB; " << QFileInfo(xlwtFile).size() / 1024 << " KB" << Qt::endl;
    out << "ours:  " << ourMs << " ms (" << built << " ms building the cells), processor "
        << qRound(ourCpu) << " ms; peak " << ourPeak / 1024 << " MB (" << before / 1024
        << " MB before); " << QFileInfo(ourFile).size() / 1024 << " KB" << Qt::endl;
    out << "faster by " << QString::number(xlwtMs / std::max<qint64>(ourMs, 1), 'f', 1)
        << "x in elapsed time, " << QString::number(xlwtCpu / std::max(ourCpu, 1.0), 'f', 1)
        << "x in processor time" << Qt::endl;
    return 0;
}
