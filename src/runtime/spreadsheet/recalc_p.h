#pragma once

#include "runtime/xls/evaluator.h"

#include <QHash>

namespace Rt::Internal {

// Computes every formula of a workbook, each once, following what it reads; a
// formula that reads itself, directly or not, gets #REF!.
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
    static quint64 key(int sheet, int row, int column)
    {
        return quint64(sheet) << 32 | quint64(row) << 8 | quint64(column);
    }
    const Rt::Xls::Value &valueOf(int sheet, int row, Rt::Xls::Cell &cell);

    Rt::Xls::Workbook &m_book;
    QHash<quint64, State> m_states;
};

} // namespace Rt::Internal
