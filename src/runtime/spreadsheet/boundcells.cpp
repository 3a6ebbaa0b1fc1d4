#include "boundcells_p.h"

#include "runtime/datetime.h"
#include "runtime/valuelist.h"

#include <bit>
#include <cmath>

using namespace Rt::Xls;

namespace Rt::Internal {

BoundCells::BoundCells(const TDataSet &dataSet, int field, const TcxImageComboBoxItems &valueList,
                       ColumnStyles styles)
    : m_dataSet(dataSet)
    , m_field(field)
    , m_type(dataSet.fieldType(field))
    , m_valueList(valueList.count() > 0 ? &valueList : nullptr)
    , m_styles(styles)
{
    // An integer shows as its decimal text, so only items whose value is such a
    // text can describe one; the first item of a value wins, as in the list.
    if (m_valueList && m_type == TFieldType::Integer) {
        for (const TcxImageComboBoxItem &item : valueList.items()) {
            bool ok = false;
            const qint64 number = item.value.toLongLong(&ok);
            if (ok && QString::number(number) == item.value && !m_descriptions.contains(number))
                m_descriptions.insert(number, item.description);
        }
    }
}

bool BoundCells::read(int record, Cell &cell)
{
    cell.style = m_styles.plain;
    if (m_valueList)
        return readDescribed(record, cell);
    if (m_dataSet.isNull(record, m_field))
        return false;
    switch (m_type) {
    case TFieldType::String:
        return setText(shownText(m_dataSet.stringView(record, m_field)), cell);
    case TFieldType::Integer:
        cell.value = Value::number(double(m_dataSet.asInteger(record, m_field)));
        return true;
    case TFieldType::Float: {
        const double number = m_dataSet.asFloat(record, m_field);
        if (!std::isfinite(number))
            return setText(truncatedText(m_dataSet.asString(record, m_field)), cell);
        cell.value = Value::number(number);
        return true;
    }
    case TFieldType::DateTime:
        return readDateTime(m_dataSet.asDateTime(record, m_field), cell);
    }
    return false;
}

bool BoundCells::readDescribed(int record, Cell &cell)
{
    if (m_type == TFieldType::String)
        return setText(shownText(m_dataSet.stringView(record, m_field)), cell);
    if (m_type == TFieldType::Integer && !m_dataSet.isNull(record, m_field)) {
        const qint64 number = m_dataSet.asInteger(record, m_field);
        const auto description = m_descriptions.constFind(number);
        return setText(truncatedText(description != m_descriptions.cend()
                                         ? *description
                                         : QString::number(number)),
                       cell);
    }
    return setText(truncatedText(m_valueList->displayText(m_dataSet.asString(record, m_field))),
                   cell);
}

// Null and empty texts both show as nothing, or as the value list's description
// of an empty value; records that share their characters show the same.
const QString &BoundCells::shownText(QStringView characters)
{
    TextSlot &slot = m_texts[slotOf(quintptr(characters.data()) >> 1)];
    if (slot.characters != characters.data() || slot.length != characters.size()) {
        const QString text = characters.toString();
        slot = {characters.data(), characters.size(),
                truncatedText(m_valueList ? m_valueList->displayText(text) : text)};
    }
    return slot.shown;
}

bool BoundCells::setText(const QString &shown, Cell &cell)
{
    if (shown.isEmpty())
        return false;
    cell.value = Value::text(shown);
    return true;
}

bool BoundCells::readDateTime(double value, Cell &cell)
{
    const auto bits = std::bit_cast<quint64>(value);
    DateSlot &slot = m_dates[slotOf(bits ^ (bits >> 32))];
    if (!slot.used || slot.bits != bits) {
        slot = {bits, Rt::DateTime::parse(Rt::DateTime::toText(value)), true};
        if (slot.serial && *slot.serial <= 0)
            slot.serial.reset();
    }
    if (slot.serial) {
        cell.value = Value::number(*slot.serial);
        cell.style = Rt::DateTime::isDateOnly(*slot.serial) ? m_styles.date : m_styles.dateTime;
        return true;
    }
    return setText(truncatedText(Rt::DateTime::toText(value)), cell);
}

} // namespace Rt::Internal
