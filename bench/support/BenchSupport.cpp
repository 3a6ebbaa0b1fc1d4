#include "BenchSupport.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/HostServices.h"
#include "talvex/project/HostFactory.h"

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

QString administratorUri(const QString &uri)
{
    QUrl url(uri);
    url.setUserName(u"admin"_s);
    return url.toString(QUrl::FullyEncoded);
}

QDate dataDay(Database &db)
{
    return QDate::fromString(db.queryValue(u"select Max(ExchgDate) from Kq_ExchangeClass"_s),
                             u"yyyy-MM-dd"_s);
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
