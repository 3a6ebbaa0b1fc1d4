#pragma once

#include "rtglobal.h"

#include <QStringList>

#include <functional>

namespace Rt {

// The printers installed on the system, by name; empty when there are none.
RT_EXPORT QStringList printerNames();

// Answers printerNames() instead of the system (tests); an empty responder gives
// the question back to the system.
using PrinterListResponder = std::function<QStringList()>;
RT_EXPORT void setPrinterListResponder(PrinterListResponder responder);

} // namespace Rt
