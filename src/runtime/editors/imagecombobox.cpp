#include "imagecombobox.h"
#include "imagecomboaccessible_p.h"

#include "runtime/controls/imagelist.h"
#include "runtime/styles.h"

#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

TcxImageComboBox::TcxImageComboBox(QWidget *parent)
    : QComboBox(parent)
{
    installImageComboAccessible();
    new TcxEditStyle(this);
}

void TcxImageComboBox::setItems(const TcxImageComboBoxItems &items)
{
    m_items = items;
    itemsChanged();
}

// Rebuilding is no choice of the user's: the combo box's signals stay quiet. The
// entries go into a new model that no view watches yet, which keeps a dictionary of
// thousands of names cheap to fill.
void TcxImageComboBox::itemsChanged()
{
    const QSignalBlocker quiet(this);
    const QString value = editValue();
    QList<QStandardItem *> entries;
    entries.reserve(m_items.count());
    for (const TcxImageComboBoxItem &item : m_items.items()) {
        // The value travels with the list entry, so editValue() stays right even
        // while items() is being edited.
        auto *entry = new QStandardItem(m_images ? m_images->icon(item.imageIndex) : QIcon(),
                                        item.description);
        entry->setData(item.value, Qt::UserRole);
        entries.append(entry);
    }
    auto *entriesModel = new QStandardItemModel(this);
    entriesModel->appendColumn(entries);
    setModel(entriesModel); // the previous model, also the combo's, goes with it
    setEditValue(value);
}

void TcxImageComboBox::setImages(TImageList *images)
{
    m_images = images;
    if (images)
        setIconSize(images->imageSize());
    itemsChanged();
}

QString TcxImageComboBox::editValue() const
{
    return currentIndex() >= 0 ? currentData().toString() : QString();
}

void TcxImageComboBox::setEditValue(const QString &value)
{
    setCurrentIndex(findData(value));
}

// The frame and button of an editable combo box, with the current item drawn in
// the field as a plain combo box draws it.
void TcxImageComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.editable = true;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.editable = false;
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
