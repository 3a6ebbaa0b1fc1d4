#include "evaluator.h"

#include "functions.h"
#include "numberformat.h"
#include "runtime/datetime.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

using Kind = FormulaNode::Kind;
using Op = FormulaNode::Op;

// A value, or a rectangle of cells where a reference is passed on as such.
struct Operand
{
    Value value;
    bool isArea = false;
    int sheet = 0;
    int top = 0, left = 0, bottom = 0, right = 0;
};

Value numberOrError(double v)
{
    return std::isfinite(v) ? Value::number(v) : Value::error(ErrorCode::Num);
}

// Conversions; an error value passes through as the result.
bool toNumber(const Value &v, double *out, Value *error)
{
    switch (v.kind) {
    case Value::Kind::Empty:
        *out = 0;
        return true;
    case Value::Kind::Number:
    case Value::Kind::Boolean:
        *out = v.num();
        return true;
    case Value::Kind::Text: {
        bool ok = false;
        *out = v.str().trimmed().toDouble(&ok);
        if (ok)
            return true;
        if (const std::optional<double> date = Rt::DateTime::parse(v.str())) {
            *out = *date;
            return true;
        }
        *error = Value::error(ErrorCode::Value);
        return false;
    }
    case Value::Kind::Error:
        *error = v;
        return false;
    }
    return false;
}

bool toText(const Value &v, QString *out, Value *error)
{
    if (v.kind == Value::Kind::Error) {
        *error = v;
        return false;
    }
    *out = formatValue(v, QString());
    return true;
}

// A text is true or false only as the word itself; anything else is true where
// its number is not zero.
bool toBool(const Value &v, bool *out, Value *error)
{
    if (v.kind == Value::Kind::Text) {
        const bool isTrue = v.str().compare(u"TRUE"_s, Qt::CaseInsensitive) == 0;
        if (!isTrue && v.str().compare(u"FALSE"_s, Qt::CaseInsensitive) != 0) {
            *error = Value::error(ErrorCode::Value);
            return false;
        }
        *out = isTrue;
        return true;
    }
    double number = 0;
    if (!toNumber(v, &number, error))
        return false;
    *out = number != 0;
    return true;
}

// Numbers before texts before Booleans; texts without regard to case.
int compareValues(const Value &a, const Value &b)
{
    auto rank = [](const Value &v) {
        switch (v.kind) {
        case Value::Kind::Text:
            return 1;
        case Value::Kind::Boolean:
            return 2;
        default:
            return 0;
        }
    };
    Value left = a;
    Value right = b;
    // An empty cell compares as the other side's kind of nothing.
    if (left.isEmpty())
        left = right.kind == Value::Kind::Text ? Value::text(QString()) : Value::number(0);
    if (right.isEmpty())
        right = left.kind == Value::Kind::Text ? Value::text(QString()) : Value::number(0);
    if (rank(left) != rank(right))
        return rank(left) < rank(right) ? -1 : 1;
    if (left.kind == Value::Kind::Text)
        return left.str().compare(right.str(), Qt::CaseInsensitive);
    return left.num() < right.num() ? -1 : left.num() > right.num() ? 1 : 0;
}

// Rounds as the spreadsheet programs do: to 15 significant digits first, so that
// 2.675 is taken as written, then half away from zero.
double roundTo(double x, int digits, int direction)
{
    const double factor = std::pow(10.0, digits);
    const double scaled = QString::number(x * factor, 'g', 15).toDouble();
    double r;
    if (direction > 0)
        r = scaled < 0 ? -std::ceil(-scaled) : std::ceil(scaled);
    else if (direction < 0)
        r = std::trunc(scaled);
    else
        r = std::round(scaled);
    return r / factor;
}

class Evaluator
{
public:
    Evaluator(int sheet, EvaluationContext &context)
        : m_sheet(sheet)
        , m_context(context)
    {}

    Value value(const FormulaNode &node) { return valueOf(eval(node)); }

private:
    Value valueOf(const Operand &o)
    {
        if (!o.isArea)
            return o.value;
        if (o.sheet < 0)
            return Value::error(ErrorCode::Ref);
        if (o.top == o.bottom && o.left == o.right)
            return m_context.cellValue(o.sheet, o.top, o.left);
        return Value::error(ErrorCode::Value);
    }

