#pragma once

#include "Interface.h"
#include "Unoffered.h"

// The host's operator rights and department scope.
class IRightManagerIntf : public IInterface
{
public:
    // The module knows this interface by no identifier.
    static constexpr QUuid IID{};

    TALVEX_UNOFFERED("IRightManagerIntf", 3)
    TALVEX_UNOFFERED("IRightManagerIntf", 4)
    TALVEX_UNOFFERED("IRightManagerIntf", 5)
    TALVEX_UNOFFERED("IRightManagerIntf", 6)
    TALVEX_UNOFFERED("IRightManagerIntf", 7)
    TALVEX_UNOFFERED("IRightManagerIntf", 8)
    TALVEX_UNOFFERED("IRightManagerIntf", 9)
    TALVEX_UNOFFERED("IRightManagerIntf", 10)
    TALVEX_UNOFFERED("IRightManagerIntf", 11)
    TALVEX_UNOFFERED("IRightManagerIntf", 12)
    TALVEX_UNOFFERED("IRightManagerIntf", 13)
    TALVEX_UNOFFERED("IRightManagerIntf", 14)
    TALVEX_UNOFFERED("IRightManagerIntf", 15)
    TALVEX_UNOFFERED("IRightManagerIntf", 16)
    TALVEX_UNOFFERED("IRightManagerIntf", 17)
    TALVEX_UNOFFERED("IRightManagerIntf", 18)
    TALVEX_UNOFFERED("IRightManagerIntf", 19)
    // The operator's level for the right code; 2 or more permits changing data.
    virtual int GetRight(const QString &rightCode) = 0; // 20
    TALVEX_UNOFFERED("IRightManagerIntf", 21)
    TALVEX_UNOFFERED("IRightManagerIntf", 22)
    TALVEX_UNOFFERED("IRightManagerIntf", 23)
    TALVEX_UNOFFERED("IRightManagerIntf", 24)
    TALVEX_UNOFFERED("IRightManagerIntf", 25)
    // The SQL value list of the department codes the operator may see, such as
    // ('01','0101'), ready to follow "in".
    virtual void GetDeptScope(const QString &operatorId, QString &scope) = 0; // 26

protected:
    ~IRightManagerIntf() = default;
};
