#pragma once

#include "talvex/base/DllWindow.h"

// The shift-exchange register: the one window the plug-in hands to the host.
class TWorkWindowForm : public TDllWindowForm
{
    Q_OBJECT
public:
    explicit TWorkWindowForm(QWidget *parent = nullptr);
};
