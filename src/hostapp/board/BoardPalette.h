#pragma once

#include "BoardData.h"

#include <QColor>
#include <QList>
#include <QString>

// The board's colours, one set for the screen, the legend, the workbook and the
// print, so that they all mean the same.
namespace BoardPalette {

inline const QColor exchanged{0xFF, 0xD8, 0xA8};     // a day an exchange gives
inline const QColor breach{0xF6, 0xB8, 0xB8};        // a day that breaks a working-time rule
inline const QColor weekend{0xE8, 0xEC, 0xF2};       // Saturdays and Sundays
inline const QColor today{0xFF, 0xF6, 0xC8};         // today's column
inline const QColor shortDay{0xE5, 0x39, 0x35};      // a total below a department's minimum
inline const QColor breachText{0xB7, 0x1C, 0x1C};    // the text of a breaking day
inline const QColor projectedText{0x75, 0x75, 0x75}; // a day carried from the rotating shift

// The background of a day cell; invalid when it keeps the view's own.
QColor background(quint8 flags, const QDate &day, const QDate &today);
// The text colour of a day cell; invalid for the view's own.
QColor foreground(quint8 flags);

// One line of the legend: what a colour means, with the sample text the cell shows.
struct LegendEntry
{
    QColor background;
    QColor foreground; // invalid: the usual text colour
    QString sample;
    QString meaning;
};
QList<LegendEntry> legend();

} // namespace BoardPalette
