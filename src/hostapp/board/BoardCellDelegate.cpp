#include "BoardCellDelegate.h"

#include <QBrush>
#include <QPainter>

void BoardCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QBrush background = index.data(Qt::BackgroundRole).value<QBrush>();
    if (selected)
        painter->fillRect(option.rect, option.palette.highlight());
    else if (background.style() != Qt::NoBrush)
        painter->fillRect(option.rect, background);

    const QBrush foreground = index.data(Qt::ForegroundRole).value<QBrush>();
    painter->setPen(selected                            ? option.palette.highlightedText().color()
                    : foreground.style() != Qt::NoBrush ? foreground.color()
                                                        : option.palette.text().color());
    painter->drawText(option.rect, Qt::AlignCenter, index.data().toString());

    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(option.palette.highlight().color());
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
}

QSize BoardCellDelegate::sizeHint(const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    return option.fontMetrics.size(Qt::TextSingleLine, index.data().toString()) + QSize(14, 6);
}
