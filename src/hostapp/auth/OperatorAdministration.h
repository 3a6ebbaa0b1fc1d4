#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Database;
class OperatorLogins;

// What an administrator does with the operators: lists them, adds them, sets
// their passwords, grants them departments and rights, removes them. The rows
// in Sys_Operator, Sys_OperatorDept and Sys_OperatorRight are alike on both
// engines; how an operator signs in, and who administers, is the engine's
// (OperatorLogins.h). On the embedded database the administrator has the change
// level on operator administration (OperatorRights::administrationRight) and
// the database itself refuses everyone else (SqliteRights.h); on a server he is
// the schema's owner.
//
// Each operation checks everything before it changes anything, and changes in
// one transaction: a refusal, raised as HostError in the administrator's words,
// leaves the database as it was.
class OperatorAdministration
{
public:
    struct Operator
    {
        QString code;
        QString name;
        int level = 0; // on the register's right: 1 reads, 2 changes
        bool administrator = false;
        QStringList departments;
        // What became of his sign-in beyond his rows, when the engine has
        // anything to say (his login role on a server); set by add only.
        QString login;
    };

    // What grant changes; what is left out stays.
    struct Grant
    {
        std::optional<QStringList> departments; // each with its sub-departments
        std::optional<int> level;
        std::optional<bool> administrator;
    };

    // Raises HostError unless the session may administer operators; on the
    // embedded database administratorCode is the signed-in operator.
    OperatorAdministration(Database &db, const QString &administratorCode);
    ~OperatorAdministration();

    // Whether add takes no operator without a password.
    bool addNeedsPassword() const;

    QList<Operator> list();
    // A new operator with his password (where the engine lets him sign in
    // without one, optional), departments and level; he is no administrator
    // until granted.
    Operator add(const QString &code, const QString &name, const std::optional<QString> &password,
                 const Grant &grant);
    void setPassword(const QString &code, const QString &password);
    Operator grant(const QString &code, const Grant &grant);
    // Returns what became of his sign-in, when the engine has anything to say.
    QString remove(const QString &code);

private:
    QString idOf(const QString &code);
    // The departments named, each with its sub-departments (codes that begin
    // with its code, as the demo's tree nests them); raises for an unknown one.
    QStringList departmentsWithin(const QStringList &codes);
    void requireLevel(int level);
    void requirePassword(const QString &password);
    // Raises when the grant makes an administrator where operators are none.
    void requireGrantable(const Grant &grant);
    // Raises when the change would leave no administrator.
    void keepAnAdministrator(const QString &leavingId);
    void writeGrant(const QString &id, const Grant &grant);
    Operator operatorWithId(const QString &id);

    Database &m_db;
    std::unique_ptr<OperatorLogins> m_logins;
};
