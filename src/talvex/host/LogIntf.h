#pragma once

#include "Interface.h"
#include "Unoffered.h"

// The host's error reporting and log.
class ILogIntf : public IInterface
{
public:
    static constexpr QUuid IID{0x9EFF7058, 0xA720, 0x43BA, 0x9A, 0xAA,
                               0x18, 0xF5, 0x3B, 0xEB, 0x3F, 0x0C};

    TALVEX_UNOFFERED("ILogIntf", 3)
    TALVEX_UNOFFERED("ILogIntf", 4)
    // Shows the text to the user and does not return: ends the running command
    // with a silent abort.
    virtual void RaiseError(const QString &message, int kind) = 0; // 5
    // Writes the text to the host's log and returns.
    virtual void WriteErrorLog(const QString &text, int kind) = 0; // 6

protected:
    ~ILogIntf() = default;
};
