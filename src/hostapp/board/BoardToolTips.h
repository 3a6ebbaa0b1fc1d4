#pragma once

#include <QDate>
#include <QString>

struct BoardData;

// The tooltips of the board, worded only when a cell is pointed at.
namespace BoardToolTips {

// An employee's day: what it is and where it comes from; for an exchange the
// planned periods, the exchange's, its reason, operator and time; every rule it
// breaks, named.
QString cell(const BoardData &board, int employee, int day);
// A day's total: employees working, and every department short of its minimum.
QString total(const BoardData &board, int day);

// "一" for Monday to "日" for Sunday.
QString weekdayName(const QDate &day);

} // namespace BoardToolTips
