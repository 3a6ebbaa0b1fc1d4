#include "button.h"

TcxButton::TcxButton(QWidget *parent)
    : TcxButton(QString(), parent)
{
}

TcxButton::TcxButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    // Glyphs are drawn at the classic 16 pixels whatever the style prefers.
    setIconSize(QSize(16, 16));
}
