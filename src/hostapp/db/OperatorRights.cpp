#include "OperatorRights.h"

#include "Database.h"

#include "runtime/dataset.h"
#include "talvex/model/SqlText.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace OperatorRights {

QString deptScope(Database &db, const QString &operatorId)
{
    const std::unique_ptr<TDataSet> rows = db.select(
        u"SELECT DeptCode FROM Sys_OperatorDept WHERE OperatorID = $1 ORDER BY DeptCode"_s,
        {operatorId});
    QStringList codes;
    for (int r = 0; r < rows->recordCount(); ++r)
        codes.append(SqlText::quoted(rows->asString(r, 0)));
    if (codes.isEmpty())
        codes.append(u"''"_s);
    return u'(' + codes.join(u',') + u')';
}

int rightLevel(Database &db, const QString &operatorId, const QString &rightCode)
{
    return db
        .nativeValue(u"SELECT RightLevel FROM Sys_OperatorRight"
                     u" WHERE OperatorID = $1 AND RightCode = $2"_s,
                     {operatorId, rightCode})
        .toInt();
}

} // namespace OperatorRights
