#include "memo.h"

#include "runtime/styles.h"

TcxMemo::TcxMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    new TcxEditStyle(this);
    setTabChangesFocus(true);
}

void TcxMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    Q_EMIT entered();
}
