#include "datetime.h"

#include <cmath>

namespace {

const QDate epoch(1899, 12, 30);
constexpr double msPerDay = 86400000.0;

} // namespace

namespace Rt::DateTime {

double fromDate(const QDate &date)
{
    return date.isValid() ? double(epoch.daysTo(date)) : 0.0;
}

double fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    return fromDate(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / msPerDay;
}

QDate toDate(double value)
{
    return epoch.addDays(qint64(std::floor(value)));
}

QDateTime toDateTime(double value)
{
    const double day = std::floor(value);
    const qint64 ms = std::llround((value - day) * msPerDay);
    return QDateTime(epoch.addDays(qint64(day)), QTime::fromMSecsSinceStartOfDay(0))
        .addMSecs(ms);
}

bool isDateOnly(double value)
{
    return std::llround((value - std::floor(value)) * msPerDay / 1000.0) == 0;
}

QString toText(double value)
{
    if (value == 0.0)
        return QString();
    if (isDateOnly(value))
        return toDateText(value);
    return toDateTime(value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString toDateText(double value)
{
    return toDate(value).toString(QStringLiteral("yyyy-MM-dd"));
}

bool parse(const QString &text, double *value)
{
    const QString t = text.trimmed();
    if (t.size() == 10) {
        const QDate date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            return false;
        *value = fromDate(date);
        return true;
    }
    for (const QString &format : {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm"),
                              QStringLiteral("yyyy-MM-ddTHH:mm:ss"),
                              QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")}) {
        const QDateTime dt = QDateTime::fromString(t, format);
        if (dt.isValid()) {
            *value = fromDateTime(dt);
            return true;
        }
    }
    return false;
}

} // namespace Rt::DateTime
