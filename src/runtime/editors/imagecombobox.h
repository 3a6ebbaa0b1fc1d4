#pragma once

#include "runtime/rtglobal.h"
#include "runtime/valuelist.h"

#include <QComboBox>
#include <QPointer>

#include "runtime/controls/imagelist.h"

// A drop-down list of items, each a stored value shown by its description and
// optionally an image. The edit value is the stored value of the selected item.
// It looks like an edit with a drop-down button, its field in the base colour that
// the focused style changes, though no text can be typed into it.
class RT_EXPORT TcxImageComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TcxImageComboBox(QWidget *parent = nullptr);

    const TcxImageComboBoxItems &items() const { return m_items; }
    // Call itemsChanged() once done editing.
    TcxImageComboBoxItems &items() { return m_items; }
    void setItems(const TcxImageComboBoxItems &items);
    // Rebuilds the list from items(), keeping the selected value when it is still
    // there, without a signal.
    void itemsChanged();

    TImageList *images() const { return m_images; }
    void setImages(TImageList *images);

    // Empty when nothing is selected.
    QString editValue() const;
    // A value no item has clears the selection.
    void setEditValue(const QString &value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TcxImageComboBoxItems m_items;
    QPointer<TImageList> m_images;
};