    Operand area(const FormulaNode &node)
    {
        Operand o;
        o.isArea = true;
        o.sheet = node.text.isEmpty() ? m_sheet : m_context.sheetIndex(node.text);
        o.top = node.first.row;
        o.left = node.first.column;
        o.bottom = node.kind == Kind::Area ? node.last.row : node.first.row;
        o.right = node.kind == Kind::Area ? node.last.column : node.first.column;
        return o;
    }

    Operand eval(const FormulaNode &node)
    {
        switch (node.kind) {
        case Kind::Number:
            return {Value::number(node.number)};
        case Kind::Text:
            return {Value::text(node.text)};
        case Kind::Boolean:
            return {Value::boolean(node.number != 0)};
        case Kind::Error:
            return {Value::error(node.error)};
        case Kind::Missing:
            return {Value()};
        case Kind::Reference:
        case Kind::Area:
            return area(node);
        case Kind::Paren:
            return eval(node.children[0]);
        case Kind::Unary:
        case Kind::Percent: {
            double x;
            Value error;
            if (!toNumber(value(node.children[0]), &x, &error))
                return {error};
            if (node.kind == Kind::Percent)
                return {Value::number(x / 100.0)};
            return {Value::number(node.op == Op::Minus ? -x : x)};
        }
        case Kind::Binary:
            return {binary(node)};
        case Kind::Function:
            return function(node);
        }
        return {Value::error(ErrorCode::Value)};
    }

    Value binary(const FormulaNode &node)
    {
        const Value left = value(node.children[0]);
        const Value right = value(node.children[1]);
        Value error;
        switch (node.op) {
        case Op::Concat: {
            // A text longer than a cell holds is #VALUE!, as in the spreadsheet
            // programs; formulas that double a text thus stay small.
            QString a, b;
            if (!toText(left, &a, &error) || !toText(right, &b, &error))
                return error;
            if (a.size() + b.size() > MaxTextLength)
                return Value::error(ErrorCode::Value);
            return Value::text(a + b);
        }
        case Op::Less:
        case Op::LessEqual:
        case Op::Equal:
        case Op::GreaterEqual:
        case Op::Greater:
        case Op::NotEqual: {
            if (left.kind == Value::Kind::Error)
                return left;
            if (right.kind == Value::Kind::Error)
                return right;
            const int c = compareValues(left, right);
            switch (node.op) {
            case Op::Less:
                return Value::boolean(c < 0);
            case Op::LessEqual:
                return Value::boolean(c <= 0);
            case Op::Equal:
                return Value::boolean(c == 0);
            case Op::GreaterEqual:
                return Value::boolean(c >= 0);
            case Op::Greater:
                return Value::boolean(c > 0);
            default:
                return Value::boolean(c != 0);
            }
        }
        default:
            break;
        }
        double a, b;
        if (!toNumber(left, &a, &error) || !toNumber(right, &b, &error))
            return error;
        switch (node.op) {
        case Op::Add:
            return numberOrError(a + b);
        case Op::Subtract:
            return numberOrError(a - b);
        case Op::Multiply:
            return numberOrError(a * b);
        case Op::Divide:
            return b == 0 ? Value::error(ErrorCode::Div0) : numberOrError(a / b);
        case Op::Power:
            if (a == 0 && b == 0)
                return Value::error(ErrorCode::Num);
            return numberOrError(std::pow(a, b));
        default:
            return Value::error(ErrorCode::Value);
        }
    }

    // Each argument's values: a range gives the cells that hold something; a
    // value given directly is passed with direct = true.
    bool forEachArg(const FormulaNode &node,
                    const std::function<bool(const Value &, bool direct)> &visit, Value *error)
    {
        for (const FormulaNode &arg : node.children) {
            const Operand o = eval(arg);
            if (!o.isArea) {
                if (!visit(o.value, true)) {
                    *error = o.value.kind == Value::Kind::Error ? o.value
                                                                : Value::error(ErrorCode::Value);
                    return false;
                }
                continue;
            }
            if (o.sheet < 0) {
                *error = Value::error(ErrorCode::Ref);
                return false;
            }
            bool ok = true;
            m_context.forEachValue(o.sheet, o.top, o.left, o.bottom, o.right, [&](const Value &v) {
                if (ok && v.kind == Value::Kind::Error) {
                    *error = v;
                    ok = false;
                }
                if (ok && !visit(v, false)) {
                    *error = Value::error(ErrorCode::Value);
                    ok = false;
                }
            });
            if (!ok)
                return false;
        }
        return true;
    }

