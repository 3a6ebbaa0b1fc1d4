#pragma once

#include <QString>
#include <QStringView>

class Database;

// What an operator may see and do, from Sys_OperatorDept and Sys_OperatorRight.
namespace OperatorRights {

// The right code of the shift-exchange register: level 1 reads, 2 changes.
constexpr QStringView registerRight = u"1001";
// The right code of operator administration: level 2 adds, changes and removes
// operators, their passwords, departments and rights.
constexpr QStringView administrationRight = u"9001";
// The level that permits changes.
constexpr int changeLevel = 2;

// The department scope of the operator with that ID: the codes of the
// departments he may see as an SQL value list that follows "DeptCode in "
// directly, such as "('01','0101')", quotes in codes doubled. An operator with no
// department gets "('')", a valid list that matches nothing.
QString deptScope(Database &db, const QString &operatorId);

// His level for a right code; 0 when he has none. 2 or more permits changes.
int rightLevel(Database &db, const QString &operatorId, const QString &rightCode);

} // namespace OperatorRights
