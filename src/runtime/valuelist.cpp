#include "valuelist.h"

TcxImageComboBoxItems::TcxImageComboBoxItems(
    std::initializer_list<std::pair<QString, QString>> items)
{
    for (const auto &[value, description] : items)
        add(value, description);
}

void TcxImageComboBoxItems::add(const QString &value, const QString &description, int imageIndex)
{
    // The first item with a value wins, as a linear search would find it.
    if (!m_lookup.contains(value))
        m_lookup.insert(value, int(m_items.size()));
    m_items.append({value, description, imageIndex});
}

void TcxImageComboBoxItems::assign(const TcxImageComboBoxItems &other)
{
    for (const TcxImageComboBoxItem &item : other.m_items)
        add(item.value, item.description, item.imageIndex);
}

int TcxImageComboBoxItems::indexOfValue(const QString &value) const
{
    return m_lookup.value(value, -1);
}

QString TcxImageComboBoxItems::displayText(const QString &value) const
{
    const int index = indexOfValue(value);
    return index >= 0 ? m_items.at(index).description : value;
}
