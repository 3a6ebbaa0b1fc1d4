#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;

// What an administrator does with the operators of the embedded database:
// lists them, adds them, sets their passwords, grants them departments and
// rights, removes them. An administrator has the change level on operator
// administration (OperatorRights::administrationRight); the database itself
// refuses everyone else (SqliteRights.h).
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
    };

    // What grant changes; what is left out stays.
    struct Grant
    {
        std::optional<QStringList> departments; // each with its sub-departments
        std::optional<int> level;
        std::optional<bool> administrator;
    };

    // Raises HostError unless the signed-in operator is an administrator.
    OperatorAdministration(Database &db, const QString &administratorCode);

    QList<Operator> list();
    // A new operator with his password, departments and level; he is no
    // administrator until granted.
    Operator add(const QString &code, const QString &name, const QString &password,
                 const Grant &grant);
    void setPassword(const QString &code, const QString &password);
    Operator grant(const QString &code, const Grant &grant);
    void remove(const QString &code);

private:
    QString idOf(const QString &code);
    // The departments named, each with its sub-departments (codes that begin
    // with its code, as the demo's tree nests them); raises for an unknown one.
    QStringList departmentsWithin(const QStringList &codes);
    void requireLevel(int level);
    void requirePassword(const QString &password);
    // Raises when the change would leave no administrator.
    void keepAnAdministrator(const QString &leavingId);
    void writeGrant(const QString &id, const Grant &grant);
    Operator operatorWithId(const QString &id);

    Database &m_db;
};
