#pragma once

#include "HostCommand.h"

#include <memory>

class Database;
struct HostOptions;

// Opens the database named by --db as a command (or the register window, which
// creates with demo data) needs it. Raises Rt::Exception, in the operator's words,
// when it cannot be had that way: a missing database for a command that must not
// create one, or a database of another layout.
std::unique_ptr<Database> openDatabaseFor(HostCommand::DatabasePolicy policy,
                                          const HostOptions &options);
