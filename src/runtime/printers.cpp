#include "printers.h"

#include <QPrinterInfo>

namespace {
Rt::PrinterListResponder printerListResponder;
}

namespace Rt {

QStringList printerNames()
{
    if (printerListResponder)
        return printerListResponder();
    return QPrinterInfo::availablePrinterNames();
}

void setPrinterListResponder(PrinterListResponder responder)
{
    printerListResponder = std::move(responder);
}

} // namespace Rt
