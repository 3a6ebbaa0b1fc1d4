#include "recalc_p.h"

#include <algorithm>

using namespace Rt::Xls;

namespace Rt::Internal {

void Recalculator::recalculate()
{
    m_states.clear();
    for (int s = 0; s < m_book.sheetCount(); ++s) {
        Sheet &sheet = m_book.sheet(s);
        for (int row = 0; row < sheet.rowCount(); ++row) {
            for (Cell &cell : sheet.row(row))
                valueOf(s, row, cell);
        }
    }
}

const Value &Recalculator::valueOf(int sheet, int row, Cell &cell)
{
    static const Value circular = Value::error(ErrorCode::Ref);
    if (!cell.formula)
        return cell.value;
    const quint64 k = key(sheet, row, cell.column);
    if (const auto it = m_states.constFind(k); it != m_states.cend())
        return *it == State::Computing ? circular : cell.value;
    m_states.insert(k, State::Computing);
    // Evaluation reads cells but never adds any, so cell stays where it is.
    cell.value = evaluate(*cell.formula, sheet, *this);
    m_states.insert(k, State::Done);
    return cell.value;
}

Value Recalculator::cellValue(int sheet, int row, int column)
{
    if (sheet < 0 || sheet >= m_book.sheetCount())
        return Value::error(ErrorCode::Ref);
    Cell *cell = m_book.sheet(sheet).cell(row, column);
    return cell ? valueOf(sheet, row, *cell) : Value();
}

void Recalculator::forEachValue(int sheet, int top, int left, int bottom, int right,
                                const std::function<void(const Value &)> &visit)
{
    if (sheet < 0 || sheet >= m_book.sheetCount())
        return;
    Sheet &s = m_book.sheet(sheet);
    for (int row = std::max(top, 0); row <= std::min(bottom, s.rowCount() - 1); ++row) {
        for (Cell &cell : s.row(row)) {
            if (cell.column < left || cell.column > right)
                continue;
            const Value &v = valueOf(sheet, row, cell);
            if (!v.isEmpty())
                visit(v);
        }
    }
}

} // namespace Rt::Internal
