#include "dropdownedit.h"
#include "dropdownpopup_p.h"
#include "editbuttons_p.h"

#include <QKeyEvent>
#include <QToolButton>

TcxCustomDropDownEdit::TcxCustomDropDownEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_popup(new DropDownPopup(this))
{
    QToolButton *button = (new EditButtons(this))->add();
    button->setArrowType(Qt::DownArrow);
    connect(button, &QToolButton::clicked, this, &TcxCustomDropDownEdit::dropDown);
    connect(m_popup, &DropDownPopup::closed, this, [this] {
        popupClosed();
        Q_EMIT closeUp();
    });
}

bool TcxCustomDropDownEdit::isDroppedDown() const
{
    return m_popup->isVisible();
}

void TcxCustomDropDownEdit::dropDown()
{
    if (isReadOnly() || isDroppedDown())
        return;
    if (QWidget *content = preparePopup())
        m_popup->open(content, this);
}

void TcxCustomDropDownEdit::closePopup()
{
    m_popup->close();
}

void TcxCustomDropDownEdit::keyPressEvent(QKeyEvent *event)
{
    const bool f4 = event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier;
    const bool altDown = event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier;
    if (f4 || altDown) {
        dropDown();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
