#pragma once

// A host that knows the service interfaces only as slot numbers: each interface is
// a hand-made table of function pointers, so a call that the module makes by name
// lands here only if the name sits at the position the contract gives. Slots it
// does not serve throw an error naming the interface and the slot.

#include "runtime/exceptions.h"

#include <QString>
#include <QStringList>
#include <array>
#include <utility>

class TBaseObj;
class TcxStyleRepository;

namespace SlotHost {

struct Object
{
    void **vtable;
};

// Everything the slot host was asked, in order.
inline QStringList calls;

template <int Interface, int Slot>
[[noreturn]] void unserved(void *)
{
    throw Rt::Exception(QStringLiteral("interface %1 slot %2 not served").arg(Interface).arg(Slot));
}

// A table of Count slots, all unserved until set.
template <int Interface, int Count>
struct Table
{
    std::array<void *, Count> slots = make(std::make_index_sequence<Count>());
    Object object{slots.data()};

    template <size_t... I>
    static std::array<void *, Count> make(std::index_sequence<I...>)
    {
        return {reinterpret_cast<void *>(&unserved<Interface, int(I)>)...};
    }

    template <typename Function>
    void serve(int slot, Function function)
    {
        slots[size_t(slot)] = reinterpret_cast<void *>(function);
    }
};

} // namespace SlotHost
