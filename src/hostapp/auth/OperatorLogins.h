#pragma once

#include <QString>
#include <memory>
#include <optional>

class Database;

// How operators sign in on each engine, as operator administration
// (OperatorAdministration.h) changes it beside their rows in Sys_Operator.
//
// - Embedded: the operator's password hash in Sys_Operator; administrators are
//   operators with the change level on the administration right.
// - Server: the operator's login role of the same name, its password stored by
//   the server; the administrator is the role that owns the schema, no operator.
//
// add, setPassword and remove run inside the caller's transaction; on a server
// roles are transactional too, so a refusal later in it leaves no role behind.
class OperatorLogins
{
public:
    // Raises HostError unless db's session may administer operators: on the
    // embedded database the signed-in operator of that code.
    static std::unique_ptr<OperatorLogins> forAdministrator(Database &db,
                                                            const QString &operatorCode);
    virtual ~OperatorLogins() = default;

    // Whether administrators are operators holding the administration right.
    virtual bool administratorsAreOperators() const = 0;
    // Whether a new operator needs a password to be able to sign in at all.
    virtual bool addNeedsPassword() const = 0;
    // Raises HostError when an operator of that code could not sign in, or
    // could escape his rights.
    virtual void checkNewCode(const QString &code) = 0;
    // Returns what the administrator should know beyond the operator's rows;
    // empty when nothing.
    virtual QString add(const QString &id, const QString &code,
                        const std::optional<QString> &password) = 0;
    virtual void setPassword(const QString &id, const QString &code, const QString &password) = 0;
    virtual QString remove(const QString &code) = 0;
};
