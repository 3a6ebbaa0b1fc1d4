#pragma once

#include "FactoryIntf.h"

class TApplication;
class TForm;
class TScreen;

// What a host knows of the plug-in: two exported functions, and a window (a form)
// whose sixteen operations stand in its virtual table right after the form class's
// own virtual operations. The host calls them by position only.
namespace PluginWindow {

// Virtual slots of the form class (QWidget's, Qt 6.4, g++ / Itanium ABI).
constexpr int FirstOperationSlot = 52;

enum class Op {
    SetModified,
    GetModified,
    SetFlags,
    GetFlags,
    RefreshData,
    SaveData,
    SaveToExcel,
    ImportData,
    CustomQuery,
    CustomAction1,
    PrintPreview,
    PrintPreview2,
    FindData,
    CustomAction2,
    InitWindow,
    FreeWindow,
};
constexpr int OperationCount = 16;

constexpr int slotOf(Op op)
{
    return FirstOperationSlot + int(op);
}

// Calls the operation at its position in the window's virtual table.
template <typename Result, typename... Args>
Result call(TForm *window, Op op, Args... args)
{
    using Function = Result (*)(TForm *, Args...);
    void **vtable = *reinterpret_cast<void ***>(window);
    return reinterpret_cast<Function>(vtable[slotOf(op)])(window, args...);
}

using CreateWindowFunction = TForm *(*)(TApplication *application, TScreen *screen,
                                        IFactoryIntf *root);
using CloseWindowFunction = void (*)();

constexpr char CreateWindowSymbol[] = "CreateWindow";
constexpr char CloseWindowSymbol[] = "CloseWindow";

} // namespace PluginWindow
