#pragma once

#include <QUuid>
#include <utility>

// The base of every host service interface, shaped like a component-object-model
// interface: slots 0, 1 and 2 are QueryInterface, AddRef and Release, and each
// interface's own operations follow at fixed positions. No virtual destructor: it
// would take slots of its own. Objects die through Release().
class IInterface
{
public:
    virtual long QueryInterface(const QUuid &iid, void **object) = 0; // 0
    virtual unsigned long AddRef() = 0;                              // 1
    virtual unsigned long Release() = 0;                             // 2

protected:
    ~IInterface() = default;
};

// A counted reference to an interface: holds one reference and releases it when
// it goes out of scope.
template <typename T>
class IntfPtr
{
public:
    IntfPtr() = default;
    // Takes a new reference on p.
    IntfPtr(T *p)
        : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    IntfPtr(const IntfPtr &other)
        : IntfPtr(other.m_p)
    {
    }
    IntfPtr(IntfPtr &&other) noexcept
        : m_p(std::exchange(other.m_p, nullptr))
    {
    }
    ~IntfPtr() { reset(); }

    IntfPtr &operator=(IntfPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    // Releases the held reference; the pointer becomes empty.
    void reset()
    {
        if (T *p = std::exchange(m_p, nullptr))
            p->Release();
    }

    // For an operation that hands back a new reference through an out argument.
    T **put()
    {
        reset();
        return &m_p;
    }

    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};
