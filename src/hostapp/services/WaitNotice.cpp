#include "WaitNotice.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

WaitNotice::WaitNotice(QWidget *window)
    : m_window(window)
{}

WaitNotice::~WaitNotice()
{
    delete m_label.data();
    delete m_cancel.data();
}

WaitNotice::Scope::Scope(WaitNotice &notice, const QString &text, std::function<void()> cancel)
    : m_notice(notice)
    , m_wasShown(notice.isShown())
    , m_previousText(notice.text())
{
    m_notice.show(text);
    m_notice.offerCancel(std::move(cancel));
}

WaitNotice::Scope::~Scope()
{
    m_notice.offerCancel({});
    if (m_wasShown)
        m_notice.show(m_previousText);
    else
        m_notice.hide();
}

QPushButton *WaitNotice::cancelButton() const
{
    return m_cancel && m_cancel->isVisible() ? m_cancel.data() : nullptr;
}

void WaitNotice::offerCancel(std::function<void()> cancel)
{
    m_cancelWork = std::move(cancel);
    if (!m_cancelWork) {
        if (m_cancel)
            m_cancel->hide();
        return;
    }
    if (!m_cancel) {
        m_cancel = new QPushButton(u"取消"_s, m_window);
        m_cancel->setObjectName(u"waitNoticeCancel"_s);
        // The button stays for the next notice; the work it stops changes.
        QObject::connect(m_cancel, &QPushButton::clicked, m_cancel, [this] {
            if (m_cancelWork)
                m_cancelWork();
        });
    }
    m_cancel->adjustSize();
    const QRect notice = m_label->geometry();
    m_cancel->move(notice.center().x() - m_cancel->width() / 2, notice.bottom() + 6);
    m_cancel->show();
    m_cancel->raise();
    m_cancel->repaint();
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
