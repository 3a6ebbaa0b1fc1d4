#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class Database;

// The sign-in columns of Sys_Operator on the embedded database: each operator's
// password hash (PasswordHash.h) and his failed sign-ins since the last one that
// succeeded. A server keeps its roles' passwords itself.
namespace OperatorPasswords {

struct Account
{
    QString id;
    QString code;
    QString passwordHash; // empty: none set yet
    int failuresInARow = 0;
    QDateTime lastFailure; // UTC; invalid when there was none
};

std::optional<Account> find(Database &db, const QString &operatorCode);

void recordFailure(Database &db, const QString &operatorId, const QDateTime &at);
void recordSuccess(Database &db, const QString &operatorId);
// Stores the hash of a new password; the failures so far are forgiven.
void setPassword(Database &db, const QString &operatorId, const QString &password);

// Operators that have no password yet (the demo's, those of a database made
// before passwords, those of a test fixture) get their own code as their first
// one, to be changed. Returns their codes.
QStringList giveInitialPasswords(Database &db);

} // namespace OperatorPasswords
