#pragma once

#include "rtglobal.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

// One entry of a value list: the stored value, the text shown for it, an image.
struct TcxImageComboBoxItem
{
    QString value;
    QString description;
    int imageIndex = -1;
};

// The items of an image combo box or of a grid column that shows descriptions in
// place of stored values. Values compare as text, so 0 stored as a number finds
// the item whose value is "0".
class RT_EXPORT TcxImageComboBoxItems
{
public:
    TcxImageComboBoxItems() = default;
    // Items of (value, description) pairs, as designed lists give them.
    TcxImageComboBoxItems(std::initializer_list<std::pair<QString, QString>> items);

    void add(const QString &value, const QString &description, int imageIndex = -1);
    void clear() { m_items.clear(); m_lookup.clear(); }
    int count() const { return int(m_items.size()); }
    const TcxImageComboBoxItem &at(int index) const { return m_items.at(index); }
    const QList<TcxImageComboBoxItem> &items() const { return m_items; }
    // Copies every item of other after the existing ones.
    void assign(const TcxImageComboBoxItems &other);

    // Index of the first item with that value; -1 when none.
    int indexOfValue(const QString &value) const;
    // The description for a stored value; the value's own text when no item has it.
    QString displayText(const QString &value) const;

private:
    QList<TcxImageComboBoxItem> m_items;
    QHash<QString, int> m_lookup;
};
