#pragma once

#include <QString>

class TDataSet;
class THR_Employee;

// The employee picker's statements and how it reads a chosen row.
namespace EmployeeSearch {

// Every live employee, whatever the work status; any other mode lists only the
// active ones (在职 and 试用).
constexpr int allStatuses = -1;

// The condition without leading and trailing blanks and control characters.
QString trimmed(const QString &condition);
// Live employees whose job number, name without spaces or pinyin initials contain
// the condition, compared without regard to letter case. The condition is trimmed,
// its letters a to z upper-cased and its quotes doubled.
QString statement(const QString &condition, int mode);
// Department codes and names, for the department column.
QString departments();
// Station codes and names, for the station column.
QString stations();

// Writes the current record of result into employee, property by property in the
// class's order, each from the column of its name; PyCode is left as it is. NULL
// reads as empty text, 0 or the zero date-time. A missing column raises the data
// set's error there, leaving the properties before it written and the rest as
// they were.
void fill(THR_Employee &employee, const TDataSet &result);

} // namespace EmployeeSearch
