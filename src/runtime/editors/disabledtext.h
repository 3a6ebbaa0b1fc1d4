#pragma once

#include "runtime/rtglobal.h"

class QWidget;

namespace Rt {

// Keeps an editor's text in the normal text colour while it is disabled: for a
// field that is disabled only to stop changes, whose value still matters to the
// reader.
RT_EXPORT void keepTextReadableWhenDisabled(QWidget *editor);

} // namespace Rt
