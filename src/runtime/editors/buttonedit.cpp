#include "buttonedit.h"
#include "charcase_p.h"
#include "editbuttons_p.h"

#include "runtime/styles.h"

#include <QToolButton>

TcxButtonEdit::TcxButtonEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_buttons(new EditButtons(this))
{
    new TcxEditStyle(this);
    addButton(QStringLiteral("…"));
}

int TcxButtonEdit::addButton(const QString &caption)
{
    const int index = m_buttons->count();
    QToolButton *button = m_buttons->add();
    button->setText(caption);
    connect(button, &QToolButton::clicked, this, [this, index] { Q_EMIT buttonClick(index); });
    return index;
}

int TcxButtonEdit::buttonCount() const
{
    return m_buttons->count();
}

void TcxButtonEdit::setCharCase(Rt::CharCase charCase)
{
    m_charCase = charCase;
    applyCharCase(this, charCase);
}
