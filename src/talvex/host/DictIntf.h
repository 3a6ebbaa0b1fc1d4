#pragma once

#include "Interface.h"
#include "Unoffered.h"

class TcxImageComboBox;

// The host's dictionaries: value lists built from two-column queries.
class IDictIntf : public IInterface
{
public:
    static constexpr QUuid IID{0xF017761E, 0x5006, 0x4F68, 0xA0, 0xF7,
                               0x37, 0x76, 0xE6, 0xCA, 0xA7, 0x51};

    TALVEX_UNOFFERED("IDictIntf", 3)
    TALVEX_UNOFFERED("IDictIntf", 4)
    TALVEX_UNOFFERED("IDictIntf", 5)
    TALVEX_UNOFFERED("IDictIntf", 6)
    TALVEX_UNOFFERED("IDictIntf", 7)
    TALVEX_UNOFFERED("IDictIntf", 8)
    TALVEX_UNOFFERED("IDictIntf", 9)
    TALVEX_UNOFFERED("IDictIntf", 10)
    // An image combo (host-owned) whose items carry the first column as value and
    // the second as description.
    virtual TcxImageComboBox *GetDictCombo(const QString &sql) = 0; // 11
    TALVEX_UNOFFERED("IDictIntf", 12)
    TALVEX_UNOFFERED("IDictIntf", 13)
    TALVEX_UNOFFERED("IDictIntf", 14)
    TALVEX_UNOFFERED("IDictIntf", 15)
    TALVEX_UNOFFERED("IDictIntf", 16)
    TALVEX_UNOFFERED("IDictIntf", 17)
    TALVEX_UNOFFERED("IDictIntf", 18)
    TALVEX_UNOFFERED("IDictIntf", 19)
    TALVEX_UNOFFERED("IDictIntf", 20)
    TALVEX_UNOFFERED("IDictIntf", 21)

protected:
    ~IDictIntf() = default;
};
