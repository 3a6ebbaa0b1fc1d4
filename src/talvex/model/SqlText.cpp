#include "SqlText.h"

#include "runtime/datetime.h"

#include <QTime>

namespace SqlText {

QString escaped(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("''"));
    return result;
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + escaped(text) + QLatin1Char('\'');
}

QString dateText(double dateTime)
{
    return Rt::DateTime::toDateText(dateTime);
}

QString timeText(const QTime &time)
{
    return time.isValid() ? time.toString(QStringLiteral("HH:mm")) : QStringLiteral("00:00");
}

QString upperAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

} // namespace SqlText
