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

// What the benchmarks of the host and the module need besides measuring: their
// application objects, a large demo database and the host over it.
namespace Bench {

// Builds the demo data of that scale into an empty database, or brings one of an
// older layout up to date (reports how long it took); a current one is reused.
void prepareDemoDatabase(Database &db, double scale);
// The database at location, prepared as above.
std::unique_ptr<Database> openDemoDatabase(const QString &location, double scale);
// The same PostgreSQL server and database as the owner's uri, signed in as the
// operator admin: the host opens the register for operators only.
QString administratorUri(const QString &uri);
// The last day with exchanges: the "today" the demo data was built for.
QDate dataDay(Database &db);

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
