// talvex-host: the host application of the shift-exchange register.

#include "ExportXlsCommand.h"
#include "HostOptions.h"
#include "HostWindow.h"
#include "SettledScreenshot.h"
#include "SqlCommand.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "hostapp/services/OperatorMessage.h"
#include "runtime/application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// 0: done; 1: could not start, or the command failed; 2: the command line
// cannot be read.
enum ExitStatus { Done = 0, Failed = 1, BadCommandLine = 2 };

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

bool showsWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A file's folder is made when missing; a server's database needs none here.
void createDatabaseFolder(const QString &location)
{
    if (isServerLocation(location))
        return;
    const QString folder = QFileInfo(location).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw HostError(
            u"无法建立数据库文件夹 %1。请检查 --db 给出的路径和文件夹的权限。"_s.arg(folder), {});
    }
}

// A new database gets the schema and the demo data; an existing one must be
// ours, and one of an older layout is brought up to date.
void prepareDatabase(Database &db, int demoScale)
{
    const Schema::State state = Schema::check(db);
    if (state != Schema::State::Empty && demoScale > 0) {
        Terminal::say(u"数据库 %1 已经存在：--demo-scale 只用于新建数据库，这次不起作用。"_s.arg(
            db.location()));
    }
    if (state == Schema::State::Current)
        return;
    if (state == Schema::State::Older) {
        Terminal::say(
            u"正在把数据库 %1 升级到第 %2 版布局……"_s.arg(db.location()).arg(Schema::version));
        Schema::upgrade(db);
        return;
    }
    Terminal::say(u"正在建立演示数据库 %1 ……"_s.arg(db.location()));
    const DemoProfile profile =
        demoScale > 0 ? DemoProfile::scaled(demoScale) : DemoProfile::standard();
    DemoData::create(db, QDate::currentDate(), profile);
}

// The host's application and screen objects, which every form and message box
// uses while they live.
struct HostContext
{
    HostContext()
    {
        Rt::setApplication(&application);
        Rt::setScreen(&screen);
    }
    ~HostContext()
    {
        Rt::setApplication(nullptr);
        Rt::setScreen(nullptr);
    }
    TApplication application;
    TScreen screen;
};

int runWindow(const HostOptions &options, Database &db, ErrorLog &log)
{
    HostSession session(db, log, options.operatorCode);
    session.setPrintToFile(options.printToPath);
    // Loaded before any window shows, so that a plug-in that cannot be loaded
    // ends the start with its message, not an empty window.
    auto plugin = std::make_unique<PluginHost>(
        options.pluginPath.isEmpty() ? PluginHost::defaultLibraryPath() : options.pluginPath);

    HostContext context;
    context.application.setTitle(u"Talvex"_s);
    context.application.setExceptionHandler(
        [&session](const std::exception_ptr &error) { session.handleException(error); });
    IntfPtr<IFactoryIntf> root(new FactoryService(session));

    HostWindow window(session, root.get());
    session.setWindow(&window);
    context.application.setMainForm(&window);
    std::optional<SettledScreenshot> screenshot;
    if (!options.screenshotPath.isEmpty())
        screenshot.emplace(window, options.screenshotPath);
    window.show();
    window.openPlugin(std::move(plugin), u"KQ_EXCHANGE"_s, DemoData::rightCode.toInt());
    // A screenshot taken while the window was still opening has ended the run.
    const int status = screenshot && screenshot->taken() ? (screenshot->saved() ? Done : Failed)
                                                         : QApplication::exec();
    window.closePlugin();
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(u"talvex-host"_s);
    HostOptions options;
    try {
        options = parseHostOptions(argumentsOf(argc, argv));
    } catch (const UsageError &e) {
        Terminal::say(u"talvex-host：%1\n用 talvex-host --help 查看用法。"_s.arg(e.message()));
        return BadCommandLine;
    }
    if (options.command == HostOptions::Command::Help) {
        std::fputs(qPrintable(hostUsage()), stdout);
        return Done;
    }

    // Without a screen the host still runs statements and takes screenshots;
    // only the interactive window needs one.
    if (!hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt is given the program's name only: every argument was ours.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The operator's language is Chinese, Qt's own texts included: the buttons of
    // message boxes and the file dialogs of export and import.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), u"qtbase"_s, u"_"_s,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    if (options.command == HostOptions::Command::Window && !showsWindows()
        && options.screenshotPath.isEmpty()) {
        Terminal::say(u"这里没有屏幕：talvex-host 要有显示器才能打开窗口。\n"
                      "可以改为保存截图：talvex-host --screenshot talvex.png"_s);
        return BadCommandLine;
    }

    ErrorLog log(ErrorLog::defaultPath());
    try {
        if (options.command == HostOptions::Command::ExportXls) {
            HostContext context;
            return runExportXls(options, log);
        }
        createDatabaseFolder(options.databasePath);
        const std::unique_ptr<Database> db = openDatabase(options.databasePath);
        prepareDatabase(*db, options.demoScale);
        if (options.command == HostOptions::Command::Sql) {
            // The session sets the operator under whom the history records the
            // statement's changes.
            const HostSession session(*db, log, options.operatorCode);
            return runSqlCommand(*db, options.sqlStatement, log);
        }
        return runWindow(options, *db, log);
    } catch (...) {
        return Terminal::reportFailure(log, std::current_exception());
    }
}
