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

enum Interface { Factory, Log, Main, Rights, Printer, Db };

// Everything the slot host was asked, in order, and the references it holds out.
inline QStringList calls;
inline int references[6];
// Answers.
inline int rightLevel = 2;
inline bool waitShown = false;

template <int Intf, int Slot>
[[noreturn]] void unserved(void *)
{
    throw Rt::Exception(QStringLiteral("interface %1 slot %2 not served").arg(Intf).arg(Slot));
}

// A table of Count slots, all unserved until set.
template <int Intf, int Count>
struct Table
{
    std::array<void *, Count> slots = make(std::make_index_sequence<Count>());
    Object object{slots.data()};

    template <size_t... I>
    static std::array<void *, Count> make(std::index_sequence<I...>)
    {
        return {reinterpret_cast<void *>(&unserved<Intf, int(I)>)...};
    }

    template <typename Function>
    void serve(int slot, Function function)
    {
        slots[size_t(slot)] = reinterpret_cast<void *>(function);
    }
};

// The root interface, its tables filled: the factory serves GetOperator,
// GetLogIntf, GetPrinterIntf, GetMainIntf, GetDbIntf and GetRightManagerIntf; the
// log RaiseError and WriteErrorLog; the printer both previews; the main interface
// GetSysDate, the wait notice and GetStyleRepository; the database OpenQuery; the
// rights GetRight and GetDeptScope.
void *root();

} // namespace SlotHost
