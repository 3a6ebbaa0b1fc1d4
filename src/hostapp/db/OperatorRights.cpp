#include "OperatorRights.h"

#include "Database.h"

#include "talvex/model/SqlText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace OperatorRights {

QString deptScope(Database &db, const QString &operatorId)
{
    SqliteStatement query = db.prepare(
        u"SELECT DeptCode FROM Sys_OperatorDept WHERE OperatorID = ?1 ORDER BY DeptCode"_s);
    query.bind(1, operatorId);
    QStringList codes;
    while (query.step())
        codes.append(SqlText::quoted(query.columnText(0)));
    if (codes.isEmpty())
        codes.append(u"''"_s);
    return u'(' + codes.join(u',') + u')';
}

int rightLevel(Database &db, const QString &operatorId, const QString &rightCode)
{
    SqliteStatement query = db.prepare(u"SELECT RightLevel FROM Sys_OperatorRight"
                                       u" WHERE OperatorID = ?1 AND RightCode = ?2"_s);
    query.bind(1, operatorId).bind(2, rightCode);
    return query.step() ? int(query.columnInt64(0)) : 0;
}

} // namespace OperatorRights
