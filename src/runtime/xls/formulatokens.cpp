#include "formulatokens.h"

#include "bytes_p.h"
#include "functions.h"
#include "records_p.h"
#include "runtime/exceptions.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

using Kind = FormulaNode::Kind;
using Op = FormulaNode::Op;

namespace Ptg {
enum : quint8 {
    Exp = 0x01,
    Add = 0x03,
    Sub = 0x04,
    Mul = 0x05,
    Div = 0x06,
    Power = 0x07,
    Concat = 0x08,
    Lt = 0x09,
    Le = 0x0A,
    Eq = 0x0B,
    Ge = 0x0C,
    Gt = 0x0D,
    Ne = 0x0E,
    Isect = 0x0F,
    Union = 0x10,
    Range = 0x11,
    Uplus = 0x12,
    Uminus = 0x13,
    Percent = 0x14,
    Paren = 0x15,
    MissArg = 0x16,
    Str = 0x17,
    Attr = 0x19,
    Err = 0x1C,
    Bool = 0x1D,
    Int = 0x1E,
    Num = 0x1F,
    // Classified tokens, reference class; +0x20 value class, +0x40 array class.
    Array = 0x20,
    Func = 0x21,
    FuncVar = 0x22,
    Name = 0x23,
    Ref = 0x24,
    Area = 0x25,
    MemArea = 0x26,
    MemErr = 0x27,
    MemNoMem = 0x28,
    MemFunc = 0x29,
    RefErr = 0x2A,
    AreaErr = 0x2B,
    RefN = 0x2C,
    AreaN = 0x2D,
    NameX = 0x39,
    Ref3d = 0x3A,
    Area3d = 0x3B,
    RefErr3d = 0x3C,
    AreaErr3d = 0x3D,
};
} // namespace Ptg

namespace AttrKind {
enum : quint8 { Volatile = 0x01, If = 0x02, Choose = 0x04, Skip = 0x08, Sum = 0x10 };
}

constexpr quint8 ReferenceClass = 0x00;
constexpr quint8 ValueClass = 0x20;

quint8 binaryPtg(Op op)
{
    switch (op) {
    case Op::Add:
        return Ptg::Add;
    case Op::Subtract:
        return Ptg::Sub;
    case Op::Multiply:
        return Ptg::Mul;
    case Op::Divide:
        return Ptg::Div;
    case Op::Power:
        return Ptg::Power;
    case Op::Concat:
        return Ptg::Concat;
    case Op::Less:
        return Ptg::Lt;
    case Op::LessEqual:
        return Ptg::Le;
    case Op::Equal:
        return Ptg::Eq;
    case Op::GreaterEqual:
        return Ptg::Ge;
    case Op::Greater:
        return Ptg::Gt;
    case Op::NotEqual:
        return Ptg::Ne;
    default:
        return 0;
    }
}

// Column field of a reference: bit 14 column relative, bit 15 row relative.
quint16 columnField(const CellRef &ref)
{
    return quint16(ref.column | (ref.columnAbsolute ? 0 : 0x4000) | (ref.rowAbsolute ? 0 : 0x8000));
}

class Compiler
{
public:
    Compiler(QByteArray &out, const std::function<quint16(const QString &)> &externSheet)
        : m_out(out)
        , m_w(out)
        , m_externSheet(externSheet)
    {}

