#pragma once

#include "schedule/EffectiveSchedule.h"

#include <QHash>
#include <QString>
#include <QStringList>

// How the board and the roster write one employee's day.
namespace CellText {

// "08:00-12:00", with a blank and the second period when it is set
// ("08:00-12:00 13:00-17:30"); "休" for a rest day.
QString periods(const Schedule::Periods &periods);

// The effective schedule of a day: empty for nothing, "休" for a rest day (rest
// periods, or an exchange that is one), otherwise its periods; "*" in front when
// an exchange gives it.
QString cell(const Schedule::Cell &cell);

// The distinct texts of many cells, each written once: a month of a whole office
// has a few dozen different days, not 600,000.
class Table
{
public:
    // Index 0 is the empty text, for a day with nothing.
    Table();

    // The index of what the day shows without its exchange mark: its periods or 休.
    int indexOf(const Schedule::Cell &cell);
    const QString &text(int index) const { return m_texts.at(index); }
    int size() const { return int(m_texts.size()); }

private:
    QHash<quint64, int> m_indexes;
    QStringList m_texts;
};

} // namespace CellText
