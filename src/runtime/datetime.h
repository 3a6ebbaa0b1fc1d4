#pragma once

#include "rtglobal.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Date-time values cross every boundary as days since 1899-12-30, the time of day
// as the fraction; 0 is the empty value.
namespace Rt::DateTime {

RT_EXPORT double fromDate(const QDate &date);
RT_EXPORT double fromDateTime(const QDateTime &dateTime);
RT_EXPORT QDate toDate(double value);
RT_EXPORT QDateTime toDateTime(double value);

// True when value has no time of day.
RT_EXPORT bool isDateOnly(double value);

// "yyyy-mm-dd", or "yyyy-mm-dd hh:mm:ss" when there is a time of day; "" for 0.
RT_EXPORT QString toText(double value);
// "yyyy-mm-dd" of the date part.
RT_EXPORT QString toDateText(double value);

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:mm", "yyyy-mm-dd hh:mm:ss" (also with a T);
// false when the text is none of these.
RT_EXPORT bool parse(const QString &text, double *value);

} // namespace Rt::DateTime
