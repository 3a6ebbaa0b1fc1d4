// talvex-host: the host application of the shift-exchange register.

#include "ExportXlsCommand.h"
#include "HostOptions.h"
#include "HostWindow.h"
#include "SqlCommand.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"
#include "runtime/exceptions.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

bool showsWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

// A new file gets the schema and the demo data; an existing one must be ours.
void prepareDatabase(Database &db, int demoScale)
{
    if (Schema::check(db) == Schema::State::Current)
        return;
    std::fprintf(stderr, "Creating the demo database %s ...\n", qPrintable(db.filePath()));
    const DemoProfile profile = demoScale > 0 ? DemoProfile::scaled(demoScale)
                                              : DemoProfile::standard();
    DemoData::create(db, QDate::currentDate(), profile);
}

void showScreenshotWhenSettled(HostWindow &window, const QString &path)
{
    // Let the window show, load and lay itself out before it is grabbed.
    QTimer::singleShot(1500, &window, [&window, path] {
        const bool saved = window.grab().save(path);
        std::fprintf(stderr, saved ? "Saved %s\n" : "Cannot write %s\n", qPrintable(path));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    // Without a screen the host still answers --help, runs statements and takes
    // screenshots; only the interactive window needs one.
    if (!hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"talvex-host"_s);
    const HostOptions options = parseHostOptions(QCoreApplication::arguments());

    if (!showsWindows() && !options.sqlCommand && !options.exportXls
        && options.screenshotPath.isEmpty()) {
        std::fprintf(stderr, "No screen here: talvex-host needs a display to show its window.\n"
                             "Take a screenshot instead:  talvex-host --screenshot talvex.png\n");
        return 2;
    }

    TApplication hostApplication;
    hostApplication.setTitle(u"Talvex"_s);
    TScreen hostScreen;
    Rt::setApplication(&hostApplication);
    Rt::setScreen(&hostScreen);

    if (options.exportXls)
        return runExportXls(options);

    try {
        QDir().mkpath(QFileInfo(options.databasePath).absolutePath());
        Database db(options.databasePath);
        prepareDatabase(db, options.demoScale);
        if (options.sqlCommand)
            return runSqlCommand(db, options.sqlStatement);

        ErrorLog log(ErrorLog::defaultPath());
        HostSession session(db, log, options.operatorCode);
        session.setPrintToFile(options.printToPath);
        IntfPtr<IFactoryIntf> root(new FactoryService(session));

        HostWindow window(session, root.get());
        session.setWindow(&window);
        hostApplication.setMainForm(&window);
        window.show();
        window.openPlugin(options.pluginPath.isEmpty() ? PluginHost::defaultLibraryPath()
                                                       : options.pluginPath,
                          u"KQ_EXCHANGE"_s, DemoData::rightCode.toInt());
        if (!options.screenshotPath.isEmpty())
            showScreenshotWhenSettled(window, options.screenshotPath);
        const int code = QApplication::exec();
        window.closePlugin();
        return code;
    } catch (const Rt::Exception &e) {
        std::fprintf(stderr, "talvex-host: %s\n", qPrintable(e.message()));
        return 1;
    }
}
