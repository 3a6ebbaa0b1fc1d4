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
// once per column, and a date-time is turned into its serial once while it stays
// in a small cache, since a register repeats its days.
class BoundCells
{
public:
    BoundCells(const TDataSet &dataSet, int field, const TcxImageComboBoxItems &valueList,
               ColumnStyles styles);

    // The value and style of record's cell; false when the grid shows nothing there.
    bool read(int record, Xls::Cell &cell);

private:
    bool readDescribed(int record, Xls::Cell &cell) const;
    bool readDateTime(double value, Xls::Cell &cell);

    // A date-time's serial as its shown text reads back; nothing when the text is
    // not a date.
    struct DateSlot
    {
        quint64 bits = 0;
        std::optional<double> serial;
        bool used = false;
    };
    static constexpr size_t DateSlots = 1024;

    const TDataSet &m_dataSet;
    int m_field;
    TFieldType m_type;
    const TcxImageComboBoxItems *m_valueList; // none when the column has no items
    // The descriptions of integer values, for an Integer field with a value list.
    QHash<qint64, QString> m_descriptions;
    ColumnStyles m_styles;
    std::array<DateSlot, DateSlots> m_dates;
};

} // namespace Rt::Internal
