// Feeds mutated and truncated .xls files to the reader, each in a child process
// with a time limit, and keeps every input that crashed, hung or tripped a
// sanitizer. A file the reader accepts is written again and its formulas are
// computed and shown, so the whole path from bytes to cells is covered.
//
//   xls_fuzz OUT_DIR COUNT RANDOM_SEED SEED_FILE...
#include "XlsTestSupport.h"

#include "runtime/exceptions.h"
#include "runtime/xls/evaluator.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

constexpr int TimeLimitMs = 5000;

// What the child does with one input. Refusals are the expected outcome.
int exercise(const QByteArray &bytes)
{
    try {
        const Workbook book = parseWorkbook(bytes);
        XlsTest::CachedValues values(book);
        for (int s = 0; s < book.sheetCount(); ++s) {
            const Sheet &sheet = book.sheet(s);
            for (int row = 0; row < sheet.rowCount(); ++row) {
                for (const Cell &cell : sheet.row(row)) {
                    if (cell.formula)
                        evaluate(*cell.formula, s, values);
                    formatValue(cell.value, book.styles().at(cell.style).numberFormat);
                }
            }
        }
        workbookStream(book);
        return 0;
    } catch (const Rt::Exception &) {
        return 0;
    }
}

class Mutator
{
public:
    explicit Mutator(quint64 seed)
        : m_random(seed)
    {}

    QByteArray mutate(QByteArray file)
    {
        if (file.isEmpty())
            return file;
        switch (pick(6)) {
        case 0: // a few random bytes
            for (int i = 0, n = 1 + pick(12); i < n; ++i)
                file[pick(file.size())] = char(pick(256));
            break;
        case 1: // cut anywhere
            file.truncate(pick(file.size()));
            break;
        case 2: // an extreme value in a 16 or 32-bit field
            for (int i = 0, n = 1 + pick(3); i < n; ++i)
                putExtreme(file, pick(file.size()));
            break;
        case 3: // damage near the start: header, directory, the first records
            for (int i = 0, n = 1 + pick(8); i < n; ++i)
                file[pick(std::min<qsizetype>(file.size(), 2048))] = char(pick(256));
            break;
        case 4: { // a record header of the stream with a new length or id
            const qsizetype at = 512 + recordOffset(file);
            if (at + 4 <= file.size())
                putExtreme(file, at + (pick(2) ? 2 : 0));
            break;
        }
        default: { // a run of bytes copied over another place
            const qsizetype from = pick(file.size());
            const qsizetype to = pick(file.size());
            const qsizetype length =
                std::min<qsizetype>({qsizetype(pick(600)), file.size() - from, file.size() - to});
            file.replace(to, length, file.mid(from, length));
            break;
        }
        }
        return file;
    }

private:
    int pick(qsizetype bound) { return bound <= 0 ? 0 : int(m_random() % quint64(bound)); }

    void putExtreme(QByteArray &file, qsizetype at)
    {
        static const quint32 values[] = {
            0,       1,      0x7F,       0xFF,       0x100,      0x7FFF,     0x8000,    0xFFFF,
            0x10000, 0x2020, 0x7FFFFFFF, 0xFFFFFFFA, 0xFFFFFFFE, 0xFFFFFFFF, 0x12345678};
        const quint32 v = values[pick(std::size(values))];
        const int width = pick(2) ? 4 : 2;
        for (int i = 0; i < width && at + i < file.size(); ++i)
            file[at + i] = char(v >> (8 * i));
    }

    // The offset in the stream of a record reached by walking a few of them.
    qsizetype recordOffset(const QByteArray &file)
    {
        qsizetype pos = 0;
        for (int steps = pick(400); steps > 0 && 512 + pos + 4 <= file.size(); --steps)
            pos += 4 + (quint8(file[512 + pos + 2]) | quint8(file[512 + pos + 3]) << 8);
        return pos;
    }

    std::mt19937_64 m_random;
};

// Runs one input in a child; returns "" or what went wrong.
QString runCase(const QByteArray &bytes)
{
    const pid_t child = fork();
    if (child == 0) {
        alarm(TimeLimitMs / 1000 + 1);
        _exit(exercise(bytes));
    }
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (clock.elapsed() > TimeLimitMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return u"hang"_s;
        }
        usleep(200);
    }
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? u"hang"_s : u"signal %1"_s.arg(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0)
        return u"exit %1 (sanitizer report above)"_s.arg(WEXITSTATUS(status));
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: xls_fuzz OUT_DIR COUNT RANDOM_SEED SEED_FILE...\n");
        return 2;
    }
    const QDir out(args.at(1));
    const int count = args.at(2).toInt();
    QList<QByteArray> seeds;
    const quint64 randomSeed = args.at(3).toULongLong();
    for (qsizetype i = 4; i < args.size(); ++i) {
        QFile file(args.at(i));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(i)));
            return 2;
        }
        seeds << file.readAll();
    }

    // The seeds themselves must read cleanly.
    for (const QByteArray &seed : seeds) {
        if (!runCase(seed).isEmpty()) {
            std::fprintf(stderr, "a seed file fails on its own\n");
            return 1;
        }
    }
    Mutator mutator(randomSeed);
    QElapsedTimer clock;
    clock.start();
    qint64 slowest = 0;
    int findings = 0;
    for (int i = 0; i < count; ++i) {
        QByteArray input = seeds.at(i % seeds.size());
        // Sometimes several mutations on top of each other.
        for (int m = 0, n = 1 + (i % 4 == 0 ? 2 : 0); m < n; ++m)
            input = mutator.mutate(input);
        QElapsedTimer one;
        one.start();
        const QString problem = runCase(input);
        slowest = std::max(slowest, one.elapsed());
        if (problem.isEmpty())
            continue;
        ++findings;
        const QString path = out.filePath(u"finding-%1.xls"_s.arg(i));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(input);
        std::printf("case %d: %s, kept as %s\n", i, qPrintable(problem), qPrintable(path));
    }
    std::printf("%d inputs from %lld seeds in %.1f s, slowest %lld ms, %d findings\n", count,
                qint64(seeds.size()), clock.elapsed() / 1000.0, slowest, findings);
    return findings == 0 ? 0 : 1;
}
