#include "OperatorPasswords.h"

#include "PasswordHash.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"

using namespace Qt::StringLiterals;

namespace OperatorPasswords {

std::optional<Account> find(Database &db, const QString &operatorCode)
{
    const std::unique_ptr<TDataSet> rows =
        db.select(u"SELECT ID, OperatorCode, PasswordHash, FailedSignIns, LastFailedSignIn"
                  u" FROM Sys_Operator WHERE OperatorCode = $1"_s,
                  {operatorCode});
    if (rows->recordCount() == 0)
        return std::nullopt;
    Account account;
    account.id = rows->asString(0, 0);
    account.code = rows->asString(0, 1);
    account.passwordHash = rows->asString(0, 2);
    account.failuresInARow = int(rows->asInteger(0, 3));
    if (!rows->isNull(0, 4))
        account.lastFailure = Rt::DateTime::toDateTime(rows->asDateTime(0, 4));
    return account;
}

void recordFailure(Database &db, const QString &operatorId, const QDateTime &at)
{
    db.execute(u"UPDATE Sys_Operator SET FailedSignIns = FailedSignIns + 1,"
               u" LastFailedSignIn = $2 WHERE ID = $1"_s,
               {operatorId, Rt::DateTime::toText(Rt::DateTime::fromDateTime(at.toUTC()))});
}

void recordSuccess(Database &db, const QString &operatorId)
{
    db.execute(u"UPDATE Sys_Operator SET FailedSignIns = 0, LastFailedSignIn = NULL"
               u" WHERE ID = $1 AND FailedSignIns <> 0"_s,
               {operatorId});
}

void setPassword(Database &db, const QString &operatorId, const QString &password)
{
    db.execute(u"UPDATE Sys_Operator SET PasswordHash = $2, FailedSignIns = 0,"
               u" LastFailedSignIn = NULL WHERE ID = $1"_s,
               {operatorId, PasswordHash::make(password)});
}

QStringList giveInitialPasswords(Database &db)
{
    const std::unique_ptr<TDataSet> rows = db.select(
        u"SELECT ID, OperatorCode FROM Sys_Operator WHERE PasswordHash IS NULL ORDER BY ID"_s);
    QStringList codes;
    if (rows->recordCount() == 0)
        return codes;
    TransactionScope transaction(db);
    for (int r = 0; r < rows->recordCount(); ++r) {
        const QString code = rows->asString(r, 1);
        setPassword(db, rows->asString(r, 0), code);
        codes.append(code);
    }
    transaction.commit();
    return codes;
}

} // namespace OperatorPasswords
