#include "OperatorAdministration.h"

#include "OperatorLogins.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/services/OperatorMessage.h"
#include "runtime/dataset.h"

using namespace Qt::StringLiterals;

namespace {

QString registerRight()
{
    return OperatorRights::registerRight.toString();
}

QString administrationRight()
{
    return OperatorRights::administrationRight.toString();
}

} // namespace

OperatorAdministration::OperatorAdministration(Database &db, const QString &administratorCode)
    : m_db(db)
    , m_logins(OperatorLogins::forAdministrator(db, administratorCode))
{}

OperatorAdministration::~OperatorAdministration() = default;

bool OperatorAdministration::addNeedsPassword() const
{
    return m_logins->addNeedsPassword();
}

QList<OperatorAdministration::Operator> OperatorAdministration::list()
{
    const std::unique_ptr<TDataSet> rows =
        m_db.select(u"SELECT ID FROM Sys_Operator ORDER BY OperatorCode"_s);
    QList<Operator> operators;
    for (int r = 0; r < rows->recordCount(); ++r)
        operators.append(operatorWithId(rows->asString(r, 0)));
    return operators;
}

OperatorAdministration::Operator OperatorAdministration::add(const QString &code,
                                                             const QString &name,
                                                             const std::optional<QString> &password,
                                                             const Grant &grant)
{
    if (code.trimmed().isEmpty() || code != code.trimmed())
        throw HostError(u"操作员代码不能为空，前后也不能有空格。"_s, {});
    if (name.trimmed().isEmpty())
        throw HostError(u"操作员姓名不能为空。"_s, {});
    if (!m_db.nativeValue(u"SELECT ID FROM Sys_Operator WHERE OperatorCode = $1"_s, {code})
             .isNull())
        throw HostError(u"已经有操作员“%1”了，不能重复添加。"_s.arg(code), {});
    if (password || m_logins->addNeedsPassword())
        requirePassword(password.value_or(QString()));
    requireGrantable(grant);
    if (grant.level)
        requireLevel(*grant.level);
    Grant checked = grant;
    if (grant.departments)
        checked.departments = departmentsWithin(*grant.departments);
    m_logins->checkNewCode(code);

    TransactionScope transaction(m_db);
    const QString id = m_db.nativeValue(u"SELECT coalesce(max(ID), 0) + 1 FROM Sys_Operator"_s);
    m_db.execute(u"INSERT INTO Sys_Operator (ID, OperatorCode, OperatorName) VALUES ($1, $2, $3)"_s,
                 {id, code, name.trimmed()});
    const QString login = m_logins->add(id, code, password);
    writeGrant(id, checked);
    transaction.commit();
    Operator added = operatorWithId(id);
    added.login = login;
    return added;
}

void OperatorAdministration::setPassword(const QString &code, const QString &password)
{
    const QString id = idOf(code);
    requirePassword(password);
    TransactionScope transaction(m_db);
    m_logins->setPassword(id, code, password);
    transaction.commit();
}

OperatorAdministration::Operator OperatorAdministration::grant(const QString &code,
                                                               const Grant &grant)
{
    const QString id = idOf(code);
    requireGrantable(grant);
    if (grant.level)
        requireLevel(*grant.level);
    Grant checked = grant;
    if (grant.departments)
        checked.departments = departmentsWithin(*grant.departments);
    if (grant.administrator == false && m_logins->administratorsAreOperators())
        keepAnAdministrator(id);

    TransactionScope transaction(m_db);
    writeGrant(id, checked);
    transaction.commit();
    return operatorWithId(id);
}

QString OperatorAdministration::remove(const QString &code)
{
    const QString id = idOf(code);
    if (m_logins->administratorsAreOperators())
        keepAnAdministrator(id);
    TransactionScope transaction(m_db);
    m_db.execute(u"DELETE FROM Sys_OperatorRight WHERE OperatorID = $1"_s, {id});
    m_db.execute(u"DELETE FROM Sys_OperatorDept WHERE OperatorID = $1"_s, {id});
    m_db.execute(u"DELETE FROM Sys_Operator WHERE ID = $1"_s, {id});
    const QString login = m_logins->remove(code);
    transaction.commit();
    return login;
}

