#include "PasswordCheck.h"

#include "OperatorPasswords.h"
#include "PasswordHash.h"

using namespace Qt::StringLiterals;

PasswordCheck::PasswordCheck(Database &db, Clock now)
    : m_db(db)
    , m_now(std::move(now))
{}

PasswordCheck::Result PasswordCheck::attempt(const QString &operatorCode, const QString &password)
{
    const std::optional<OperatorPasswords::Account> account =
        OperatorPasswords::find(m_db, operatorCode);
    if (!account)
        return {Outcome::Refused};
    if (account->passwordHash.isEmpty())
        return {Outcome::NoPasswordSet};
    const QDateTime now = m_now();
    if (account->failuresInARow >= throttleAfter && account->lastFailure.isValid()) {
        // A clock set back counts as time gone by rather than a longer wait.
        const qint64 waited = account->lastFailure.secsTo(now);
        if (waited >= 0 && waited < throttleSeconds)
            return {Outcome::TooSoon, int(throttleSeconds - waited)};
    }
    if (!PasswordHash::matches(account->passwordHash, password)) {
        OperatorPasswords::recordFailure(m_db, account->id, now);
        return {Outcome::Refused};
    }
    OperatorPasswords::recordSuccess(m_db, account->id);
    return {Outcome::SignedIn};
}

QString PasswordCheck::refusal(const QString &operatorCode, const Result &result)
{
    switch (result.outcome) {
    case Outcome::SignedIn:
        break;
    case Outcome::Refused:
        return u"操作员代码或密码不对。"_s;
    case Outcome::NoPasswordSet:
        return u"操作员“%1”还没有密码，请管理员用 talvex-host operator passwd %1 设置。"_s.arg(
            operatorCode);
    case Outcome::TooSoon:
        return u"操作员“%1”的密码已连续输错 %2 次，请 %3 秒后再试。"_s.arg(operatorCode)
            .arg(throttleAfter)
            .arg(result.waitSeconds);
    }
    return QString();
}