    // cls is the class the operand is wanted in: ReferenceClass or ValueClass.
    void compile(const FormulaNode &node, quint8 cls)
    {
        switch (node.kind) {
        case Kind::Number:
            // ptgInt holds unsigned 16-bit integers; a minus sign stays an operator.
            if (node.number >= 0 && node.number <= 65535
                && node.number == double(int(node.number))) {
                m_w.u8(Ptg::Int);
                m_w.u16(quint16(node.number));
            } else {
                m_w.u8(Ptg::Num);
                m_w.f64(node.number);
            }
            break;
        case Kind::Text: {
            m_w.u8(Ptg::Str);
            const bool wide = std::any_of(node.text.cbegin(), node.text.cend(),
                                          [](QChar c) { return c.unicode() > 0xFF; });
            m_w.u8(quint8(node.text.size()));
            m_w.u8(wide ? 1 : 0);
            for (QChar c : node.text) {
                if (wide)
                    m_w.u16(c.unicode());
                else
                    m_w.u8(quint8(c.unicode()));
            }
            break;
        }
        case Kind::Boolean:
            m_w.u8(Ptg::Bool);
            m_w.u8(node.number != 0 ? 1 : 0);
            break;
        case Kind::Error:
            m_w.u8(Ptg::Err);
            m_w.u8(quint8(node.error));
            break;
        case Kind::Missing:
            m_w.u8(Ptg::MissArg);
            break;
        case Kind::Reference:
            if (node.text.isEmpty()) {
                m_w.u8(Ptg::Ref + cls);
            } else {
                m_w.u8(Ptg::Ref3d + cls);
                m_w.u16(m_externSheet(node.text));
            }
            m_w.u16(quint16(node.first.row));
            m_w.u16(columnField(node.first));
            break;
        case Kind::Area:
            if (node.text.isEmpty()) {
                m_w.u8(Ptg::Area + cls);
            } else {
                m_w.u8(Ptg::Area3d + cls);
                m_w.u16(m_externSheet(node.text));
            }
            m_w.u16(quint16(node.first.row));
            m_w.u16(quint16(node.last.row));
            m_w.u16(columnField(node.first));
            m_w.u16(columnField(node.last));
            break;
        case Kind::Unary:
            compile(node.children[0], ValueClass);
            m_w.u8(node.op == Op::Minus ? Ptg::Uminus : Ptg::Uplus);
            break;
        case Kind::Percent:
            compile(node.children[0], ValueClass);
            m_w.u8(Ptg::Percent);
            break;
        case Kind::Binary:
            compile(node.children[0], ValueClass);
            compile(node.children[1], ValueClass);
            m_w.u8(binaryPtg(node.op));
            break;
        case Kind::Paren:
            compile(node.children[0], cls);
            m_w.u8(Ptg::Paren);
            break;
        case Kind::Function:
            if (node.function->index == 1)
                compileIf(node);
            else
                compileFunction(node);
            break;
        }
    }

    void volatileMark() { attr(AttrKind::Volatile); }

private:
    void compileArgs(const FormulaNode &node)
    {
        for (size_t i = 0; i < node.children.size(); ++i)
            compileArg(node, i);
    }
    void compileArg(const FormulaNode &node, size_t i)
    {
        const char cls = node.function->argClass(int(i));
        compile(node.children[i], cls == 'R' ? ReferenceClass : ValueClass);
    }
    void functionToken(const FormulaNode &node)
    {
        const FunctionInfo *f = node.function;
        if (f->fixed) {
            m_w.u8(Ptg::Func + ValueClass);
            m_w.u16(f->index);
        } else {
            m_w.u8(Ptg::FuncVar + ValueClass);
            m_w.u8(quint8(node.children.size()));
            m_w.u16(f->index);
        }
    }
    void compileFunction(const FormulaNode &node)
    {
        compileArgs(node);
        functionToken(node);
    }
    // IF with the jump tokens Excel writes: after the condition a tAttrIf that
    // skips to the false branch, after each branch a tAttrSkip to the function.
    void compileIf(const FormulaNode &node)
    {
        compileArg(node, 0);
        const qsizetype ifAt = attr(AttrKind::If);
        compileArg(node, 1);
        const qsizetype skipTrue = attr(AttrKind::Skip);
        m_w.patchU16(ifAt + 2, quint16(m_out.size() - (ifAt + 4)));
        qsizetype skipFalse = -1;
        if (node.children.size() > 2) {
            compileArg(node, 2);
            skipFalse = attr(AttrKind::Skip);
        }
        const qsizetype functionAt = m_out.size();
        functionToken(node);
        // Skip distances count to the last byte before the function token's end.
        m_w.patchU16(skipTrue + 2, quint16(functionAt + 4 - (skipTrue + 4) - 1));
        if (skipFalse >= 0)
            m_w.patchU16(skipFalse + 2, quint16(functionAt + 4 - (skipFalse + 4) - 1));
    }
    qsizetype attr(quint8 kind)
    {
        const qsizetype at = m_out.size();
        m_w.u8(Ptg::Attr);
        m_w.u8(kind);
        m_w.u16(0);
        return at;
    }

    QByteArray &m_out;
    ByteWriter m_w;
    const std::function<quint16(const QString &)> &m_externSheet;
};

} // namespace

QByteArray compileFormula(const Formula &formula,
                          const std::function<quint16(const QString &)> &externSheet)
{
    QByteArray tokens;
    Compiler compiler(tokens, externSheet);
    // Volatile formulas are announced by a leading token, as Excel writes them.
    if (formula.isVolatile())
        compiler.volatileMark();
    compiler.compile(formula.root(), ValueClass);
    // A FORMULA record holds 22 bytes besides the tokens.
    if (tokens.size() > MaxRecordData - 22)
        throw Exception(u"公式“=%1”太长，无法保存。"_s.arg(formula.text()));
    return tokens;
}

