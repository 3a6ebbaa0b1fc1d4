#pragma once

#include <QString>

class Database;

// The owner's start that makes a PostgreSQL database ready for its operators:
// the first one, on an empty database, after the schema and the demo data are
// in; or the one that brought a database of an earlier layout up to date. The
// operators get their login roles, and the owner reads what was done and how
// operators connect. The owner administers the register and works in no
// register window.
namespace ServerSetup {

// Creates the operators' missing login roles and says on the terminal what
// was done (`done`, its first line) and what the database now holds.
void finish(Database &db, const QString &done);

// A connection URI like the database's, for the operator of that code.
QString operatorUri(const QString &location, const QString &operatorCode);

} // namespace ServerSetup