    // Numbers of SUM, AVERAGE, MIN, MAX, COUNT: in ranges only numbers count;
    // given directly, Booleans and numeric texts count too.
    bool numbers(const FormulaNode &node, std::vector<double> *out, Value *error,
                 bool strictDirect = true)
    {
        return forEachArg(
            node,
            [&](const Value &v, bool direct) {
                if (!direct) {
                    if (v.kind == Value::Kind::Number)
                        out->push_back(v.num());
                    return true;
                }
                if (v.kind == Value::Kind::Empty)
                    return true;
                double x;
                Value e;
                if (toNumber(v, &x, &e)) {
                    out->push_back(x);
                    return true;
                }
                return !strictDirect;
            },
            error);
    }

    Value argValue(const FormulaNode &node, size_t i) { return value(node.children[i]); }

    bool argNumber(const FormulaNode &node, size_t i, double *x, Value *error)
    {
        return toNumber(argValue(node, i), x, error);
    }
    bool argText(const FormulaNode &node, size_t i, QString *s, Value *error)
    {
        return toText(argValue(node, i), s, error);
    }

    Operand function(const FormulaNode &node)
    {
        const QStringView name(node.function->name);
        const size_t argc = node.children.size();
        Value error;
        if (name == u"SUM" || name == u"AVERAGE" || name == u"MIN" || name == u"MAX"
            || name == u"COUNT") {
            std::vector<double> xs;
            if (!numbers(node, &xs, &error, name != u"COUNT"))
                return {error};
            if (name == u"COUNT")
                return {Value::number(double(xs.size()))};
            double sum = 0;
            for (double x : xs)
                sum += x;
            if (name == u"SUM")
                return {numberOrError(sum)};
            if (name == u"AVERAGE")
                return {xs.empty() ? Value::error(ErrorCode::Div0)
                                   : numberOrError(sum / xs.size())};
            if (xs.empty())
                return {Value::number(0)};
            return {Value::number(name == u"MIN" ? *std::min_element(xs.begin(), xs.end())
                                                 : *std::max_element(xs.begin(), xs.end()))};
        }
        if (name == u"COUNTA") {
            double count = 0;
            for (const FormulaNode &arg : node.children) {
                const Operand o = eval(arg);
                if (!o.isArea) {
                    count += arg.kind == Kind::Missing ? 0 : 1;
                    continue;
                }
                if (o.sheet < 0)
                    return {Value::error(ErrorCode::Ref)};
                m_context.forEachValue(o.sheet, o.top, o.left, o.bottom, o.right,
                                       [&count](const Value &v) { count += v.isEmpty() ? 0 : 1; });
            }
            return {Value::number(count)};
        }
        if (name == u"AND" || name == u"OR") {
            const bool isAnd = name == u"AND";
            bool result = isAnd;
            bool any = false;
            const bool ok = forEachArg(
                node,
                [&](const Value &v, bool direct) {
                    if (!direct && v.kind == Value::Kind::Text)
                        return true;
                    bool b;
                    Value e;
                    if (!toBool(v, &b, &e))
                        return false;
                    any = true;
                    result = isAnd ? result && b : result || b;
                    return true;
                },
                &error);
            if (!ok)
                return {error};
            return {any ? Value::boolean(result) : Value::error(ErrorCode::Value)};
        }
        if (name == u"IF") {
            bool condition;
            if (!toBool(argValue(node, 0), &condition, &error))
                return {error};
            if (condition)
                return node.children[1].kind == Kind::Missing ? Operand{Value::number(0)}
                                                              : eval(node.children[1]);
            if (argc < 3)
                return {Value::boolean(false)};
            return node.children[2].kind == Kind::Missing ? Operand{Value::number(0)}
                                                          : eval(node.children[2]);
        }
        if (name == u"NOT") {
            bool b;
            if (!toBool(argValue(node, 0), &b, &error))
                return {error};
            return {Value::boolean(!b)};
        }
        if (name == u"ROWS" || name == u"COLUMNS") {
            const Operand o = eval(node.children[0]);
            if (!o.isArea)
                return {Value::number(1)};
            return {Value::number(name == u"ROWS" ? o.bottom - o.top + 1 : o.right - o.left + 1)};
        }
        if (name == u"ISBLANK")
            return {Value::boolean(argValue(node, 0).isEmpty())};
        if (name == u"TODAY")
            return {Value::number(Rt::DateTime::fromDate(QDate::currentDate()))};
        if (name == u"NOW")
            return {Value::number(Rt::DateTime::fromDateTime(QDateTime::currentDateTime()))};
        if (name == u"CONCATENATE") {
            QString text;
            for (size_t i = 0; i < argc; ++i) {
                QString s;
                if (!argText(node, i, &s, &error))
                    return {error};
                if (text.size() + s.size() > MaxTextLength)
                    return {Value::error(ErrorCode::Value)};
                text += s;
            }
            return {Value::text(text)};
        }
        if (name == u"LEN" || name == u"UPPER" || name == u"LOWER" || name == u"TRIM"
            || name == u"LEFT" || name == u"RIGHT" || name == u"MID")
            return {textFunction(node, name)};
        return {numericFunction(node, name)};
    }

