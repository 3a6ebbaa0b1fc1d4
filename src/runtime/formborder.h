#pragma once

#include "rtglobal.h"

#include <QSize>

class QWidget;

namespace Rt {

// Gives a form the border of a dialog: a title bar with the system menu and a
// close button, no minimise or maximise button, and a client area of exactly
// clientSize that the user cannot resize.
RT_EXPORT void setDialogBorder(QWidget *form, QSize clientSize);

} // namespace Rt
