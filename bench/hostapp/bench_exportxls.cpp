// talvex-host export-xls against the script an office would write for the same
// rows (python3, sqlite3 and xlwt: export_xlwt.py), side by side, over 30 days and
// over the whole register of a large demo database. Each side runs as a process
// of its own, so that its peak resident size is its own.
//
//   bench_exportxls [--db FILE] [--demo-scale N] [--runs N]
//
// FILE is filled with demo data of scale N (default 1) when empty and reused
// otherwise; without --db a temporary file is built and removed again.

#include "BenchSupport.h"

#include "hostapp/db/Database.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// One run of one side: elapsed and processor time, peak resident size.
struct Run
{
    double ms = -1;
    double cpuMs = 0;
    long peakKb = 0;
    bool ok() const { return ms >= 0; }
};

// Runs program with arguments (and, for our host, its password) and waits for it.
Run runProcess(const QString &program, const QStringList &arguments)
{
    QList<QByteArray> args{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        args << argument.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    QElapsedTimer clock;
    clock.start();
    const pid_t child = fork();
    if (child == 0) {
        setenv("TALVEX_PASSWORD", "admin", 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    Run run;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        run.ms = double(clock.nsecsElapsed()) / 1e6;
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakKb = usage.ru_maxrss;
    return run;
}

// The median run by elapsed time.
Run medianRun(std::vector<Run> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.ms < b.ms; });
    return runs.at(runs.size() / 2);
}

QString describe(const Run &run)
{
    return u"%1 ms (processor %2 ms), peak %3 MiB"_s.arg(qRound(run.ms))
        .arg(qRound(run.cpuMs))
        .arg(run.peakKb / 1024);
}

// What the demo register holds: its days and rows.
struct Register
{
    QDate first;
    QDate last;
    qint64 rows = 0;
};

// Builds or reuses the demo database, in a process of its own: a child forked
// later from this one would start with its memory, and a peak resident size
// counts what the process held before it ran the program.
std::optional<Register> prepareRegister(const QString &location, double scale)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const auto db = Bench::openDemoDatabase(location, scale);
        const QByteArray line =
            (db->queryValue(u"select Min(ExchgDate) from Kq_ExchangeClass"_s) + u' '
             + db->queryValue(u"select Max(ExchgDate) from Kq_ExchangeClass"_s) + u' '
             + db->queryValue(u"select count(1) from Kq_ExchangeClass"_s))
                .toUtf8();
        const bool written = write(fds[1], line.constData(), size_t(line.size())) == line.size();
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    QByteArray line;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        line.append(buffer, n);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const QList<QByteArray> fields = line.split(' ');
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || fields.size() != 3)
        return std::nullopt;
    return Register{QDate::fromString(QString::fromUtf8(fields[0]), Qt::ISODate),
                    QDate::fromString(QString::fromUtf8(fields[1]), Qt::ISODate),
                    fields[2].toLongLong()};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.addOptions({{u"db"_s, u"demo database file"_s, u"file"_s},
                        {u"demo-scale"_s, u"demo data scale"_s, u"n"_s, u"1"_s},
                        {u"runs"_s, u"runs of each side, the median shown"_s, u"n"_s, u"1"_s}});
    options.process(app);
    QTemporaryDir dir;
    const QString location =
        options.isSet(u"db"_s) ? options.value(u"db"_s) : dir.filePath(u"demo.db"_s);
    const int runs = std::max(1, options.value(u"runs"_s).toInt());

    const std::optional<Register> demo =
        prepareRegister(location, options.value(u"demo-scale"_s).toDouble());
    if (!demo) {
        Bench::print(u"Could not prepare the demo database %1"_s.arg(location));
        return 1;
    }
    const QString host = QCoreApplication::applicationDirPath() + u"/talvex-host"_s;
    const QString script = QStringLiteral(TALVEX_EXPORT_XLWT);

    struct Case
    {
        QString name;
        QDate from;
        QDate to;
    };
    const Case cases[] = {{u"30 days"_s, demo->last.addDays(-29), demo->last},
                          {u"whole register (%1 rows)"_s.arg(demo->rows), demo->first, demo->last}};
    for (const Case &c : cases) {
        const QString from = c.from.toString(Qt::ISODate), to = c.to.toString(Qt::ISODate);
        std::vector<Run> ours, xlwt;
        for (int run = 0; run < runs; ++run) {
            ours.push_back(
                runProcess(host, {u"--db"_s, location, u"export-xls"_s, dir.filePath(u"ours.xls"_s),
                                  u"--from"_s, from, u"--to"_s, to}));
            xlwt.push_back(runProcess(u"/usr/bin/python3"_s,
                                      {script, location, from, to, dir.filePath(u"xlwt.xls"_s)}));
            if (!ours.back().ok() || !xlwt.back().ok()) {
                Bench::print(u"%1: a side failed (ours %2, xlwt %3)"_s.arg(c.name).arg(
                    ours.back().ok() ? u"ok"_s : u"failed"_s,
                    xlwt.back().ok() ? u"ok"_s : u"failed"_s));
                return 1;
            }
        }
        const Run o = medianRun(ours), x = medianRun(xlwt);
        Bench::print(u"%1, %2 to %3:"_s.arg(c.name, from, to));
        Bench::print(u"  export-xls: %1, %2 KiB"_s.arg(describe(o))
                         .arg(QFileInfo(dir.filePath(u"ours.xls"_s)).size() / 1024));
        Bench::print(u"  xlwt:       %1, %2 KiB"_s.arg(describe(x))
                         .arg(QFileInfo(dir.filePath(u"xlwt.xls"_s)).size() / 1024));
        Bench::print(u"  export-xls faster by %1x, peak %2 of the script's"_s
                         .arg(x.ms / std::max(o.ms, 1.0), 0, 'f', 1)
                         .arg(double(o.peakKb) / double(std::max(x.peakKb, 1L)), 0, 'f', 2));
    }
    return 0;
}
