// Writing 65,536 rows by 20 columns (numbers, Chinese texts, times) to .xls: our
// writer against python3-xlwt writing the same cells, side by side. Each side runs
// in a fresh child process, three rounds in turn; the medians of elapsed and
// processor time and the largest peak memory of each are reported. Processor time
// is the steadier figure on a machine that others share.
//
//   bench_xls [ROWS]
#include "BenchTiming.h"

#include "runtime/xls/workbook.h"
#include "runtime/xls/writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

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
texts = [["%s%d班" % (name, n) for n in range(500)] for name in names]
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
            row.set_cell_text(c, texts[(r + c) % 7][r % 500])
    if r % 1000 == 999:
        sheet.flush_row_data()
book.save(sys.argv[1])
print("%.0f" % ((time.perf_counter() - start) * 1000))
)";

// name, the number and 班. Both sides make the 3,500 texts once and share them
// among the cells, as an export shares the texts of the data set it reads.
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

// One run of a side: elapsed time as the side measured it, processor time and
// peak memory of its process.
struct Run
{
    double ms = 0;
    double cpuMs = 0;
    long peakKb = 0;
};

// Waits for child; its own figure of elapsed milliseconds comes through pipe.
Run finish(pid_t child, int pipe)
{
    char text[64] = {};
    const ssize_t n = read(pipe, text, sizeof text - 1);
    close(pipe);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    Run run;
    run.ms = n > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::atof(text) : -1;
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakKb = usage.ru_maxrss;
    return run;
}

Run runXlwt(const QString &file, int rows)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        const QByteArray path = file.toLocal8Bit();
        const QByteArray count = QByteArray::number(rows);
        execl("/usr/bin/python3", "python3", "-c", xlwtScript, path.constData(), count.constData(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    return finish(child, fds[0]);
}

// Our side: the cells built in a workbook and written, in a process of its own.
void writeOurs(const QString &file, int rows, int out)
{
    QElapsedTimer clock;
    clock.start();
    Workbook book;
    CellStyle time;
    time.numberFormat = u"yyyy-mm-dd hh:mm"_s;
    const quint16 timeStyle = quint16(book.styles().add(time));
    QList<QStringList> texts;
    for (const char16_t *name : names) {
        QStringList forName;
        for (int n = 0; n < 500; ++n)
            forName << text(name, n);
        texts << forName;
    }
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
                cell.value = Value::text(texts.at((r + c) % 7).at(r % 500));
            }
        }
    }
    writeWorkbook(book, file);
    const QByteArray elapsed = QByteArray::number(clock.elapsed());
    if (write(out, elapsed.constData(), size_t(elapsed.size())) != elapsed.size())
        _exit(1);
}

Run runOurs(const QString &file, int rows)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        writeOurs(file, rows, fds[1]);
        _exit(0);
    }
    close(fds[1]);
    return finish(child, fds[0]);
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

    constexpr int Rounds = 3;
    std::vector<Run> xlwt, ours;
    for (int round = 0; round < Rounds; ++round) {
        xlwt.push_back(runXlwt(xlwtFile, rows));
        ours.push_back(runOurs(ourFile, rows));
        if (xlwt.back().ms < 0 || ours.back().ms < 0) {
            out << "a side failed to write its file" << Qt::endl;
            return 1;
        }
    }
    auto summary = [](const std::vector<Run> &runs, double *ms, double *cpu, long *peak) {
        std::vector<double> times, cpus;
        *peak = 0;
        for (const Run &r : runs) {
            times.push_back(r.ms);
            cpus.push_back(r.cpuMs);
            *peak = std::max(*peak, r.peakKb);
        }
        *ms = Bench::median(times);
        *cpu = Bench::median(cpus);
    };
    double xlwtMs, xlwtCpu, ourMs, ourCpu;
    long xlwtPeak, ourPeak;
    summary(xlwt, &xlwtMs, &xlwtCpu, &xlwtPeak);
    summary(ours, &ourMs, &ourCpu, &ourPeak);

    out << rows << " rows x " << Columns << " columns, medians of " << Rounds << " rounds"
        << Qt::endl;
    out << "xlwt: " << qRound(xlwtMs) << " ms, processor " << qRound(xlwtCpu) << " ms (with the "
        << "interpreter), peak " << xlwtPeak / 1024 << " MB, " << QFileInfo(xlwtFile).size() / 1024
        << " KB" << Qt::endl;
    out << "ours: " << qRound(ourMs) << " ms, processor " << qRound(ourCpu) << " ms (with the "
        << "process start), peak " << ourPeak / 1024 << " MB, " << QFileInfo(ourFile).size() / 1024
        << " KB" << Qt::endl;
    out << "faster by " << QString::number(xlwtMs / std::max(ourMs, 1.0), 'f', 1)
        << "x in elapsed time, " << QString::number(xlwtCpu / std::max(ourCpu, 1.0), 'f', 1)
        << "x in processor time" << Qt::endl;
    return 0;
}
