#include "WorkIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace WorkIcons {

namespace {

QPixmap canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A round badge with a white sign on it.
QIcon badge(const QColor &color, const std::function<void(QPainter &)> &sign)
{
    QPixmap pixmap = canvas(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(130), 1.5));
    p.setBrush(color);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    sign(p);
    return QIcon(pixmap);
}

QIcon folder(const QColor &color, bool open)
{
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color.lighter(120));
    p.drawRect(QRectF(1.5, 3.5, 6, 3));
    p.setBrush(color);
    if (open) {
        QPainterPath path;
        path.moveTo(1.5, 13.5);
        path.lineTo(4.5, 6.5);
        path.lineTo(14.5, 6.5);
        path.lineTo(11.5, 13.5);
        path.closeSubpath();
        p.drawPath(path);
    } else {
        p.drawRect(QRectF(1.5, 5.5, 13, 8));
    }
    return QIcon(pixmap);
}

QIcon card(const QColor &color)
{
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(QPointF(5, 6), QPointF(11, 6));
    p.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
    return QIcon(pixmap);
}

} // namespace

QIcon command(Command which)
{
    switch (which) {
    case Command::Add:
        return badge(QColor(0x2E, 0x9B, 0x4F), [](QPainter &p) {
            p.drawLine(QPointF(16, 9), QPointF(16, 23));
            p.drawLine(QPointF(9, 16), QPointF(23, 16));
        });
    case Command::Update:
        return badge(QColor(0x2F, 0x74, 0xC0), [](QPainter &p) {
            p.drawLine(QPointF(10, 22), QPointF(21, 11));
            p.drawLine(QPointF(10, 22), QPointF(9, 23.5));
            p.drawLine(QPointF(18.5, 8.5), QPointF(23.5, 13.5));
        });
    case Command::Delete:
        return badge(QColor(0xC9, 0x3C, 0x37), [](QPainter &p) {
            p.drawLine(QPointF(11, 11), QPointF(21, 21));
            p.drawLine(QPointF(21, 11), QPointF(11, 21));
        });
    }
    return {};
}

QIcon search()
{
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2F, 0x74, 0xC0), 2));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.setPen(QPen(QColor(0x2F, 0x74, 0xC0), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return QIcon(pixmap);
}

QList<QIcon> departmentImages()
{
    const QColor blue(0x4A, 0x86, 0xC8);
    const QColor amber(0xE0, 0xA8, 0x3A);
    return {card(blue), card(QColor(0x6F, 0x9F, 0xD8)), card(QColor(0x2E, 0x9B, 0x4F)),
            folder(amber, true), folder(amber, false)};
}

} // namespace WorkIcons
