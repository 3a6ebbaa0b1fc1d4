#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// The working periods of one day and the shift-cycle arithmetic, shared by the
// exchange editor and everything that shows or checks schedules.
namespace Schedule {

// A day's two working periods as minutes since midnight. 0 ("00:00") in both
// bounds of a period means the period is not set; all four 0 is a rest day.
struct Periods
{
    qint16 period1Beg = 0;
    qint16 period1End = 0;
    qint16 period2Beg = 0;
    qint16 period2End = 0;

    bool isRest() const { return period1Beg == 0 && period1End == 0 && !hasPeriod2(); }
    bool hasPeriod2() const { return period2Beg != 0 || period2End != 0; }
    // The clock time work begins and ends; the end of period 2 when it is set.
    int begin() const;
    int end() const;

    friend bool operator==(const Periods &, const Periods &) = default;
};

// Working minutes as the exchange editor counts them: period 1 end minus begin
// plus period 2 end minus begin, with no day wrap. Validation never lets a saved
// exchange cross midnight, so a period that does counts negative, exactly as in
// the editor's work-time box.
int workingMinutes(const Periods &periods);

// "HH:MM" as minutes since midnight; nothing for any other text.
std::optional<int> clockMinutes(QStringView text);
// Minutes since midnight as "HH:MM".
QString clockText(int minutes);
// Four "HH:MM" texts as stored in the plan, shift and exchange tables. A text that
// is not a time of day reads as "00:00", the time that is not set, as the editor
// shows it.
Periods periodsFromTexts(QStringView period1Beg, QStringView period1End, QStringView period2Beg,
                         QStringView period2End);

// A schedule of ClassType 3 or more is irregular: it says nothing about later days.
bool isIrregular(int classType);

// Position within a cycle of length days (positions counted from 1), days after a
// day at position: the day after position length is position 1 again. A broken
// stored position (0, negative) still lands inside the cycle. length must be > 0.
int cyclePosition(int position, qint64 days, int length);
// The cycle position on day of a rotating shift that was at position on
// plannedDay.
int projectedPosition(int position, const QDate &plannedDay, const QDate &day, int length);

} // namespace Schedule
