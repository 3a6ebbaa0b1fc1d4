#include "popupedit.h"

#include "runtime/styles.h"

TcxPopupEdit::TcxPopupEdit(QWidget *parent)
    : TcxCustomDropDownEdit(parent)
{
    new TcxEditStyle(this);
}

TcxPopupEdit::~TcxPopupEdit()
{
    returnControl();
}

void TcxPopupEdit::setPopupControl(QWidget *control)
{
    closePopup();
    m_control = control;
    if (control)
        control->hide();
}

QWidget *TcxPopupEdit::preparePopup()
{
    if (m_control) {
        m_home = m_control->parentWidget();
        m_homeGeometry = m_control->geometry();
        m_lent = true;
    }
    return m_control;
}

void TcxPopupEdit::popupClosed()
{
    returnControl();
}

void TcxPopupEdit::returnControl()
{
    if (!m_lent || !m_control)
        return;
    m_lent = false;
    m_control->hide();
    m_control->setParent(m_home);
    m_control->setGeometry(m_homeGeometry);
}
