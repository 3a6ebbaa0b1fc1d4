#pragma once

#include <QString>

// The worksheet functions formulas may use: their numbers in the file, argument
// counts and the class each argument is passed in ([MS-XLS] Ftab/Cetab).
namespace Rt::Xls {

struct FunctionInfo
{
    const char16_t *name;
    quint16 index;
    quint8 minArgs;
    quint8 maxArgs;
    // A fixed argument count is written as ptgFunc, otherwise as ptgFuncVar.
    bool fixed;
    // One letter per argument, the last repeated: V value, R reference.
    const char *argClasses;
    // Results change without any cell changing (TODAY, NOW).
    bool isVolatile;

    char argClass(int arg) const;
};

const FunctionInfo *functionByName(QStringView name);
const FunctionInfo *functionByIndex(int index);

} // namespace Rt::Xls
