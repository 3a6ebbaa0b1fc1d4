#pragma once

class Database;

// The tables of the host's database: those the module reads and writes
// (Kq_ExchangeClass, Kq_WorkPlan, Kq_ClassDetail, HR_Employee, Sys_Dept,
// HR_StationInfo) and the host's own: the sequences (Sys_Sequence, holding
// SEQ_OCID), the operators (Sys_Operator), their rights (Sys_OperatorRight) and
// the departments each may see (Sys_OperatorDept).
//
// Dates are stored as "yyyy-mm-dd" texts and date-times as "yyyy-mm-dd
// hh:mm:ss", so that comparing texts orders them; such columns are declared DATE
// so that queries read them as date-times. Indexes serve the filters of every
// statement the module sends; a unique index on (EmployeeCode, ExchgDate) keeps
// two operators from entering the same employee and day.
namespace Schema {

// The layout's version, kept in the file's user_version.
constexpr int version = 1;
// Marks the file as this application's (application_id).
constexpr int applicationId = 0x54564C58;

enum class State { Empty, Current };

// Empty for a new file, Current for one with this layout. Raises DbError of the
// kind NotADatabase for a file of another application or of another version.
State check(Database &db);

// Tables and indexes in one transaction.
void create(Database &db);

// The tables, the sequence SEQ_OCID starting at 1 and the version marks, without
// the secondary indexes: a bulk load fills the tables first and then builds the
// indexes in one pass each, which is far faster than updating them row by row.
void createTables(Database &db);
void createIndexes(Database &db);

} // namespace Schema
