#pragma once

#include "runtime/rtglobal.h"

#include <QPlainTextEdit>

// A multi-line plain text editor. Tab moves on to the next control, as in every
// other field of a form; Enter starts a new line.
class RT_EXPORT TcxMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TcxMemo(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }

Q_SIGNALS:
    // The memo has received the keyboard focus (the OnEnter of the control).
    void entered();

protected:
    void focusInEvent(QFocusEvent *event) override;
};
