#pragma once

#include <QString>
#include <QStringList>

class Database;

// The roles of a register on PostgreSQL. Each operator is a login role of the
// same name as his code; the server signs him in (pg_hba.conf decides how) and
// enforces his rights (PgRights.cpp). The role that created the tables owns them
// and administers the register; it is no operator.
namespace PgRoles {

struct Session
{
    QString user;            // the login role, session_user
    bool ownsTables = false; // it created the register's tables
};

// Who db's session is.
Session session(Database &db);

// Gives each operator of Sys_Operator a login role of his code, without a
// password. Roles belong to the whole server: a role of that name that exists
// already is kept as it is. Returns the codes whose role it created.
QStringList createOperatorRoles(Database &db);

} // namespace PgRoles
