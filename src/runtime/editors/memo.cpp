#include "memo.h"

#include "runtime/styles.h"

TcxMemo::TcxMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    new TcxEditStyle(this);
}
