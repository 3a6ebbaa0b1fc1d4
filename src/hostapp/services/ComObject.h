#pragma once

#include "talvex/host/Interface.h"

#include <atomic>

// Implements the three base operations of a host interface with a reference
// count: the object deletes itself when its last reference is released. Create it
// with new and hold it in an IntfPtr.
template <typename Intf>
class ComObject : public Intf
{
public:
    long QueryInterface(const QUuid &iid, void **object) override
    {
        if (!iid.isNull() && iid == Intf::IID) {
            this->AddRef();
            *object = static_cast<Intf *>(this);
            return 0;
        }
        *object = nullptr;
        return long(0x80004002); // no such interface
    }

    unsigned long AddRef() override { return ++m_refCount; }

    unsigned long Release() override
    {
        const unsigned long remaining = --m_refCount;
        if (remaining == 0)
            delete this;
        return remaining;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    std::atomic<unsigned long> m_refCount{0};
};
