#pragma once

#include <QtGlobal>

class Database;

// The layout of the host's database on either engine (tables: SchemaTables.h):
// the tables the module reads and writes (Kq_ExchangeClass, Kq_WorkPlan,
// Kq_ClassDetail, HR_Employee, Sys_Dept, HR_StationInfo), the change history of
// the shift exchanges (Kq_ExchangeClassHistory) and the host's own tables: the
// operators (Sys_Operator), their rights (Sys_OperatorRight) and the
// departments each may see (Sys_OperatorDept). The sequence SEQ_OCID numbers new
// shift exchanges.
//
// The change history is written by the database itself: triggers on
// Kq_ExchangeClass record every insert, update and delete with the session's
// operator (Database::setOperatorCode; on a server the session's login role,
// PgRights.cpp), the database's clock, the kind of change
// and the whole row before and after; other triggers refuse every update and
// delete of the history, whoever sends them.
//
// On SQLite, Sys_Operator also keeps what signing in needs (auth/): each
// operator's password hash and his failed sign-ins. A server signs in its own
// roles.
// The working-time rules keep their profiles, the departments' profiles and
// the coverage minima in Kq_RuleProfile, Kq_RuleLimit, Kq_DeptRuleProfile,
// Kq_CoverageMinimum and Kq_CoverageOverride (RuleStore.h).
//
// Layouts: 1 kept the shift exchanges in order of entry; 2 keeps them in order
// of employee and day, the order of every list, so that a month's list reads
// each employee's rows together and needs no sorting, and adds the history; 3
// adds the sign-in, 4 the working-time rules. On a server, layout 4 is also the
// one whose rights the server enforces for every role; an upgrade sets them up
// as on a new database (PgSchema::upgrade).
namespace Schema {

constexpr int version = 4;

enum class State { Empty, Older, Current };

// Empty for a new database, Older for one of an earlier layout (see upgrade),
// Current for this layout. Raises DbError NotADatabase for a database that holds
// another application's tables or a later layout.
State check(Database &db);

// Tables, indexes and the change history, in one transaction.
void create(Database &db);

// For filling a new database in bulk: the tables and the sequence first; after
// the rows the indexes, the history's triggers and the planner's statistics, so
// that the rows of a bulk load leave no history.
void createTables(Database &db);
void completeTables(Database &db);

// Brings a database of an earlier layout to this one, in one transaction; on a
// large database this takes a while.
void upgrade(Database &db);

// Creates the rule tables a database lacks and seeds the profiles when it has
// none; does nothing to a database that has them. Part of upgrade().
void addRuleTables(Database &db);

// SEQ_OCID gives nextValue next.
void restartSequence(Database &db, qint64 nextValue);

} // namespace Schema
