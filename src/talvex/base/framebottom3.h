#pragma once

#include "runtime/form.h"

class TcxButton;

// The bottom strip of the module's dialogs: a line along its top edge and, at its
// right edge, "确定" and "取消" side by side in a sunken box. It has no behaviour of
// its own; the form that holds it binds the buttons.
class TFrame3 : public TFrame
{
    Q_OBJECT
public:
    explicit TFrame3(QWidget *parent = nullptr);

    TcxButton *bbtnEnter;
    TcxButton *bbtnClose;
};
