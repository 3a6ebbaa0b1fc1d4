#pragma once

#include <QString>

// The statements of the shift-exchange list. Dates are "yyyy-mm-dd" texts; scope is
// the host's department value list, placed after "in" as it stands. Texts the user
// typed have their quotes doubled, so they cannot end a literal.
namespace ExchangeQueries {

struct SearchFilter
{
    QString beginDate;
    QString endDate;
    QString exchangeType; // "-1" all, "0" rest day, "1" changed times
    QString employeeText; // job number or name, as typed
};

// The search of the filter bar: date range, scope, and on demand exchange type and
// a fuzzy job number or name.
QString search(const SearchFilter &filter, const QString &scope);
// The exchanges of a department and every department below it (code prefix).
QString byDepartment(const QString &deptCode, const QString &beginDate, const QString &endDate,
                     const QString &scope);
// What the list shows when no query has been chosen yet.
QString defaultList(const QString &beginDate, const QString &endDate, const QString &scope);
// The departments of the tree.
QString departments(const QString &scope);
// Employee codes and names, for the name column's value list.
QString employeeNames(const QString &scope);
// Removes one exchange: an anonymous block, the ID between quotes.
QString deleteExchange(const QString &id);

} // namespace ExchangeQueries
