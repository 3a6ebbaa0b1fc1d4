#pragma once

#include <QString>
#include <QStringList>

class Database;

// The roles of a register on PostgreSQL. Each operator is a login role of the
// same name as his code; the server signs him in (pg_hba.conf decides how) and
// enforces his rights (PgRights.cpp). The role that created the tables owns them
// and administers the register; it is no operator.
//
// Roles belong to the whole server, not to one database: a role of an
// operator's code that exists already is his, and is kept as it is.
namespace PgRoles {

struct Session
{
    QString user;            // the login role, session_user
    bool ownsTables = false; // it created the register's tables
};

// Who db's session is.
Session session(Database &db);

// The longest role name the server keeps whole; it cuts longer ones.
constexpr int longestName = 63;

// What the server knows of the role of that name.
struct Role
{
    bool exists = false;
    // A superuser or a role with BYPASSRLS: no policy holds it back.
    bool bypassesPolicies = false;
};
Role role(Database &db, const QString &name);

// Gives each operator of Sys_Operator a login role of his code, without a
// password. Returns the codes whose role it created.
QStringList createOperatorRoles(Database &db);

// Lets the role of that name sign in, creating it without a password when the
// server has none. Returns whether it created it.
bool allowLogin(Database &db, const QString &name);
// Stores the role's new password, hashed on this side (PgConnection).
void setPassword(Database &db, const QString &name, const QString &password);
// The role can no longer sign in, nor with its former password once allowed
// again.
void refuseLogin(Database &db, const QString &name);

} // namespace PgRoles
