#include "groupbox.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace {
// Where the caption starts on the top line, and the room left around its text.
constexpr int captionIndent = 8;
constexpr int captionPadding = 2;
} // namespace

TcxGroupBox::TcxGroupBox(QWidget *parent)
    : QGroupBox(parent)
{
    applyMargins();
}

// The caption is kept apart from the title so that a borderless box registers no
// mnemonic. The title, kept for a framed box, carries its mnemonic and its
// accessible name.
void TcxGroupBox::setCaption(const QString &caption)
{
    m_caption = caption;
    if (!m_borderless)
        setTitle(caption);
    applyMargins();
    update();
}

void TcxGroupBox::setBorderless(bool borderless)
{
    if (m_borderless == borderless)
        return;
    m_borderless = borderless;
    setTitle(borderless ? QString() : m_caption);
    applyMargins();
    update();
}

// The group box computes margins of its own style whenever the title, style or
// font change; these replace them.
void TcxGroupBox::applyMargins()
{
    if (m_borderless) {
        setContentsMargins(0, 0, 0, 0);
        return;
    }
    const int top = m_caption.isEmpty() ? 2 : fontMetrics().height();
    setContentsMargins(2, top, 2, 2);
}

void TcxGroupBox::paintEvent(QPaintEvent *)
{
    if (m_borderless)
        return;
    QPainter painter(this);
    const int lineTop = m_caption.isEmpty() ? 0 : fontMetrics().height() / 2;
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const int w = width();
    const int h = height() - lineTop;
    painter.translate(0, lineTop);
    painter.setPen(light);
    painter.drawRect(1, 1, w - 2, h - 2);
    painter.setPen(shadow);
    painter.drawRect(0, 0, w - 2, h - 2);
    painter.resetTransform();
    if (m_caption.isEmpty())
        return;

    QString shown = m_caption;
    shown.remove(u'&');
    const QRect label(captionIndent, 0, fontMetrics().horizontalAdvance(shown) + 2 * captionPadding,
                      fontMetrics().height());
    painter.fillRect(label, palette().window());
    style()->drawItemText(&painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), m_caption, QPalette::WindowText);
}

void TcxGroupBox::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        applyMargins();
}
