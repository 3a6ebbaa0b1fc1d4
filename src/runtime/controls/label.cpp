#include "label.h"

#include "runtime/accessibility.h"

TcxLabel::TcxLabel(QWidget *parent)
    : TcxLabel(QString(), parent)
{
}

TcxLabel::TcxLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
}

void TcxLabel::setCaption(const QString &caption)
{
    setText(caption);
    nameFocusControl();
}

void TcxLabel::setFocusControl(QWidget *control)
{
    m_findsFocusControl = false;
    m_focusControl = control;
    setBuddy(control);
    nameFocusControl();
}

void TcxLabel::setTextColor(const QColor &color)
{
    m_textColor = color;
    // Roles left unset in a fresh palette are inherited from the parent.
    QPalette palette;
    if (color.isValid())
        palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
}

TcxLabel *TcxLabel::place(QWidget *parent, const QString &name, const QString &caption, QPoint at)
{
    auto *label = new TcxLabel(caption, parent);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

void TcxLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (m_findsFocusControl)
        setFocusControl(controlAfter());
}

// The first sibling made after this label that takes the focus by Tab, itself
// or through the part it passes the focus to; none when another label that names
// a control comes first (this one is a heading).
QWidget *TcxLabel::controlAfter() const
{
    if (!parentWidget())
        return nullptr;
    const QObjectList &siblings = parentWidget()->children();
    for (qsizetype i = siblings.indexOf(this) + 1; i < siblings.size(); ++i) {
        auto *widget = qobject_cast<QWidget *>(siblings.at(i));
        if (!widget || widget->isWindow())
            continue;
        if (auto *label = qobject_cast<TcxLabel *>(widget)) {
            if (label->m_findsFocusControl || label->m_focusControl)
                return nullptr;
            continue;
        }
        QWidget *focusTaker = widget;
        while (focusTaker->focusProxy())
            focusTaker = focusTaker->focusProxy();
        if (focusTaker->focusPolicy() & Qt::TabFocus)
            return widget;
    }
    return nullptr;
}

// A name the control was given otherwise stays.
void TcxLabel::nameFocusControl()
{
    if (!m_focusControl)
        return;
    const QString current = m_focusControl->accessibleName();
    if (!current.isEmpty() && current != m_givenName)
        return;
    m_givenName = Rt::spokenText(text());
    Rt::setAccessibleName(m_focusControl, m_givenName);
}
