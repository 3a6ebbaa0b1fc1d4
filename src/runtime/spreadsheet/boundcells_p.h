#pragma once

#include "runtime/dataset.h"
#include "runtime/xls/workbook.h"

#include <QHash>

#include <array>
#include <optional>

class TcxImageComboBoxItems;

namespace Rt::Internal {

// Styles of one exported column's data cells: plain, date, date and time.
struct ColumnStyles
{
    quint16 plain, date, dateTime;
};

// The cells of a grid column bound to a data-set field, read straight from the
// data set: the same cells the view's texts and values give, without a QVariant
// or a text made per cell. A number's description in the value list is looked up
// once per column; a text, or its description, is made once for the records that
// share its characters, and a date-time is turned into its serial once, while
// they stay in small caches: a register repeats its names, codes and days.
class BoundCells
{
public:
    BoundCells(const TDataSet &dataSet, int field, const TcxImageComboBoxItems &valueList,
               ColumnStyles styles);

    // The value and style of record's cell; false when the grid shows nothing there.
    bool read(int record, Xls::Cell &cell);

private:
    bool readDescribed(int record, Xls::Cell &cell);
    bool readDateTime(double value, Xls::Cell &cell);
    // What a String cell of these characters shows, as a cell holds it.
    const QString &shownText(QStringView characters);
    static bool setText(const QString &shown, Xls::Cell &cell);

    // Both caches have 2^SlotBits slots, found by a multiplicative hash of a key.
    static constexpr int SlotBits = 10;
    static size_t slotOf(quint64 key)
    {
        return size_t(key * 0x9E3779B97F4A7C15ull >> (64 - SlotBits));
    }
    // A date-time's serial as its shown text reads back; nothing when the text is
    // not a date.
    struct DateSlot
    {
        quint64 bits = 0;
        std::optional<double> serial;
        bool used = false;
    };
    struct TextSlot
    {
        const QChar *characters = nullptr;
        qsizetype length = -1;
        QString shown;
    };

    const TDataSet &m_dataSet;
    int m_field;
    TFieldType m_type;
    const TcxImageComboBoxItems *m_valueList; // none when the column has no items
    // The descriptions of integer values, for an Integer field with a value list.
    QHash<qint64, QString> m_descriptions;
    ColumnStyles m_styles;
    std::array<DateSlot, size_t(1) << SlotBits> m_dates;
    std::array<TextSlot, size_t(1) << SlotBits> m_texts;
};

} // namespace Rt::Internal
