#pragma once

#include "workbook.h"

// Shows values the way a number format asks for: the subset of the format's
// language that workbooks of this system use (General, fixed decimals, grouping,
// percent, scientific, literal text, dates and times).
namespace Rt::Xls {

// True when format shows a number as a date or a time of day.
RT_EXPORT bool isDateFormat(const QString &format);

// The text of value under format ("" is General).
RT_EXPORT QString formatValue(const Value &value, const QString &format);

} // namespace Rt::Xls
