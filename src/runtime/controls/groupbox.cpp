#include "groupbox.h"

#include <QCoreApplication>
#include <QEvent>

TcxGroupBox::TcxGroupBox(QWidget *parent)
    : QGroupBox(parent)
{
}

// The caption is kept apart from the title so that a borderless box registers no
// mnemonic and reserves no caption area.
void TcxGroupBox::setCaption(const QString &caption)
{
    m_caption = caption;
    if (!m_borderless)
        setTitle(caption);
}

void TcxGroupBox::setBorderless(bool borderless)
{
    if (m_borderless == borderless)
        return;
    m_borderless = borderless;
    setTitle(borderless ? QString() : m_caption);
    if (borderless) {
        setContentsMargins(0, 0, 0, 0);
    } else {
        // The group box computes its frame margins on a style change.
        QEvent styleChange(QEvent::StyleChange);
        QCoreApplication::sendEvent(this, &styleChange);
    }
    update();
}

void TcxGroupBox::paintEvent(QPaintEvent *event)
{
    if (!m_borderless)
        QGroupBox::paintEvent(event);
}

void TcxGroupBox::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (m_borderless
        && (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange))
        setContentsMargins(0, 0, 0, 0);
}
