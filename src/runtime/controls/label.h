#pragma once

#include "runtime/rtglobal.h"

#include <QLabel>

// A caption on a form. It paints no background of its own, so it sits on panels and
// coloured areas alike; its text colour can be set without touching the palette.
class RT_EXPORT TcxLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TcxLabel(QWidget *parent = nullptr);
    explicit TcxLabel(const QString &caption, QWidget *parent = nullptr);
    // A label named name, sized to its caption, placed at a designed position.
    static TcxLabel *place(QWidget *parent, const QString &name, const QString &caption,
                           QPoint at);

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }

    // An invalid colour returns to the palette's text colour.
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);

private:
    QColor m_textColor;
};
