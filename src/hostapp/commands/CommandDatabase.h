#pragma once

#include "HostCommand.h"

#include "hostapp/auth/ServerSignIn.h"
#include "hostapp/db/Database.h"

#include <memory>

struct HostOptions;

struct OpenedDatabase
{
    std::unique_ptr<Database> db;
    // A server database was set up or upgraded by its owner (ServerSetup.h),
    // who opens no register.
    bool madeOnServer = false;
};

// Opens the database named by --db as a command (or the register window, which
// creates with demo data) needs it. Raises Rt::Exception, in the operator's words,
// when it cannot be had that way: a missing database for a command that must not
// create one, or a database of another layout. A server that asks for a
// password nobody gave asks prompt for it, if given (ServerSignIn.h).
OpenedDatabase openDatabaseFor(HostCommand::DatabasePolicy policy, const HostOptions &options,
                               const ServerSignIn::PasswordPrompt &prompt = {});
