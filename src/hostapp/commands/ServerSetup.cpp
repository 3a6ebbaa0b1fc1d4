#include "ServerSetup.h"

#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/PgRoles.h"

#include "runtime/dataset.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace ServerSetup {

QString operatorUri(const QString &location, const QString &operatorCode)
{
    QUrl url(location);
    url.setUserName(operatorCode);
    return url.toString();
}

void finish(Database &db, const QString &done)
{
    const QStringList created = PgRoles::createOperatorRoles(db);
    const std::unique_ptr<TDataSet> rows =
        db.select(u"SELECT OperatorCode, OperatorName FROM Sys_Operator ORDER BY ID"_s);
    QStringList operators;
    QStringList kept;
    for (int r = 0; r < rows->recordCount(); ++r) {
        const QString code = rows->asString(r, 0);
        operators.append(u"%1（%2）"_s.arg(code, rows->asString(r, 1)));
        if (!created.contains(code))
            kept.append(code);
    }
    const PgRoles::Session owner = PgRoles::session(db);
    QString text = done + u"\n操作员：%1。\n"_s.arg(operators.join(u"、"_s));
    if (!created.isEmpty())
        text += u"新建的登录角色：%1（没有设密码）。\n"_s.arg(created.join(u"、"_s));
    if (!kept.isEmpty())
        text += u"服务器上已有的角色照旧使用：%1。\n"_s.arg(kept.join(u"、"_s));
    text += u"操作员怎样登录由服务器的 pg_hba.conf 决定；要用密码时，为角色设置密码后，"
            "操作员把密码放在 PGPASSWORD 或 ~/.pgpass 中。\n"
            "操作员这样打开登记簿：talvex-host --db %1\n"
            "角色 %2 是这个数据库的所有者，负责管理，不打开登记簿。"_s.arg(
                operatorUri(db.location(), u"clerk"_s), owner.user);
    Terminal::say(text);
}

} // namespace ServerSetup
