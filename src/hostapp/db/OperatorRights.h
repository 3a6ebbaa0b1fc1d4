#pragma once

#include <QString>

class Database;

// What an operator may see and do, from Sys_OperatorDept and Sys_OperatorRight.
namespace OperatorRights {

// The department scope of the operator with that ID: the codes of the
// departments he may see as an SQL value list that follows "DeptCode in "
// directly, such as "('01','0101')", quotes in codes doubled. An operator with no
// department gets "('')", a valid list that matches nothing.
QString deptScope(Database &db, const QString &operatorId);

// His level for a right code; 0 when he has none. 2 or more permits changes.
int rightLevel(Database &db, const QString &operatorId, const QString &rightCode);

} // namespace OperatorRights