namespace {

// Operator precedence for the text: parentheses are added where the token order
// needs them even when the file has no ptgParen.
enum Precedence {
    Comparison = 1,
    ConcatPrec,
    Additive,
    Multiplicative,
    PowerPrec,
    PercentPrec,
    UnaryPrec,
    Atom
};

struct Item
{
    QString text;
    int precedence;
};

class Decompiler
{
public:
    Decompiler(QByteArrayView tokens, const DecompileContext &context)
        : m_r(tokens.data(), tokens.size(), u"公式"_s)
        , m_context(context)
    {}

    std::optional<QString> run()
    {
        while (!m_r.atEnd()) {
            if (!step())
                return std::nullopt;
            // Keeps a crafted formula from growing without bound.
            if (m_stack.size() > 1024)
                return std::nullopt;
        }
        if (m_stack.size() != 1)
            return std::nullopt;
        return m_stack.back().text;
    }

private:
    bool push(QString text, int precedence = Atom)
    {
        m_stack.push_back({std::move(text), precedence});
        return true;
    }
    bool pop(Item *item)
    {
        if (m_stack.empty())
            return false;
        *item = std::move(m_stack.back());
        m_stack.pop_back();
        return true;
    }
    static QString wrap(const Item &item, int needed)
    {
        return item.precedence < needed ? u"("_s + item.text + u")"_s : item.text;
    }
    bool binary(const QString &op, int precedence)
    {
        Item right, left;
        if (!pop(&right) || !pop(&left))
            return false;
        // Operators group from the left: an equal right operand needs parentheses.
        return push(wrap(left, precedence) + op + wrap(right, precedence + 1), precedence);
    }

    QString sheetPrefix(quint16 xti, bool *ok) const
    {
        const QString name = m_context.sheetName ? m_context.sheetName(xti) : QString();
        *ok = !name.isNull();
        return formulaSheetName(name) + u"!"_s;
    }

    // A reference's row and column fields; in shared formulas (relative == true)
    // relative parts are offsets from the formula's cell.
    QString reference(quint16 row, quint16 columnField, bool relative) const
    {
        CellRef ref;
        ref.rowAbsolute = !(columnField & 0x8000);
        ref.columnAbsolute = !(columnField & 0x4000);
        int r = row;
        int c = columnField & 0xFF;
        if (relative && !ref.rowAbsolute)
            r = (m_context.row + qint16(row)) & 0xFFFF;
        if (relative && !ref.columnAbsolute)
            c = (m_context.column + qint8(quint8(c))) & 0xFF;
        ref.row = r;
        ref.column = c;
        return referenceText(ref);
    }

    bool step()
    {
        const quint8 id = m_r.u8();
        if (id >= 0x20) {
            const quint8 base = (id & 0x1F) | 0x20;
            return classified(base);
        }
        switch (id) {
        case Ptg::Add:
            return binary(u"+"_s, Additive);
        case Ptg::Sub:
            return binary(u"-"_s, Additive);
        case Ptg::Mul:
            return binary(u"*"_s, Multiplicative);
        case Ptg::Div:
            return binary(u"/"_s, Multiplicative);
        case Ptg::Power:
            return binary(u"^"_s, PowerPrec);
        case Ptg::Concat:
            return binary(u"&"_s, ConcatPrec);
        case Ptg::Lt:
            return binary(u"<"_s, Comparison);
        case Ptg::Le:
            return binary(u"<="_s, Comparison);
        case Ptg::Eq:
            return binary(u"="_s, Comparison);
        case Ptg::Ge:
            return binary(u">="_s, Comparison);
        case Ptg::Gt:
            return binary(u">"_s, Comparison);
        case Ptg::Ne:
            return binary(u"<>"_s, Comparison);
        case Ptg::Uplus:
        case Ptg::Uminus: {
            Item operand;
            if (!pop(&operand))
                return false;
            return push((id == Ptg::Uminus ? u"-"_s : u"+"_s) + wrap(operand, UnaryPrec),
                        UnaryPrec);
        }
        case Ptg::Percent: {
            Item operand;
            if (!pop(&operand))
                return false;
            return push(wrap(operand, PercentPrec) + u"%"_s, PercentPrec);
        }
        case Ptg::Paren: {
            Item operand;
            if (!pop(&operand))
                return false;
            return push(u"("_s + operand.text + u")"_s);
        }
        case Ptg::MissArg:
            return push(QString());
        case Ptg::Str: {
            const quint8 count = m_r.u8();
            const quint8 flags = m_r.u8();
            QString text;
            for (int i = 0; i < count; ++i)
                text += QChar(flags & 1 ? m_r.u16() : m_r.u8());
            text.replace(u'"', u"\"\""_s);
            return push(u"\""_s + text + u"\""_s);
        }
        case Ptg::Attr:
            return attribute();
        case Ptg::Err:
            return push(errorText(ErrorCode(m_r.u8())));
        case Ptg::Bool:
            return push(m_r.u8() ? u"TRUE"_s : u"FALSE"_s);
        case Ptg::Int:
            return push(QString::number(m_r.u16()));
        case Ptg::Num: {
            const double v = m_r.f64();
            if (!std::isfinite(v))
                return false;
            return push(QString::number(v, 'g', 17));
        }
        default:
            // ptgExp (shared formulas) is resolved by the reader; the rest —
            // tables, unions, intersections — is not for this reader.
            return false;
        }
    }

