#include "recalc_p.h"

#include <algorithm>

using namespace Rt::Xls;

namespace Rt::Internal {

namespace {

// Cells computed inside one another before the chain is taken up from the
// explicit stack. A level costs a few frames for each level of the formula's
// own nesting, which the parser bounds, so this keeps well inside any stack.
constexpr int MaxNesting = 64;

// Unwinds a chain that grew too deep, naming the cell that would go deeper.
struct TooDeep
{
    int sheet;
    int row;
    Cell *cell;
};

} // namespace

quint64 Recalculator::Position::key() const
{
    return quint64(sheet) << 32 | quint64(row) << 8 | quint64(cell->column);
}

// Marks a cell as being computed for as long as it is, one level deeper; a
// computation cut short leaves the cell as if it had not begun.
class Recalculator::ComputingScope
{
public:
    ComputingScope(Recalculator &recalc, quint64 key)
        : m_recalc(recalc)
        , m_key(key)
    {
        m_recalc.m_states.insert(m_key, State::Computing);
        ++m_recalc.m_depth;
    }
    ~ComputingScope()
    {
        --m_recalc.m_depth;
        if (!m_done)
            m_recalc.m_states.remove(m_key);
    }
    ComputingScope(const ComputingScope &) = delete;
    ComputingScope &operator=(const ComputingScope &) = delete;

    void done()
    {
        m_recalc.m_states.insert(m_key, State::Done);
        m_done = true;
    }

private:
    Recalculator &m_recalc;
    quint64 m_key;
    bool m_done = false;
};

void Recalculator::recalculate()
{
    m_states.clear();
    for (int s = 0; s < m_book.sheetCount(); ++s) {
        Sheet &sheet = m_book.sheet(s);
        for (int row = 0; row < sheet.rowCount(); ++row) {
            for (Cell &cell : sheet.row(row)) {
                const Position position{s, row, &cell};
                if (cell.formula && !m_states.contains(position.key()))
                    computeFrom(position);
            }
        }
    }
}

// The cells waiting on the explicit stack stay marked as being computed: a chain
// that leads back to one of them is circular.
void Recalculator::computeFrom(const Position &start)
{
    std::vector<Position> pending{start};
    m_states.insert(start.key(), State::Computing);
    while (!pending.empty()) {
        const Position at = pending.back();
        try {
            // Evaluation reads cells but never adds any, so cells stay where they are.
            at.cell->value = evaluate(*at.cell->formula, at.sheet, *this);
            m_states.insert(at.key(), State::Done);
            pending.pop_back();
        } catch (const TooDeep &deeper) {
            const Position next{deeper.sheet, deeper.row, deeper.cell};
            m_states.insert(next.key(), State::Computing);
            pending.push_back(next);
        }
    }
}

const Value &Recalculator::valueOf(int sheet, int row, Cell &cell)
{
    static const Value circular = Value::error(ErrorCode::Ref);
    if (!cell.formula)
        return cell.value;
    const quint64 k = Position{sheet, row, &cell}.key();
    if (const auto it = m_states.constFind(k); it != m_states.cend())
        return *it == State::Computing ? circular : cell.value;
    if (m_depth >= MaxNesting)
        throw TooDeep{sheet, row, &cell};
    ComputingScope computing(*this, k);
    cell.value = evaluate(*cell.formula, sheet, *this);
    computing.done();
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
