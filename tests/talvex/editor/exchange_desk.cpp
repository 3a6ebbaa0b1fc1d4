// One operator's desk for the process tests: the real host's services over a
// database (a file, or a server's URI) and the exchange editor driven as an
// operator would, saving exchanges one after another. It reports on stdout, one
// line each:
//   writing          its save is about to take the file's write lock
//   checked          the same, when told to wait there for "go" on stdin
//                    (a file only: on a server the test holds the writes back
//                    with a lock of its own)
//   saved DAY        the editor saved and closed
//   kept DAY         the save failed; the editor stayed open with what was typed
//   refused TEXT     the editor refused the entries with TEXT
//   log TEXT         the host's error log got TEXT

#include "EditorDriver.h"

#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/project/HostFactory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// The reason a desk writes for a day: long, with a quote, and telling its day.
QString reasonFor(const QString &day, const QString &desk)
{
    QString text = desk + u' ' + day + u" '";
    while (text.size() < 2000)
        text += day;
    return text.left(2000);
}

// Announces, and on demand waits at, the moment the connection is about to begin
// its next write transaction: after the editor's checks, before its write.
struct WriteWatch
{
    bool armed = false;
    bool waitForGo = false;

    static int traced(unsigned, void *context, void *, void *sql)
    {
        auto *self = static_cast<WriteWatch *>(context);
        if (!self->armed || qstrncmp(static_cast<const char *>(sql), "BEGIN IMMEDIATE", 15) != 0)
            return 0;
        self->armed = false;
        say(self->waitForGo ? u"checked"_s : u"writing"_s);
        if (self->waitForGo) {
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                std::exit(3);
        }
        return 0;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addOptions({
        {u"db"_s, u"database file"_s, u"file"_s},
        {u"desk"_s, u"name written into the reasons"_s, u"name"_s, u"desk"_s},
        {u"first-day"_s, u"day of the first exchange"_s, u"yyyy-mm-dd"_s},
        {u"days"_s, u"exchanges to enter, one day after another"_s, u"count"_s, u"1"_s},
        {u"modify"_s, u"change this stored exchange to the first day instead"_s, u"id"_s},
        {u"wait-before-write"_s, u"wait for \"go\" on stdin before each write"_s},
    });
    options.process(app);

    TApplication application;
    TScreen screen;
    Rt::setApplication(&application);
    Rt::setScreen(&screen);
    Rt::setMessageBoxResponder([](const Rt::MessageBoxRequest &) { return Rt::Answer::Yes; });

    const std::unique_ptr<Database> opened = openDatabase(options.value(u"db"_s));
    Database &db = *opened;
    ErrorLog log(QDir::temp().filePath(u"exchange-desk-%1.log"_s.arg(app.applicationPid())));
    QObject::connect(&log, &ErrorLog::appended, [](const QString &line) { say(u"log "_s + line); });
    HostSession session(db, log, u"admin"_s);
    QObject::connect(&session, &HostSession::errorRaised,
                     [](const QString &text) { say(u"refused "_s + text); });
    HostFactory = IntfPtr<IFactoryIntf>(new FactoryService(session));

    WriteWatch watch;
    watch.waitForGo = options.isSet(u"wait-before-write"_s);
    if (auto *file = dynamic_cast<SqliteDatabase *>(&db))
        sqlite3_trace_v2(file->handle(), SQLITE_TRACE_STMT, &WriteWatch::traced, &watch);

    const QString desk = options.value(u"desk"_s);
    const QString id = options.value(u"modify"_s);
    const QDate first = Rt::DateTime::parseDate(options.value(u"first-day"_s)).value_or(QDate());
    for (int i = 0; i < options.value(u"days"_s).toInt(); ++i) {
        const QDate day = first.addDays(i);
        const QString dayText = day.toString(u"yyyy-MM-dd"_s);
        bool saved = false;
        driveEditor(
            [&] { saved = ShowKqExchgClassEdt(id.isEmpty() ? u"新增调班"_s : u"修改调班"_s, id); },
            [&](OpenEditor &e) {
                e.setDay(day);
                if (id.isEmpty()) {
                    e.pick(u"10001"_s);
                    e.enter({u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s});
                    e.setReason(reasonFor(dayText, desk));
                }
                const QString reason = e.reason();
                const QStringList times = e.entered();
                watch.armed = true;
                e.ok();
                watch.armed = false;
                if (e.isOpen() && e.reason() == reason && e.entered() == times)
                    say(u"kept "_s + dayText);
            });
        if (saved)
            say(u"saved "_s + dayText);
    }
    HostFactory.reset();
    QFile::remove(log.filePath());
    return 0;
}
