#include "checkbox.h"

TcxCheckBox::TcxCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
}

TcxCheckBox::TcxCheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
{
}
