#include "Periods.h"

using namespace Qt::StringLiterals;

namespace Schedule {

int Periods::begin() const
{
    const bool period1Set = period1Beg != 0 || period1End != 0;
    return period1Set || !hasPeriod2() ? period1Beg : period2Beg;
}

int Periods::end() const
{
    return hasPeriod2() ? period2End : period1End;
}

int workingMinutes(const Periods &p)
{
    return (p.period1End - p.period1Beg) + (p.period2End - p.period2Beg);
}

std::optional<int> clockMinutes(QStringView text)
{
    // Read by hand: the host converts every period of a month of plans through here.
    if (text.size() != 5 || text[2] != u':')
        return std::nullopt;
    const auto digit = [&](int i) {
        const char16_t c = text[i].unicode();
        return c >= u'0' && c <= u'9' ? int(c - u'0') : -1;
    };
    const int h1 = digit(0), h2 = digit(1), m1 = digit(3), m2 = digit(4);
    if (h1 < 0 || h2 < 0 || m1 < 0 || m2 < 0)
        return std::nullopt;
    const int hour = h1 * 10 + h2;
    const int minute = m1 * 10 + m2;
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

QString clockText(int minutes)
{
    return u"%1:%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

Periods periodsFromTexts(QStringView period1Beg, QStringView period1End, QStringView period2Beg,
                         QStringView period2End)
{
    const auto minutes = [](QStringView text) { return qint16(clockMinutes(text).value_or(0)); };
    return {minutes(period1Beg), minutes(period1End), minutes(period2Beg), minutes(period2End)};
}

bool isIrregular(int classType)
{
    return classType >= 3;
}

int cyclePosition(int position, qint64 days, int length)
{
    // The remainder is taken non-negative, so that a broken stored position still
    // lands inside the cycle.
    const qint64 k = ((qint64(position) + days) % length + length) % length;
    return k == 0 ? length : int(k);
}

int projectedPosition(int position, const QDate &plannedDay, const QDate &day, int length)
{
    return cyclePosition(position, plannedDay.daysTo(day), length);
}

} // namespace Schedule
