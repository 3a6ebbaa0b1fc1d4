#include "BenchSupport.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/PgRoles.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/HostServices.h"
#include "talvex/project/HostFactory.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Bench {

namespace {

// Qt reads the platform when its application is made, so it is chosen on the
// way to the constructor.
int &withoutScreen(int &argc)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace

void prepareDemoDatabase(Database &db, double scale)
{
    const Schema::State state = Schema::check(db);
    if (state == Schema::State::Current) {
        print(u"Reusing %1"_s.arg(db.location()));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    if (state == Schema::State::Older) {
        print(u"Upgrading the layout of %1 ..."_s.arg(db.location()));
        Schema::upgrade(db);
        print(u"upgrade: %1 s"_s.arg(timer.elapsed() / 1000.0, 0, 'f', 1));
        return;
    }
    print(u"Building %1 with demo scale %2 ..."_s.arg(db.location()).arg(scale));
    DemoData::create(db, QDate::currentDate(), DemoProfile::scaled(scale));
    print(u"build: %1 s"_s.arg(timer.elapsed() / 1000.0, 0, 'f', 1));
}

std::unique_ptr<Database> openDemoDatabase(const QString &location, double scale)
{
    std::unique_ptr<Database> db = openDatabase(location);
    prepareDemoDatabase(*db, scale);
    return db;
}

QDate dataDay(Database &db)
{
    return QDate::fromString(db.queryValue(u"select Max(ExchgDate) from Kq_ExchangeClass"_s),
                             u"yyyy-MM-dd"_s);
}

EngineOptions EngineOptions::parse(QCommandLineParser &parser, const QString &description,
                                   const QList<QCommandLineOption> &extra)
{
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    const QCommandLineOption file(u"db"_s, u"SQLite file, built when missing."_s, u"file"_s,
                                  QDir::temp().filePath(u"talvex-bench.db"_s));
    const QCommandLineOption server(u"pg"_s, u"PostgreSQL URI of the owner, filled when empty."_s,
                                    u"uri"_s, qEnvironmentVariable("TALVEX_TEST_PG"));
    const QCommandLineOption scale(u"demo-scale"_s, u"Scale of a new demo database."_s, u"n"_s,
                                   u"1"_s);
    const QCommandLineOption runs(u"runs"_s, u"Measured runs."_s, u"n"_s, u"5"_s);
    parser.addOptions({file, server, scale, runs});
    parser.addOptions(extra);
    parser.process(*QCoreApplication::instance());
    return {parser.value(file), parser.value(server), parser.value(scale).toDouble(),
            qMax(1, parser.value(runs).toInt())};
}

void prepareServer(const QString &ownerUri, double scale)
{
    PgDatabase owner(ownerUri);
    prepareDemoDatabase(owner, scale);
    PgRoles::createOperatorRoles(owner);
}

QString operatorUri(const QString &ownerUri, const QString &operatorCode)
{
    QUrl url(ownerUri);
    url.setUserName(operatorCode);
    return url.toString(QUrl::FullyEncoded);
}

Application::Application(int &argc, char **argv)
    : QApplication(withoutScreen(argc), argv)
{
    Rt::setApplication(&m_runtime);
}

ModuleHost::ModuleHost(Database &db, const QString &logName)
    : m_log(QDir::temp().filePath(logName))
    , m_session(db, m_log, u"admin"_s)
{
    HostFactory = new FactoryService(m_session);
}

ModuleHost::~ModuleHost()
{
    HostFactory.reset();
}

} // namespace Bench
