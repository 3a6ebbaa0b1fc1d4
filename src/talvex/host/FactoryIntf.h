#pragma once

#include "DbIntf.h"
#include "DictIntf.h"
#include "Interface.h"
#include "LogIntf.h"
#include "MainIntf.h"
#include "PrinterIntf.h"
#include "RightManagerIntf.h"
#include "Unoffered.h"

class TBaseObj;

// The host's root interface, handed to CreateWindow: every service interface is
// reached through one of its operations.
class IFactoryIntf : public IInterface
{
public:
    // The module knows this interface by no identifier.
    static constexpr QUuid IID{};

    // The current operator (host-owned): ID and operator code.
    virtual TBaseObj *GetOperator() = 0; // 3
    TALVEX_UNOFFERED("IFactoryIntf", 4)
    TALVEX_UNOFFERED("IFactoryIntf", 5)
    virtual void GetLogIntf(IntfPtr<ILogIntf> &result) = 0; // 6
    TALVEX_UNOFFERED("IFactoryIntf", 7)
    TALVEX_UNOFFERED("IFactoryIntf", 8)
    virtual void GetPrinterIntf(IntfPtr<IPrinterIntf> &result) = 0; // 9
    virtual void GetMainIntf(IntfPtr<IMainIntf> &result) = 0; // 10
    TALVEX_UNOFFERED("IFactoryIntf", 11)
    virtual void GetDbIntf(IntfPtr<IDbIntf> &result) = 0; // 12
    TALVEX_UNOFFERED("IFactoryIntf", 13)
    virtual void GetDictIntf(IntfPtr<IDictIntf> &result) = 0; // 14
    virtual void GetRightManagerIntf(IntfPtr<IRightManagerIntf> &result) = 0; // 15

protected:
    ~IFactoryIntf() = default;
};
