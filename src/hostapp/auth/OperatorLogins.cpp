#include "OperatorLogins.h"

#include "OperatorPasswords.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/PgRoles.h"
#include "hostapp/services/OperatorMessage.h"

using namespace Qt::StringLiterals;

namespace {

class EmbeddedLogins : public OperatorLogins
{
public:
    EmbeddedLogins(Database &db, const QString &operatorCode)
        : m_db(db)
    {
        const QString id = m_db.nativeValue(
            u"SELECT ID FROM Sys_Operator WHERE OperatorCode = $1"_s, {operatorCode});
        if (id.isNull()
            || OperatorRights::rightLevel(db, id, OperatorRights::administrationRight.toString())
                   < OperatorRights::changeLevel)
            throw HostError(u"对不起，您的权限不足，请与系统管理员联系！"_s, {});
    }

    bool administratorsAreOperators() const override { return true; }
    bool addNeedsPassword() const override { return true; }
    void checkNewCode(const QString &) override {}

    QString add(const QString &id, const QString &, const std::optional<QString> &password) override
    {
        OperatorPasswords::setPassword(m_db, id, *password);
        return QString();
    }

    void setPassword(const QString &id, const QString &, const QString &password) override
    {
        OperatorPasswords::setPassword(m_db, id, password);
    }

    // The hash goes with his row.
    QString remove(const QString &) override { return QString(); }

private:
    Database &m_db;
};

class ServerLogins : public OperatorLogins
{
public:
    explicit ServerLogins(Database &db)
        : m_db(db)
        , m_session(PgRoles::session(db))
    {
        if (!m_session.ownsTables) {
            throw HostError(u"角色 %1 不是这个数据库的所有者：在数据库服务器上，"
                            "只有建立数据库的所有者才能管理操作员。"_s.arg(m_session.user),
                            {});
        }
    }

    bool administratorsAreOperators() const override { return false; }
    // The server's pg_hba.conf may sign him in otherwise (peer, LDAP, ...).
    bool addNeedsPassword() const override { return false; }

    void checkNewCode(const QString &code) override
    {
        if (code.toUtf8().size() > PgRoles::longestName) {
            throw HostError(u"操作员代码“%1”太长：服务器上的角色名最多 %2 个字节。"_s.arg(code).arg(
                                PgRoles::longestName),
                            {});
        }
        if (code.startsWith(u"pg_"_s)) {
            throw HostError(
                u"操作员代码“%1”不能以 pg_ 开头：服务器把这样的角色名留给自己用。"_s.arg(code), {});
        }
        if (code == m_session.user) {
            throw HostError(u"角色 %1 是这个数据库的所有者，不能同时是登记簿的操作员。"_s.arg(code),
                            {});
        }
        if (PgRoles::role(m_db, code).bypassesPolicies) {
            throw HostError(u"服务器上的角色“%1”是超级用户或不受行级安全限制（BYPASSRLS），"
                            "数据库管不住它的权限，不能作为操作员。"_s.arg(code),
                            {});
        }
    }

    QString add(const QString &, const QString &code,
                const std::optional<QString> &password) override
    {
        bool created = false;
        changeRoles([&] {
            created = PgRoles::allowLogin(m_db, code);
            if (password)
                PgRoles::setPassword(m_db, code, *password);
        });
        if (created && password)
            return u"新建了登录角色“%1”，密码已设好。"_s.arg(code);
        if (created) {
            return u"新建了登录角色“%1”，没有设密码：怎样登录由服务器的 pg_hba.conf 决定；"
                   "要设密码，用 talvex-host operator passwd %1。"_s.arg(code);
        }
        return password ? u"服务器上已有登录角色“%1”，照旧使用，密码已改为新的。"_s.arg(code)
                        : u"服务器上已有登录角色“%1”，照旧使用，密码不变。"_s.arg(code);
    }

    // A new password is for signing in with: a role the server lost or that
    // was stopped is given back its login.
    void setPassword(const QString &, const QString &code, const QString &password) override
    {
        changeRoles([&] {
            PgRoles::allowLogin(m_db, code);
            PgRoles::setPassword(m_db, code, password);
        });
    }

    // The role is kept but can no longer sign in. Dropping it would fail while
    // it owns objects or holds privileges anywhere on the server, which is not
    // this register's to clear up; and an office wants a leaver shut out at
    // once, from every database of the server, without losing the name that
    // his history rows carry. A session he has open sees no exchange from his
    // next statement on, since the policies read Sys_Operator.
    QString remove(const QString &code) override
    {
        if (!PgRoles::role(m_db, code).exists)
            return QString();
        changeRoles([&] { PgRoles::refuseLogin(m_db, code); });
        return u"登录角色“%1”已停用，密码已清除；角色本身留在服务器上。"_s.arg(code);
    }

private:
    // The server lets the owner change roles only with CREATEROLE, and then no
    // superuser's; the caller's transaction undoes the rows of a refusal.
    template <typename Change> void changeRoles(Change change)
    {
        try {
            change();
        } catch (const DbError &e) {
            if (e.failure() != DbFailure::NoPrivilege)
                throw;
            throw HostError(u"服务器不许角色 %1 管理登录角色，什么都没有改动。"
                            "请服务器的管理员授予它 CREATEROLE：ALTER ROLE %1 CREATEROLE。"_s.arg(
                                m_session.user),
                            e.message());
        }
    }

    Database &m_db;
    PgRoles::Session m_session;
};

} // namespace

std::unique_ptr<OperatorLogins> OperatorLogins::forAdministrator(Database &db,
                                                                 const QString &operatorCode)
{
    if (db.backend() == DbBackend::Sqlite)
        return std::make_unique<EmbeddedLogins>(db, operatorCode);
    return std::make_unique<ServerLogins>(db);
}
