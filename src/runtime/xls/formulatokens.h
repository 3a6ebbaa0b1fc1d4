#pragma once

#include "formula.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>

// Formulas in the file: parsed-expression tokens (ptg) in reverse Polish order,
// as [MS-XLS] 2.5.198 describes them.
namespace Rt::Xls {

// Compiles formula to its token array. externSheet gives the EXTERNSHEET index
// for a reference to another sheet (and raises when there is no such sheet).
QByteArray compileFormula(const Formula &formula,
                          const std::function<quint16(const QString &sheet)> &externSheet);

struct DecompileContext
{
    // The cell the formula belongs to: relative references of shared formulas
    // count from it.
    int row = 0;
    int column = 0;
    // The sheet name of an EXTERNSHEET index; a null string when unknown.
    std::function<QString(quint16 index)> sheetName;
};

// The formula text of a token array, or nothing when it uses what this reader
// does not know (names, array constants, unknown functions) or is damaged.
std::optional<QString> decompileFormula(QByteArrayView tokens, const DecompileContext &context);

} // namespace Rt::Xls
