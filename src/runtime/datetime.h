#pragma once

#include "rtglobal.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>
#include <string_view>

// Date-time values cross every boundary as days since 1899-12-30, the time of day
// as the fraction; 0 is the empty value. A value is a wall-clock reading with no
// zone: converting it never goes through local time, so a time of day stays the
// same on the days daylight saving starts or ends.
namespace Rt::DateTime {

RT_EXPORT double fromDate(const QDate &date);
// The date and time of day as dateTime shows them, in whatever zone it is in.
RT_EXPORT double fromDateTime(const QDateTime &dateTime);
RT_EXPORT QDate toDate(double value);
// The reading as a QDateTime in UTC, which has no gaps or repeated hours.
RT_EXPORT QDateTime toDateTime(double value);

// True when value has no time of day.
RT_EXPORT bool isDateOnly(double value);

// "yyyy-mm-dd", or "yyyy-mm-dd hh:mm:ss" when there is a time of day; "" for 0.
RT_EXPORT QString toText(double value);
// "yyyy-mm-dd" of the date part.
RT_EXPORT QString toDateText(double value);

// The one reader of date and date-time texts in the code base, for texts from
// users, from the database and from statements alike. It takes
//   yyyy-m-d  [ (blank or T) h:mm [ :ss [ .fraction ] ] ]
// where month, day and hour may have one or two digits, with blanks around the
// whole; anything else, or a day or time that does not exist, gives nothing.
RT_EXPORT std::optional<double> parse(QStringView text);
// The same for UTF-8 bytes, as a database hands them over, without making a
// QString first.
RT_EXPORT std::optional<double> parse(std::string_view text);
// A text of the date form alone (no time of day) as its date.
RT_EXPORT std::optional<QDate> parseDate(QStringView text);

// What people type into a date box: the form above or with slashes ("2026/12/6"),
// eight digits ("20261206"), or only month and day ("12-06", "12/6", "1206"), which
// mean that day of thisYear.
RT_EXPORT std::optional<QDate> parseTypedDate(QStringView text, int thisYear);
// What people type into a time box: hours alone ("8", "17"), hours and minutes
// with a colon ("8:00", "17:30") or without one ("800", "1730").
RT_EXPORT std::optional<QTime> parseTypedTime(QStringView text);

} // namespace Rt::DateTime
