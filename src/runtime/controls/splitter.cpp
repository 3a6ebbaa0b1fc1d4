#include "splitter.h"

#include <QChildEvent>

TcxSplitter::TcxSplitter(QWidget *parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(8);
}

void TcxSplitter::setResizedSide(Side side)
{
    m_resizedSide = side;
    setOrientation(side == Side::Left || side == Side::Right ? Qt::Horizontal : Qt::Vertical);
    applyStretch();
}

// A panel is polished once it is in the splitter's list, however it got there.
void TcxSplitter::childEvent(QChildEvent *event)
{
    QSplitter::childEvent(event);
    if (event->polished())
        applyStretch();
}

void TcxSplitter::applyStretch()
{
    if (count() < 2)
        return;
    const bool firstIsResized = m_resizedSide == Side::Left || m_resizedSide == Side::Top;
    const int last = count() - 1;
    setStretchFactor(0, firstIsResized ? 0 : 1);
    setStretchFactor(last, firstIsResized ? 1 : 0);
}
