#pragma once

#include "runtime/exceptions.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

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
    // Empty: admin in a file; on a server the login role of --db.
    QString operatorCode;
    QString passwordFile; // the password on its first line; empty: none given
    int demoScale = 0;    // 0: the standard demo
    QString screenshotPath;
    QString printToPath;
    // The days of a command that takes a range; a day left out (invalid) keeps
    // the command's default.
    QDate from;
    QDate to;
    // A department's code for a command that takes one: that department and
    // those below it. Empty: every department the operator may see.
    QString department;
    // What the operator command gives an operator; what is left out stays as
    // it is.
    std::optional<int> level;
    std::optional<bool> administrator;
    QString newPasswordFile; // the new password on its first line
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

// The database file used when --db is not given: in the user's data folder,
// which the host makes when missing.
QString defaultDatabasePath();

// The text --help prints.
QString hostUsage();
