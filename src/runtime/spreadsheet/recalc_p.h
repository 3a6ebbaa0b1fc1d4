#pragma once

#include "runtime/xls/evaluator.h"

#include <QHash>

#include <vector>

namespace Rt::Internal {

// Computes every formula of a workbook, each once, following what it reads; a
// formula that reads itself, directly or not, gets #REF!. A chain of references
// deeper than the stack may hold is worked off from an explicit stack: the cell
// where the chain grows too deep is computed first, then the cells that led to it.
class Recalculator : public Rt::Xls::EvaluationContext
{
public:
    explicit Recalculator(Rt::Xls::Workbook &book)
        : m_book(book)
    {}

    void recalculate();

    int sheetIndex(const QString &name) const override { return m_book.sheetIndex(name); }
    Rt::Xls::Value cellValue(int sheet, int row, int column) override;
    void forEachValue(int sheet, int top, int left, int bottom, int right,
                      const std::function<void(const Rt::Xls::Value &)> &visit) override;

private:
    enum class State : quint8 { Computing, Done };
    struct Position
    {
        int sheet;
        int row;
        Rt::Xls::Cell *cell;
        quint64 key() const;
    };
    class ComputingScope;

    void computeFrom(const Position &start);
    const Rt::Xls::Value &valueOf(int sheet, int row, Rt::Xls::Cell &cell);

    Rt::Xls::Workbook &m_book;
    QHash<quint64, State> m_states;
    int m_depth = 0;
};

} // namespace Rt::Internal
