#pragma once

#include "formula.h"

#include <functional>

// Computes formulas: the operators, references and functions the formula parser
// accepts, with the conversions and error values of the spreadsheet programs.
namespace Rt::Xls {

// What a formula reads: cell values (computing formulas they hold first).
class RT_EXPORT EvaluationContext
{
public:
    virtual ~EvaluationContext() = default;
    // The index of the sheet of that name; -1 when there is none.
    virtual int sheetIndex(const QString &name) const = 0;
    virtual Value cellValue(int sheet, int row, int column) = 0;
    // Calls visit for each cell of the area that holds anything, row by row.
    virtual void forEachValue(int sheet, int top, int left, int bottom, int right,
                              const std::function<void(const Value &)> &visit) = 0;
};

// The result of formula in a cell of sheet.
RT_EXPORT Value evaluate(const Formula &formula, int sheet, EvaluationContext &context);

} // namespace Rt::Xls
