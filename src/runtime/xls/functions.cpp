#include "functions.h"

#include <cstring>

namespace Rt::Xls {

namespace {

constexpr FunctionInfo functions[] = {
    {u"COUNT", 0, 0, 30, false, "R", false},
    {u"IF", 1, 2, 3, false, "VRR", false},
    {u"SUM", 4, 1, 30, false, "R", false},
    {u"AVERAGE", 5, 1, 30, false, "R", false},
    {u"MIN", 6, 1, 30, false, "R", false},
    {u"MAX", 7, 1, 30, false, "R", false},
    {u"ABS", 24, 1, 1, true, "V", false},
    {u"INT", 25, 1, 1, true, "V", false},
    {u"ROUND", 27, 2, 2, true, "VV", false},
    {u"MID", 31, 3, 3, true, "VVV", false},
    {u"LEN", 32, 1, 1, true, "V", false},
    {u"AND", 36, 1, 30, false, "R", false},
    {u"OR", 37, 1, 30, false, "R", false},
    {u"NOT", 38, 1, 1, true, "V", false},
    {u"MOD", 39, 2, 2, true, "VV", false},
    {u"DATE", 65, 3, 3, true, "VVV", false},
    {u"DAY", 67, 1, 1, true, "V", false},
    {u"MONTH", 68, 1, 1, true, "V", false},
    {u"YEAR", 69, 1, 1, true, "V", false},
    {u"NOW", 74, 0, 0, true, "", true},
    {u"ROWS", 76, 1, 1, true, "R", false},
    {u"COLUMNS", 77, 1, 1, true, "R", false},
    {u"LOWER", 112, 1, 1, true, "V", false},
    {u"UPPER", 113, 1, 1, true, "V", false},
    {u"LEFT", 115, 1, 2, false, "VV", false},
    {u"RIGHT", 116, 1, 2, false, "VV", false},
    {u"TRIM", 118, 1, 1, true, "V", false},
    {u"ISBLANK", 129, 1, 1, true, "V", false},
    {u"COUNTA", 169, 0, 30, false, "R", false},
    {u"ROUNDUP", 212, 2, 2, true, "VV", false},
    {u"ROUNDDOWN", 213, 2, 2, true, "VV", false},
    {u"TODAY", 221, 0, 0, true, "", true},
    {u"CONCATENATE", 336, 0, 30, false, "V", false},
};

} // namespace

char FunctionInfo::argClass(int arg) const
{
    const int n = int(std::strlen(argClasses));
    return n == 0 ? 'V' : argClasses[arg < n ? arg : n - 1];
}

const FunctionInfo *functionByName(QStringView name)
{
    for (const FunctionInfo &f : functions) {
        if (name.compare(QStringView(f.name), Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const FunctionInfo *functionByIndex(int index)
{
    for (const FunctionInfo &f : functions) {
        if (f.index == index)
            return &f;
    }
    return nullptr;
}

} // namespace Rt::Xls
