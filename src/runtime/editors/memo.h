#pragma once

#include "runtime/rtglobal.h"

#include <QPlainTextEdit>

// A multi-line plain text editor.
class RT_EXPORT TcxMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TcxMemo(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }
};
