#pragma once

#include "Interface.h"
#include "Unoffered.h"

class TDataSet;
class TObjectHashedList;
struct QMetaObject;

// The host's database: statements are Oracle SQL text.
class IDbIntf : public IInterface
{
public:
    static constexpr QUuid IID{0x0395C63D, 0xFA5B, 0x4F13, 0x8F, 0x5F,
                               0x88, 0xED, 0xB1, 0x82, 0x73, 0x47};

    TALVEX_UNOFFERED("IDbIntf", 3)
    TALVEX_UNOFFERED("IDbIntf", 4)
    TALVEX_UNOFFERED("IDbIntf", 5)
    TALVEX_UNOFFERED("IDbIntf", 6)
    TALVEX_UNOFFERED("IDbIntf", 7)
    TALVEX_UNOFFERED("IDbIntf", 8)
    TALVEX_UNOFFERED("IDbIntf", 9)
    TALVEX_UNOFFERED("IDbIntf", 10)
    // A new, open result set of the SELECT; the caller owns it.
    virtual TDataSet *OpenQuery(const QString &sql) = 0; // 11
    TALVEX_UNOFFERED("IDbIntf", 12)
    TALVEX_UNOFFERED("IDbIntf", 13)
    // Executes an UPDATE or an anonymous block; true when it succeeded. A failure
    // may also raise.
    virtual bool ExecSql(const QString &sql) = 0; // 14
    TALVEX_UNOFFERED("IDbIntf", 15)
    virtual void BeginTrans() = 0; // 16
    virtual void CommitTrans() = 0; // 17
    virtual void RollbackTrans() = 0; // 18
    TALVEX_UNOFFERED("IDbIntf", 19)
    TALVEX_UNOFFERED("IDbIntf", 20)
    TALVEX_UNOFFERED("IDbIntf", 21)
    TALVEX_UNOFFERED("IDbIntf", 22)
    TALVEX_UNOFFERED("IDbIntf", 23)
    TALVEX_UNOFFERED("IDbIntf", 24)
    TALVEX_UNOFFERED("IDbIntf", 25)
    TALVEX_UNOFFERED("IDbIntf", 26)
    TALVEX_UNOFFERED("IDbIntf", 27)
    TALVEX_UNOFFERED("IDbIntf", 28)
    TALVEX_UNOFFERED("IDbIntf", 29)
    // The first column of the first row, as text.
    virtual void QueryValue(const QString &sql, QString &value) = 0; // 30
    TALVEX_UNOFFERED("IDbIntf", 31)
    TALVEX_UNOFFERED("IDbIntf", 32)
    TALVEX_UNOFFERED("IDbIntf", 33)
    TALVEX_UNOFFERED("IDbIntf", 34)
    TALVEX_UNOFFERED("IDbIntf", 35)
    TALVEX_UNOFFERED("IDbIntf", 36)
    // One object of entityClass per row, in row order, keyed by ID; the host keeps
    // the list. None when the host cannot build it.
    virtual TObjectHashedList *QueryObjectList(const QMetaObject &entityClass,
                                               const QString &sql) = 0; // 37
    TALVEX_UNOFFERED("IDbIntf", 38)
    TALVEX_UNOFFERED("IDbIntf", 39)
    TALVEX_UNOFFERED("IDbIntf", 40)

protected:
    ~IDbIntf() = default;
};
