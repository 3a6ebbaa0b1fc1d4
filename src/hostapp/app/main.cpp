// talvex-host: the host application of the shift-exchange register.

#include "ChineseInterface.h"
#include "HostWindow.h"
#include "SettledScreenshot.h"
#include "ToolkitNotices.h"

#include "hostapp/auth/SignIn.h"
#include "hostapp/auth/SignInDialog.h"
#include "hostapp/commands/CommandDatabase.h"
#include "hostapp/commands/HostCommand.h"
#include "hostapp/commands/HostOptions.h"
#include "hostapp/commands/Terminal.h"
#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"

#include <QApplication>
#include <QGuiApplication>
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

// Only the register window on a screen may ask for a password with a dialog.
bool dialogAllowed(const HostOptions &options)
{
    return !options.command && options.screenshotPath.isEmpty();
}

// Signs the operator in; from here on the options name him.
void signInto(Database &db, HostOptions &options, ErrorLog &log)
{
    options.operatorCode =
        signIn(db, {options.operatorCode, options.passwordFile, dialogAllowed(options)}, log);
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
    if (options.help) {
        std::fputs(qPrintable(hostUsage()), stdout);
        return Done;
    }

    // Without a screen the host still runs statements and takes screenshots;
    // only the interactive window needs one.
    if (!hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ToolkitNotices::ensureRuntimeFolder();
    ToolkitNotices::filterPlatformNotices();
    // Qt is given the program's name only: every argument was ours.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QTranslator qtTexts;
    ChineseInterface::install(qtTexts);
    if (!options.command && !showsWindows() && options.screenshotPath.isEmpty()) {
        Terminal::say(u"这里没有屏幕：talvex-host 要有显示器才能打开窗口。\n"
                      "可以改为保存截图：talvex-host --screenshot talvex.png"_s);
        return BadCommandLine;
    }

    ErrorLog log(ErrorLog::defaultPath());
    try {
        if (const HostCommand *command = options.command) {
            const OpenedDatabase opened = openDatabaseFor(command->databasePolicy(), options);
            if (opened.madeOnServer)
                return Done;
            signInto(*opened.db, options, log);
            // Commands that show a window do so off screen, with the host's own
            // application and screen objects.
            HostContext context;
            return command->run(options, *opened.db, log);
        }
        const OpenedDatabase opened = openDatabaseFor(
            HostCommand::DatabasePolicy::CreateWithDemo, options,
            dialogAllowed(options) ? &SignInDialog::askPassword : ServerSignIn::PasswordPrompt());
        if (opened.madeOnServer)
            return Done;
        signInto(*opened.db, options, log);
        return runWindow(options, *opened.db, log);
    } catch (...) {
        return Terminal::reportFailure(log, std::current_exception());
    }
}
