#pragma once

#include "BenchTiming.h"

#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"

#include <QApplication>
#include <QDate>
#include <QString>
#include <memory>

class Database;
class QCommandLineOption;
class QCommandLineOption;
class QCommandLineParser;

// What the benchmarks of the host and the module need besides measuring: their
// application objects, a large demo database and the host over it.
namespace Bench {

// Builds the demo data of that scale into an empty database, or brings one of an
// older layout up to date (reports how long it took); a current one is reused.
void prepareDemoDatabase(Database &db, double scale);
// The database at location, prepared as above.
std::unique_ptr<Database> openDemoDatabase(const QString &location, double scale);
// The last day with exchanges: the "today" the demo data was built for.
QDate dataDay(Database &db);

// The options of the benchmarks that measure on SQLite and then on PostgreSQL:
// --db FILE (built when missing), --pg URI (the owner's connection, filled when
// empty; TALVEX_TEST_PG by default, so that scripts/with-pg-cluster.sh gives
// one), --demo-scale N and --runs N.
struct EngineOptions
{
    QString file;
    QString server; // empty: SQLite only
    double scale = 1;
    int runs = 5;

    // Parses the command line: these options, and extra ones the caller reads
    // from parser afterwards.
    static EngineOptions parse(QCommandLineParser &parser, const QString &description,
                               const QList<QCommandLineOption> &extra = {});
};

// Fills the server's database as its owner (as prepareDemoDatabase) and creates
// the operators' login roles: the register opens only on an operator's own
// connection, which row-level security holds to his rights.
void prepareServer(const QString &ownerUri, double scale);
// The same server database, reached as an operator's login role.
QString operatorUri(const QString &ownerUri, const QString &operatorCode);

// Qt's and the runtime's application, without a screen.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);

private:
    TApplication m_runtime;
};

// The real host services over db, signed in as the administrator, installed as
// the module's host while this lives. logName names the error log in the
// temporary folder.
class ModuleHost
{
public:
    ModuleHost(Database &db, const QString &logName);
    ~ModuleHost();
    ModuleHost(const ModuleHost &) = delete;
    ModuleHost &operator=(const ModuleHost &) = delete;

private:
    ErrorLog m_log;
    HostSession m_session;
};

} // namespace Bench
