#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"

#include <QPainter>
#include <QPolygonF>

#include <functional>

namespace FrameButtons {

namespace {

// A 16 x 16 glyph with one stroked sign.
QIcon glyph(const QColor &color, const std::function<void(QPainter &)> &sign)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    sign(p);
    return QIcon(pixmap);
}

} // namespace

QIcon tick()
{
    return glyph(QColor(0x2E, 0x9B, 0x4F), [](QPainter &p) {
        p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    });
}

QIcon cross()
{
    return glyph(QColor(0xC9, 0x3C, 0x37), [](QPainter &p) {
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
}

TcxButton *button(QWidget *parent, const QString &name, const QString &caption, const QIcon &glyph,
                  QPoint at)
{
    auto *b = new TcxButton(caption, parent);
    b->setObjectName(name);
    b->setGlyph(glyph);
    b->setGeometry(QRect(at, QSize(75, 25)));
    return b;
}

} // namespace FrameButtons