QString OperatorAdministration::idOf(const QString &code)
{
    const QString id =
        m_db.nativeValue(u"SELECT ID FROM Sys_Operator WHERE OperatorCode = $1"_s, {code});
    if (id.isNull())
        throw HostError(u"没有操作员“%1”。"_s.arg(code), {});
    return id;
}

QStringList OperatorAdministration::departmentsWithin(const QStringList &codes)
{
    QStringList within;
    for (const QString &code : codes) {
        const std::unique_ptr<TDataSet> rows =
            m_db.select(u"SELECT DeptCode FROM Sys_Dept WHERE substr(DeptCode, 1, length($1)) = $1"
                        u" ORDER BY DeptCode"_s,
                        {code});
        if (rows->recordCount() == 0 || rows->asString(0, 0) != code)
            throw HostError(u"没有部门“%1”。"_s.arg(code), {});
        for (int r = 0; r < rows->recordCount(); ++r) {
            if (!within.contains(rows->asString(r, 0)))
                within.append(rows->asString(r, 0));
        }
    }
    within.sort();
    return within;
}

void OperatorAdministration::requireLevel(int level)
{
    if (level < 0 || level > OperatorRights::changeLevel) {
        throw HostError(
            u"权限级别应是 0（不能使用）、1（只能查看）或 2（可以修改），不能是 %1。"_s.arg(level),
            {});
    }
}

void OperatorAdministration::requirePassword(const QString &password)
{
    if (password.isEmpty())
        throw HostError(u"新密码不能为空。"_s, {});
}

void OperatorAdministration::requireGrantable(const Grant &grant)
{
    if (grant.administrator.has_value() && !m_logins->administratorsAreOperators()) {
        throw HostError(u"在数据库服务器上，管理操作员的是数据库的所有者，不是哪一位操作员："
                        u"--admin 在这里不适用。"_s,
                        {});
    }
}

void OperatorAdministration::keepAnAdministrator(const QString &leavingId)
{
    const QString others =
        m_db.nativeValue(u"SELECT count(*) FROM Sys_OperatorRight WHERE RightCode = $1"
                         u" AND RightLevel >= $2 AND OperatorID <> $3"_s,
                         {administrationRight(), OperatorRights::changeLevel, leavingId});
    if (others.toInt() == 0)
        throw HostError(u"这是最后一位管理员：不能删除他，也不能取消他的管理权限。"_s, {});
}

void OperatorAdministration::writeGrant(const QString &id, const Grant &grant)
{
    const auto setRight = [&](const QString &right, int level) {
        m_db.execute(u"DELETE FROM Sys_OperatorRight WHERE OperatorID = $1 AND RightCode = $2"_s,
                     {id, right});
        if (level > 0) {
            m_db.execute(u"INSERT INTO Sys_OperatorRight (OperatorID, RightCode, RightLevel)"
                         u" VALUES ($1, $2, $3)"_s,
                         {id, right, level});
        }
    };
    if (grant.level)
        setRight(registerRight(), *grant.level);
    if (grant.administrator)
        setRight(administrationRight(), *grant.administrator ? OperatorRights::changeLevel : 0);
    if (grant.departments) {
        m_db.execute(u"DELETE FROM Sys_OperatorDept WHERE OperatorID = $1"_s, {id});
        for (const QString &department : *grant.departments) {
            m_db.execute(u"INSERT INTO Sys_OperatorDept (OperatorID, DeptCode) VALUES ($1, $2)"_s,
                         {id, department});
        }
    }
}

OperatorAdministration::Operator OperatorAdministration::operatorWithId(const QString &id)
{
    Operator op;
    const std::unique_ptr<TDataSet> row =
        m_db.select(u"SELECT OperatorCode, OperatorName FROM Sys_Operator WHERE ID = $1"_s, {id});
    op.code = row->asString(0, 0);
    op.name = row->asString(0, 1);
    op.level = OperatorRights::rightLevel(m_db, id, registerRight());
    op.administrator = m_logins->administratorsAreOperators()
                       && OperatorRights::rightLevel(m_db, id, administrationRight())
                              >= OperatorRights::changeLevel;
    const std::unique_ptr<TDataSet> departments = m_db.select(
        u"SELECT DeptCode FROM Sys_OperatorDept WHERE OperatorID = $1 ORDER BY DeptCode"_s, {id});
    for (int r = 0; r < departments->recordCount(); ++r)
        op.departments.append(departments->asString(r, 0));
    return op;
}
