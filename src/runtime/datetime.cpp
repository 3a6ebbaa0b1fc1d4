#include "datetime.h"

#include <algorithm>
#include <cmath>

namespace {

const QDate epoch(1899, 12, 30);
constexpr qint64 msPerDay = 86400000;

// Reads a date or date-time text of either character type. Digits are counted so
// that "2024-1-5" and "2024-01-05" both read, and nothing is allocated: the data
// set loader runs it over every date of a large result.
template <typename Char> class Reader
{
public:
    Reader(const Char *begin, const Char *end)
        : m_pos(begin)
        , m_end(end)
    {
        while (m_pos < m_end && *m_pos == Char(' '))
            ++m_pos;
        while (m_end > m_pos && m_end[-1] == Char(' '))
            --m_end;
    }

    std::optional<QDate> date()
    {
        const int year = number(4, 4);
        const int month = separated(Char('-'), 1, 2);
        const int day = separated(Char('-'), 1, 2);
        if (year < 0 || month < 0 || day < 0)
            return std::nullopt;
        const QDate date(year, month, day);
        return date.isValid() ? std::optional(date) : std::nullopt;
    }

    // Milliseconds since midnight of an optional time of day; nothing when what
    // follows the date is not one.
    std::optional<qint64> timeOfDay()
    {
        if (atEnd())
            return 0;
        if (*m_pos != Char(' ') && *m_pos != Char('T'))
            return std::nullopt;
        ++m_pos;
        const int hour = number(1, 2);
        const int minute = separated(Char(':'), 2, 2);
        int second = 0;
        int ms = 0;
        if (!atEnd()) {
            second = separated(Char(':'), 2, 2);
            if (!atEnd())
                ms = fraction();
        }
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59
            || ms < 0 || !atEnd()) {
            return std::nullopt;
        }
        return ((hour * 60 + minute) * 60 + second) * qint64(1000) + ms;
    }

    std::optional<QDate> typedDate(int thisYear)
    {
        const Char *start = m_pos;
        const int lead = number(1, 8);
        const qsizetype leadDigits = m_pos - start;
        int year = thisYear;
        int month = -1;
        int day = -1;
        if (atEnd()) {
            if (leadDigits == 8) {
                year = lead / 10000;
                month = lead / 100 % 100;
                day = lead % 100;
            } else if (leadDigits == 4) {
                month = lead / 100;
                day = lead % 100;
            }
        } else if (*m_pos == Char('-') || *m_pos == Char('/')) {
            const Char separator = *m_pos;
            if (leadDigits == 4) {
                year = lead;
                month = separated(separator, 1, 2);
                day = separated(separator, 1, 2);
            } else if (leadDigits <= 2) {
                month = lead;
                day = separated(separator, 1, 2);
            }
        }
        if (month < 0 || day < 0 || !atEnd())
            return std::nullopt;
        const QDate date(year, month, day);
        return date.isValid() ? std::optional(date) : std::nullopt;
    }

    std::optional<QTime> typedTime()
    {
        const Char *start = m_pos;
        const int lead = number(1, 4);
        const qsizetype leadDigits = m_pos - start;
        int hour = lead;
        int minute = 0;
        if (!atEnd()) {
            minute = leadDigits <= 2 ? separated(Char(':'), 2, 2) : -1;
        } else if (leadDigits > 2) {
            hour = lead / 100;
            minute = lead % 100;
        }
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || !atEnd())
            return std::nullopt;
        return QTime(hour, minute);
    }

    bool atEnd() const { return m_pos == m_end; }

private:
    int number(int minDigits, int maxDigits)
    {
        int value = 0;
        int digits = 0;
        while (m_pos < m_end && digits < maxDigits && *m_pos >= Char('0') && *m_pos <= Char('9')) {
            value = value * 10 + int(*m_pos - Char('0'));
            ++m_pos;
            ++digits;
        }
        return digits >= minDigits ? value : -1;
    }

    int separated(Char separator, int minDigits, int maxDigits)
    {
        if (m_pos == m_end || *m_pos != separator)
            return -1;
        ++m_pos;
        return number(minDigits, maxDigits);
    }

    // ".f", ".ff", ".fff" or longer, rounded to milliseconds.
    int fraction()
    {
        if (*m_pos != Char('.'))
            return -1;
        ++m_pos;
        const Char *start = m_pos;
        double value = 0;
        double scale = 1;
        while (m_pos < m_end && *m_pos >= Char('0') && *m_pos <= Char('9')) {
            scale /= 10;
            value += int(*m_pos - Char('0')) * scale;
            ++m_pos;
        }
        if (m_pos == start)
            return -1;
        return std::min(999, int(std::lround(value * 1000)));
    }

    const Char *m_pos;
    const Char *m_end;
};

template <typename Char> std::optional<double> read(const Char *begin, const Char *end)
{
    Reader<Char> reader(begin, end);
    const std::optional<QDate> date = reader.date();
    if (!date)
        return std::nullopt;
    const std::optional<qint64> ms = reader.timeOfDay();
    if (!ms)
        return std::nullopt;
    return Rt::DateTime::fromDate(*date) + double(*ms) / double(msPerDay);
}

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
    return fromDate(dateTime.date())
           + double(dateTime.time().msecsSinceStartOfDay()) / double(msPerDay);
}

QDate toDate(double value)
{
    return toDateTime(value).date();
}

QDateTime toDateTime(double value)
{
    // Rounded to the millisecond as a whole, so that 23:59:59.9996 becomes the
    // next midnight instead of a time of day that does not exist.
    const qint64 total = std::llround(value * double(msPerDay));
    const qint64 day = total >= 0 ? total / msPerDay : -((-total + msPerDay - 1) / msPerDay);
    const int ms = int(total - day * msPerDay);
    return QDateTime(epoch.addDays(day), QTime::fromMSecsSinceStartOfDay(ms), Qt::UTC);
}

bool isDateOnly(double value)
{
    return toDateTime(value).time() == QTime(0, 0);
}

QString toText(double value)
{
    if (value == 0.0)
        return QString();
    const QDateTime dateTime = toDateTime(value);
    if (dateTime.time() == QTime(0, 0))
        return dateTime.date().toString(u"yyyy-MM-dd");
    return dateTime.toString(u"yyyy-MM-dd HH:mm:ss");
}

QString toDateText(double value)
{
    return toDate(value).toString(u"yyyy-MM-dd");
}

std::optional<double> parse(QStringView text)
{
    const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
    return read(begin, begin + text.size());
}

std::optional<double> parse(std::string_view text)
{
    return read(text.data(), text.data() + text.size());
}

std::optional<QDate> parseDate(QStringView text)
{
    const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
    Reader<char16_t> reader(begin, begin + text.size());
    const std::optional<QDate> date = reader.date();
    return date && reader.atEnd() ? date : std::nullopt;
}

std::optional<QDate> parseTypedDate(QStringView text, int thisYear)
{
    const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
    return Reader<char16_t>(begin, begin + text.size()).typedDate(thisYear);
}

std::optional<QTime> parseTypedTime(QStringView text)
{
    const auto *begin = reinterpret_cast<const char16_t *>(text.utf16());
    return Reader<char16_t>(begin, begin + text.size()).typedTime();
}

} // namespace Rt::DateTime
