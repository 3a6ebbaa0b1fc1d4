#pragma once

#include "Interface.h"
#include "Unoffered.h"

class QObject;

// The host's print preview of a grid or spreadsheet.
class IPrinterIntf : public IInterface
{
public:
    static constexpr QUuid IID{0xC755BEB7, 0x4623, 0x4A1C, 0xBF, 0xD6,
                               0x15, 0x10, 0x8F, 0x56, 0x11, 0x65};

    // Previews or prints the component's content; returns when done.
    virtual void PreviewControl(QObject *component, int options, const QString &unitCode,
                                const QString &formName) = 0; // 3
    virtual void PreviewControl2(QObject *component, int options, const QString &unitCode,
                                 const QString &formName) = 0; // 4
    TALVEX_UNOFFERED("IPrinterIntf", 5)
    TALVEX_UNOFFERED("IPrinterIntf", 6)

protected:
    ~IPrinterIntf() = default;
};
