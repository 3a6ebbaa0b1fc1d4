#pragma once

#include "runtime/exceptions.h"

#include <QString>

// Positions of a host interface that this module never calls still exist, so that
// every interface has its full count of operations. A host that offers nothing at
// such a position keeps this default, which says so when called.
[[noreturn]] inline void unofferedOperation(const char *interfaceName, int position)
{
    throw Rt::Exception(QStringLiteral("%1: operation %2 is not offered by this host")
                            .arg(QLatin1StringView(interfaceName))
                            .arg(position));
}

#define TALVEX_UNOFFERED(intf, pos)                                                             \
    virtual void Unoffered##pos() { unofferedOperation(intf, pos); }
