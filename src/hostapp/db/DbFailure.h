#pragma once

#include "runtime/exceptions.h"

// The failures of the host's database that an operator is told about in words of
// his own. Each backend sorts its own error codes into these kinds where it
// raises them; anything else is a Statement failure, whose detail only the log
// file needs.
enum class DbFailure {
    Statement,      // refused for any other reason: the detail says why
    UniqueDayTaken, // the employee already has a shift exchange on that day
    Busy,           // another desk holds the database locked for too long
    Damaged,        // the database is damaged
    NotADatabase,   // the file is no database at all, or not one of ours
    DiskFull,       // no room left to write
    ConnectionLost, // the database server went away
    NoRight,        // the operator's rights do not permit the change
    OutsideScope,   // the change concerns an employee outside the operator's departments
    NoPrivilege,    // the server refuses the operator, or the owner, this work
    // A server's database that cannot be opened, by the reason.
    PasswordInUri,     // the connection URI holds the password
    ServerUnreachable, // nothing answers at that host and port, or not in time
    UnknownHost,       // the host's name is unknown
    DeskRefused,       // pg_hba.conf lets this role not in from here
    NoSuchDatabase,    //
    NoSuchRole,        //
    PasswordNeeded,    // the server asks a password, and none is at hand
    WrongPassword,     // the server refused the password or other credentials
    ForeignTables,     // the server's database holds another application's tables
    Cancelled,         // the operator cancelled the statement while it ran
};

// A failure of the host's database: message() is the technical detail.
class DbError : public Rt::DatabaseError
{
public:
    DbError(const QString &detail, DbFailure failure)
        : Rt::DatabaseError(detail)
        , m_failure(failure)
    {}
    DbFailure failure() const { return m_failure; }

private:
    DbFailure m_failure;
};
