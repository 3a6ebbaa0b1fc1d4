#pragma once

#include "ModelGlobal.h"

#include <QString>

class QTime;

// The text forms of values inside the module's statements.
namespace SqlText {

// A text value as it may stand between single quotes: every quote doubled, so
// that no user text can end the literal or change the statement.
MODEL_EXPORT QString escaped(const QString &text);
// The text between single quotes.
MODEL_EXPORT QString quoted(const QString &text);
// "yyyy-mm-dd" of a date-time value (days since 1899-12-30).
MODEL_EXPORT QString dateText(double dateTime);
// "HH:MM", 24-hour with leading zeros; "00:00" stands for a time not set.
MODEL_EXPORT QString timeText(const QTime &time);
// The letters a to z in capitals, every other character unchanged.
MODEL_EXPORT QString upperAscii(const QString &text);

} // namespace SqlText
