#pragma once

#include "runtime/rtglobal.h"
#include "workbook.h"

#include <QStringList>

#include <memory>
#include <vector>

// Formulas as users type them ("SUM(B2:B9)*2", without the "="): parsed once into
// a tree that the writer compiles to tokens and the evaluator computes.
namespace Rt::Xls {

struct FunctionInfo;

struct CellRef
{
    int row = 0;
    int column = 0;
    bool rowAbsolute = false;    // $ before the row
    bool columnAbsolute = false; // $ before the column

    bool operator==(const CellRef &other) const = default;
};

struct FormulaNode
{
    enum class Kind : quint8 {
        Number,
        Text,
        Boolean,
        Error,
        Missing, // an omitted argument: IF(A1,,1)
        Reference,
        Area,
        Unary,   // op Plus or Minus
        Percent, // postfix %
        Binary,
        Paren,
        Function,
    };
    enum class Op : quint8 {
        None,
        Add,
        Subtract,
        Multiply,
        Divide,
        Power,
        Concat,
        Less,
        LessEqual,
        Equal,
        GreaterEqual,
        Greater,
        NotEqual,
        Plus,
        Minus,
    };

    Kind kind = Kind::Number;
    Op op = Op::None;
    ErrorCode error = ErrorCode::Value;
    double number = 0; // a number, or 0/1 for a Boolean
    // A text literal; for a reference or area, the sheet it names ("" for the
    // formula's own sheet).
    QString text;
    CellRef first; // a reference, or an area's top left
    CellRef last;  // an area's bottom right
    const FunctionInfo *function = nullptr;
    std::vector<FormulaNode> children;
};

class RT_EXPORT Formula : public QSharedData
{
public:
    // Parses text, with or without a leading "="; raises Rt::Exception naming
    // what is wrong.
    static FormulaRef parse(const QString &text);

    // The formula as typed, without the "=".
    const QString &text() const { return m_text; }
    const FormulaNode &root() const { return m_root; }
    // Calls a function whose result changes with time alone.
    bool isVolatile() const { return m_volatile; }

private:
    QString m_text;
    FormulaNode m_root;
    bool m_volatile = false;
};

// "A1" for (0, 0); "$B$2" with both absolute.
RT_EXPORT QString cellName(int row, int column);
QString referenceText(const CellRef &ref);
// The sheet name as a formula writes it, quoted when it must be.
QString formulaSheetName(const QString &sheet);

// A function takes at most this many arguments.
inline constexpr int MaxArguments = 30;
// SUM of any number of arguments ("SUM(A1,B2)"): past MaxArguments, runs of them
// are summed first, SUM(SUM(...),SUM(...)), as deep as needed.
RT_EXPORT QString sumFormula(const QStringList &arguments);

} // namespace Rt::Xls
