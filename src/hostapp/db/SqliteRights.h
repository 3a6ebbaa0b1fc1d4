#pragma once

#include <QString>
#include <QStringView>

// On SQLite the database file itself refuses what the session's operator
// (host_operator(), SqliteDatabase.h) may not change, whatever statement asks:
// - a shift exchange, unless he has the change level on the register's right
//   and the employee, before and after the change, belongs to one of his
//   departments (Sys_OperatorDept, as the list window's scope reads it);
// - the operators, their rights and departments, the employees and the
//   departments, unless he has the change level on operator administration;
// - the change history, which only its triggers write (SqliteDatabase refuses
//   statements that insert into it, the history's own triggers the rest).
// A connection without an operator is the host's own, before anyone signed in:
// creating, filling and upgrading the database, and signing in.
namespace SqliteRights {

// The messages of the refusals; SqliteDatabase sorts them into their DbFailure.
constexpr QStringView noRight = u"The right level of the operator does not permit this change";
constexpr QStringView outsideScope = u"The employee is outside the departments of the operator";

// The triggers that refuse, as one script.
QString triggers();

} // namespace SqliteRights
