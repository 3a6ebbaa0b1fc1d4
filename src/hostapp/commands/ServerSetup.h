#pragma once

#include <QString>

class Database;

// The first start on an empty PostgreSQL database, by the role that is to own
// it: after the schema and the demo data are in, the demo operators get their
// login roles, and the owner reads what was made and how operators connect.
// The owner administers the register and works in no register window.
namespace ServerSetup {

// Creates the demo operators' login roles and says on the terminal what the
// database now holds.
void finish(Database &db);

// A connection URI like the database's, for the operator of that code.
QString operatorUri(const QString &location, const QString &operatorCode);

} // namespace ServerSetup
