#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;
class ErrorLog;
struct HostOptions;

// One subcommand of talvex-host (sql, export-xls, ...): its name and help, the
// arguments and options it takes, what it needs of the database, and its run.
// Commands hold no state: what the command line said stays in HostOptions.
class HostCommand
{
public:
    // What the host does with the database named by --db before the command runs.
    enum class DatabasePolicy {
        // A new file gets the schema and the demo data; an older layout is upgraded.
        CreateWithDemo,
        // The database must exist and be of the current layout: a command that
        // feeds payroll or scripts never works on a demo database made by mistake.
        MustExist,
    };

    // The options beside the host's own that a command may take.
    enum Option {
        DateRange = 0x1,  // --from, --to
        Department = 0x2, // --dept
    };

    virtual ~HostCommand() = default;

    virtual QString name() const = 0;
    // The arguments after the name, as the usage shows them ("FILE.xls").
    virtual QString argumentsHelp() const = 0;
    virtual QString help() const = 0;
    // Option flags the command accepts.
    virtual int options() const { return 0; }
    virtual DatabasePolicy databasePolicy() const { return DatabasePolicy::MustExist; }
    // Raises UsageError when the arguments after the name cannot be run.
    virtual void checkArguments(const QStringList &arguments) const = 0;
    // Runs over the opened database; returns the exit status (0 done, 1 failed).
    // Failures it does not report itself reach the caller as exceptions.
    virtual int run(const HostOptions &options, Database &db, ErrorLog &log) const = 0;
};

// Every command talvex-host knows, in the order the usage lists them.
const QList<const HostCommand *> &hostCommands();
