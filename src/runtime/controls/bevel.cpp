#include "bevel.h"

#include <QPainter>

TBevel::TBevel(QWidget *parent)
    : QFrame(parent)
{
    // A bevel is decoration: clicks go to whatever lies beneath it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevel::setShape(Shape shape)
{
    m_shape = shape;
    update();
}

// Etched inwards: a shadow line with a highlight line just below or inside it.
void TBevel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int w = width();
    const int h = height();
    switch (m_shape) {
    case Shape::TopLine:
        painter.fillRect(0, 0, w, 1, shadow);
        painter.fillRect(0, 1, w, 1, light);
        break;
    case Shape::BottomLine:
        painter.fillRect(0, h - 2, w, 1, shadow);
        painter.fillRect(0, h - 1, w, 1, light);
        break;
    case Shape::Box:
        painter.setPen(light);
        painter.drawRect(1, 1, w - 2, h - 2);
        painter.setPen(shadow);
        painter.drawRect(0, 0, w - 2, h - 2);
        break;
    }
}
