#pragma once

#include "runtime/exceptions.h"

#include <QDate>
#include <QString>
#include <QStringList>

class HostCommand;

// What the command line asks of talvex-host.
struct HostOptions
{
    // The subcommand and its arguments; no command opens the register window.
    const HostCommand *command = nullptr;
    QStringList commandArguments;
    bool help = false;

    QString databasePath;
    QString pluginPath; // empty: the plug-in beside the executable
    QString operatorCode = QStringLiteral("admin");
    int demoScale = 0; // 0: the standard demo
    QString screenshotPath;
    QString printToPath;
    // The days of a command that takes a range; a day left out (invalid) keeps
    // the command's default.
    QDate from;
    QDate to;
    // The department of a command that takes one; empty for the operator's scope.
    QString department;
};

// A command line that asks for something that cannot be: message() tells the
// user what is wrong, in words of his own.
class UsageError : public Rt::Exception
{
public:
    using Rt::Exception::Exception;
};

// Reads talvex-host's command line: arguments() without the program name. Each
// option is taken as "--name VALUE" or "--name=VALUE". Raises UsageError for an
// unknown option or command, a missing value or a bad one, or an option the
// command does not take.
//
// Qt is given none of these arguments, so no option of ours can be taken for
// one of its own (Qt reads -plugin, -style, -platform and more, with one dash or
// two); Qt's settings come from its environment variables instead
// (QT_QPA_PLATFORM, QT_STYLE_OVERRIDE, QT_SCALE_FACTOR).
HostOptions parseHostOptions(const QStringList &arguments);

// The text --help prints.
QString hostUsage();
