#pragma once

#include "Interface.h"
#include "Unoffered.h"

class TcxStyleRepository;

// The host's main window services: clock, wait notice, style sheets.
class IMainIntf : public IInterface
{
public:
    static constexpr QUuid IID{0x31FE109F, 0x5946, 0x48F3, 0xBA, 0xB4,
                               0xEF, 0xAE, 0x6C, 0x53, 0x52, 0xD4};

    // The current date and time, days since 1899-12-30.
    virtual double GetSysDate() = 0; // 3
    // Called after every successful write.
    virtual void NotifyDataSaved() = 0; // 4
    TALVEX_UNOFFERED("IMainIntf", 5)
    // Shows a wait notice until HideWaitMessage; returns at once.
    virtual void ShowWaitMessage(const QString &text) = 0; // 6
    // Removes the wait notice; harmless when none is shown.
    virtual void HideWaitMessage() = 0; // 7
    TALVEX_UNOFFERED("IMainIntf", 8)
    TALVEX_UNOFFERED("IMainIntf", 9)
    TALVEX_UNOFFERED("IMainIntf", 10)
    TALVEX_UNOFFERED("IMainIntf", 11)
    TALVEX_UNOFFERED("IMainIntf", 12)
    // The host's style repository; the host keeps it.
    virtual TcxStyleRepository *GetStyleRepository() = 0; // 13
    TALVEX_UNOFFERED("IMainIntf", 14)
    TALVEX_UNOFFERED("IMainIntf", 15)
    TALVEX_UNOFFERED("IMainIntf", 16)
    TALVEX_UNOFFERED("IMainIntf", 17)
    TALVEX_UNOFFERED("IMainIntf", 18)
    TALVEX_UNOFFERED("IMainIntf", 19)
    TALVEX_UNOFFERED("IMainIntf", 20)

protected:
    ~IMainIntf() = default;
};
