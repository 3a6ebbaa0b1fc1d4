#include "textedit.h"
#include "charcase_p.h"

#include "runtime/styles.h"

TcxTextEdit::TcxTextEdit(QWidget *parent)
    : QLineEdit(parent)
{
    new TcxEditStyle(this);
}

void TcxTextEdit::setCharCase(Rt::CharCase charCase)
{
    m_charCase = charCase;
    applyCharCase(this, charCase);
}
