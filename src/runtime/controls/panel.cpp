#include "panel.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

int ringWidth(Rt::BevelCut cut)
{
    return cut == Rt::BevelCut::None ? 0 : 1;
}

// Draws one ring on the edge of rect and returns the rect inside it.
QRect drawRing(QPainter &painter, const QRect &rect, Rt::BevelCut cut, const QPalette &palette)
{
    if (cut == Rt::BevelCut::None)
        return rect;
    qDrawShadePanel(&painter, rect, palette, cut == Rt::BevelCut::Lowered, 1);
    return rect.adjusted(1, 1, -1, -1);
}

} // namespace

TPanel::TPanel(QWidget *parent)
    : QFrame(parent)
{
    updateBevelMargins();
}

void TPanel::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TPanel::setBevelOuter(Rt::BevelCut cut)
{
    m_bevelOuter = cut;
    updateBevelMargins();
}

void TPanel::setBevelInner(Rt::BevelCut cut)
{
    m_bevelInner = cut;
    updateBevelMargins();
}

void TPanel::setColor(const QColor &color)
{
    m_color = color;
    // Roles left unset in a fresh palette are inherited from the parent.
    QPalette palette;
    if (color.isValid())
        palette.setColor(QPalette::Window, color);
    setPalette(palette);
    setAutoFillBackground(color.isValid());
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect inside = drawRing(painter, rect(), m_bevelOuter, palette());
    inside = drawRing(painter, inside, m_bevelInner, palette());
    if (!m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, m_caption);
    }
}

// Layouts placed in the panel keep clear of the bevels.
void TPanel::updateBevelMargins()
{
    const int width = ringWidth(m_bevelOuter) + ringWidth(m_bevelInner);
    setContentsMargins(width, width, width, width);
    update();
}
