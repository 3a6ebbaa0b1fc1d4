#pragma once

#include <QAbstractItemDelegate>

// Paints a day of the board: its background, its text centred in its colour, the
// selection and the current cell. A board shows a few hundred cells a frame, and
// this draws each with one fill and one line of text, where the general delegate
// lays the text out for wrapping and eliding first.
class BoardCellDelegate : public QAbstractItemDelegate
{
    Q_OBJECT
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
