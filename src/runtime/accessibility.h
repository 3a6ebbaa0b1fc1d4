#pragma once

#include "rtglobal.h"

#include <QString>

class QWidget;

// What assistive technology (screen readers, voice control) is told about the
// controls of a form.
namespace Rt {

// A caption as a screen reader should say it, the name of what the caption
// labels: without the mnemonic mark (a "(&Q)" group whole, else the "&"), since
// the shortcut is announced on its own; without the trailing colon, which only
// separates a label from its field on the screen and would be read out as
// "冒号" after every name; and without the blanks that space out the characters
// of a short Chinese caption ("姓    名") to line it up with longer ones.
RT_EXPORT QString spokenText(const QString &caption);

// Gives a control its accessible name. A composite control (grid, tree list)
// passes it on to the part that takes the focus, which is what a screen reader
// meets.
RT_EXPORT void setAccessibleName(QWidget *control, const QString &name);

} // namespace Rt
