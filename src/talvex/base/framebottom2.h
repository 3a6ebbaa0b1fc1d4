#pragma once

#include "runtime/form.h"

class TcxButton;
class TcxCheckBox;

// The bottom strip of a dialog that can also enter several records in a row: a
// line along its top edge, "确定" and "取消" side by side in a sunken box at its
// right edge and, on the left, the "连续增加" box. It has no behaviour of its own;
// the form that holds it binds the buttons and reads the box.
class TFrame2 : public TFrame
{
    Q_OBJECT
public:
    explicit TFrame2(QWidget *parent = nullptr);

    TcxButton *bbtnOK;
    TcxButton *bbtnClose;
    TcxCheckBox *cbContinue;
};
