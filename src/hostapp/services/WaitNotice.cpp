#include "WaitNotice.h"

#include <QApplication>
#include <QLabel>

using namespace Qt::StringLiterals;

WaitNotice::WaitNotice(QWidget *window)
    : m_window(window)
{
}

WaitNotice::~WaitNotice()
{
    delete m_label.data();
}

void WaitNotice::show(const QString &text)
{
    if (!m_label) {
        m_label = new QLabel(m_window);
        m_label->setObjectName(u"waitNotice"_s);
        m_label->setAlignment(Qt::AlignCenter);
        m_label->setStyleSheet(u"QLabel { background: #FFFBE6; color: #333333;"
                               " border: 1px solid #C9B458; border-radius: 4px;"
                               " padding: 14px 28px; }"_s);
    }
    m_label->setText(text);
    m_label->adjustSize();
    if (m_window) {
        const QRect area = m_window->rect();
        m_label->move(area.center() - m_label->rect().center());
    }
    if (!m_shown)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_shown = true;
    m_label->show();
    m_label->raise();
    m_label->repaint();
}

void WaitNotice::hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_label->hide();
    QApplication::restoreOverrideCursor();
}

bool WaitNotice::isShown() const
{
    return m_shown;
}

QString WaitNotice::text() const
{
    return m_label ? m_label->text() : QString();
}
