#pragma once

#include "runtime/rtglobal.h"

#include <QPushButton>

// A push button with an optional small glyph before its caption.
class RT_EXPORT TcxButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TcxButton(QWidget *parent = nullptr);
    explicit TcxButton(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

    QIcon glyph() const { return icon(); }
    void setGlyph(const QIcon &glyph) { setIcon(glyph); }
};
