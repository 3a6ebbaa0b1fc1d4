#include "label.h"

TcxLabel::TcxLabel(QWidget *parent)
    : TcxLabel(QString(), parent)
{
}

TcxLabel::TcxLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
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