    bool attribute()
    {
        const quint8 kind = m_r.u8();
        const quint16 data = m_r.u16();
        switch (kind) {
        case AttrKind::Sum: {
            Item operand;
            if (!pop(&operand))
                return false;
            return push(u"SUM("_s + operand.text + u")"_s);
        }
        case AttrKind::Choose:
            m_r.skip(qsizetype(data + 1) * 2);
            return true;
        default:
            // Volatile marks, jumps and spaces only help evaluation or display.
            return true;
        }
    }

    bool classified(quint8 base)
    {
        switch (base) {
        case Ptg::Func:
        case Ptg::FuncVar: {
            int argc = -1;
            if (base == Ptg::FuncVar)
                argc = m_r.u8() & 0x7F;
            const quint16 index = m_r.u16();
            const FunctionInfo *f = (index & 0x8000) ? nullptr : functionByIndex(index);
            if (!f)
                return false;
            if (argc < 0)
                argc = f->minArgs;
            if (argc > int(m_stack.size()))
                return false;
            QStringList args;
            for (int i = 0; i < argc; ++i) {
                Item arg;
                pop(&arg);
                args.prepend(arg.text);
            }
            return push(QString::fromUtf16(f->name) + u"("_s + args.join(u',') + u")"_s);
        }
        case Ptg::Ref:
        case Ptg::RefN: {
            const quint16 row = m_r.u16();
            const quint16 col = m_r.u16();
            return push(reference(row, col, base == Ptg::RefN));
        }
        case Ptg::Area:
        case Ptg::AreaN: {
            const quint16 row1 = m_r.u16();
            const quint16 row2 = m_r.u16();
            const quint16 col1 = m_r.u16();
            const quint16 col2 = m_r.u16();
            const bool relative = base == Ptg::AreaN;
            return push(reference(row1, col1, relative) + u":"_s + reference(row2, col2, relative));
        }
        case Ptg::Ref3d: {
            bool ok;
            const QString sheet = sheetPrefix(m_r.u16(), &ok);
            const quint16 row = m_r.u16();
            const quint16 col = m_r.u16();
            return ok && push(sheet + reference(row, col, false));
        }
        case Ptg::Area3d: {
            bool ok;
            const QString sheet = sheetPrefix(m_r.u16(), &ok);
            const quint16 row1 = m_r.u16();
            const quint16 row2 = m_r.u16();
            const quint16 col1 = m_r.u16();
            const quint16 col2 = m_r.u16();
            return ok
                   && push(sheet + reference(row1, col1, false) + u":"_s
                           + reference(row2, col2, false));
        }
        case Ptg::RefErr:
            m_r.skip(4);
            return push(u"#REF!"_s);
        case Ptg::AreaErr:
            m_r.skip(8);
            return push(u"#REF!"_s);
        case Ptg::RefErr3d:
            m_r.skip(6);
            return push(u"#REF!"_s);
        case Ptg::AreaErr3d:
            m_r.skip(10);
            return push(u"#REF!"_s);
        case Ptg::MemArea:
        case Ptg::MemErr:
        case Ptg::MemNoMem:
            // The sub-expression follows inline and is read as usual.
            m_r.skip(6);
            return true;
        case Ptg::MemFunc:
            m_r.skip(2);
            return true;
        default:
            // Arrays and names need data this reader does not keep.
            return false;
        }
    }

    ByteReader m_r;
    const DecompileContext &m_context;
    std::vector<Item> m_stack;
};

} // namespace

std::optional<QString> decompileFormula(QByteArrayView tokens, const DecompileContext &context)
{
    try {
        return Decompiler(tokens, context).run();
    } catch (const Exception &) {
        // A token running past the array: the formula is damaged, the cached
        // value still stands.
        return std::nullopt;
    }
}

} // namespace Rt::Xls