    Value textFunction(const FormulaNode &node, QStringView name)
    {
        Value error;
        QString s;
        if (!argText(node, 0, &s, &error))
            return error;
        if (name == u"LEN")
            return Value::number(double(s.size()));
        if (name == u"UPPER")
            return Value::text(s.toUpper());
        if (name == u"LOWER")
            return Value::text(s.toLower());
        if (name == u"TRIM")
            return Value::text(s.simplified());
        double n = 1;
        if (name == u"MID") {
            double start;
            if (!argNumber(node, 1, &start, &error) || !argNumber(node, 2, &n, &error))
                return error;
            if (start < 1 || n < 0)
                return Value::error(ErrorCode::Value);
            return Value::text(s.mid(qsizetype(start) - 1, qsizetype(n)));
        }
        if (node.children.size() > 1 && !argNumber(node, 1, &n, &error))
            return error;
        if (n < 0)
            return Value::error(ErrorCode::Value);
        return Value::text(name == u"LEFT" ? s.left(qsizetype(n)) : s.right(qsizetype(n)));
    }

    Value numericFunction(const FormulaNode &node, QStringView name)
    {
        Value error;
        std::vector<double> args(node.children.size());
        for (size_t i = 0; i < args.size(); ++i) {
            if (!argNumber(node, i, &args[i], &error))
                return error;
        }
        if (name == u"ABS")
            return Value::number(std::fabs(args[0]));
        if (name == u"INT")
            return Value::number(std::floor(args[0]));
        if (name == u"ROUND" || name == u"ROUNDUP" || name == u"ROUNDDOWN") {
            const int direction = name == u"ROUNDUP" ? 1 : name == u"ROUNDDOWN" ? -1 : 0;
            return numberOrError(roundTo(args[0], int(std::trunc(args[1])), direction));
        }
        if (name == u"MOD") {
            if (args[1] == 0)
                return Value::error(ErrorCode::Div0);
            return numberOrError(args[0] - args[1] * std::floor(args[0] / args[1]));
        }
        if (name == u"DATE") {
            int year = int(std::trunc(args[0]));
            if (year < 1900)
                year += 1900;
            const QDate date = QDate(year, 1, 1)
                                   .addMonths(int(std::trunc(args[1])) - 1)
                                   .addDays(qint64(std::trunc(args[2])) - 1);
            const double serial = Rt::DateTime::fromDate(date);
            if (!date.isValid() || serial < 0 || year > 9999)
                return Value::error(ErrorCode::Num);
            return Value::number(serial);
        }
        if (name == u"YEAR" || name == u"MONTH" || name == u"DAY") {
            if (args[0] < 0 || args[0] > 2958465)
                return Value::error(ErrorCode::Num);
            const QDate date = Rt::DateTime::toDate(args[0]);
            return Value::number(name == u"YEAR"    ? date.year()
                                 : name == u"MONTH" ? date.month()
                                                    : date.day());
        }
        return Value::error(ErrorCode::Name);
    }

    int m_sheet;
    EvaluationContext &m_context;
};

} // namespace

Value evaluate(const Formula &formula, int sheet, EvaluationContext &context)
{
    return Evaluator(sheet, context).value(formula.root());
}

} // namespace Rt::Xls
