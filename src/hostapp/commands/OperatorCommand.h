#pragma once

#include "HostCommand.h"

// talvex-host operator list|add|passwd|grant|remove: the administrator's work
// on the operators (auth/OperatorAdministration.h), each action saying what it
// did. New passwords come from TALVEX_NEW_PASSWORD or the first line of
// --new-password-file, never from the command line. The same command serves
// both engines: on a server the schema's owner runs it, add gives the operator
// his login role (a password only if one is given) and remove stops that role
// signing in; --admin is for the embedded database's administrators.
//
//   operator list
//   operator add CODE NAME [--dept CODE,...] [--level N] [--admin yes|no]
//   operator passwd CODE
//   operator grant CODE [--dept CODE,...] [--level N] [--admin yes|no]
//   operator remove CODE
class OperatorCommand : public HostCommand
{
public:
    QString name() const override;
    QString argumentsHelp() const override;
    QString help() const override;
    int options() const override { return Department | OperatorAccount; }
    void checkArguments(const QStringList &arguments) const override;
    int run(const HostOptions &options, Database &db, ErrorLog &log) const override;
};
