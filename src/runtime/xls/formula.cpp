#include "formula.h"

#include "functions.h"
#include "runtime/exceptions.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

using Kind = FormulaNode::Kind;
using Op = FormulaNode::Op;

// Deep nesting is refused before it can exhaust the stack.
constexpr int MaxDepth = 64;
constexpr int MaxFormulaLength = 8192;

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$';
}

// A cell reference such as A1, $B$2, iv65536.
bool parseCellRef(QStringView text, CellRef *ref)
{
    qsizetype i = 0;
    auto dollar = [&]() {
        const bool found = i < text.size() && text[i] == u'$';
        i += found ? 1 : 0;
        return found;
    };
    const bool columnAbsolute = dollar();
    int column = 0;
    const qsizetype lettersStart = i;
    for (; i < text.size() && i - lettersStart < 4; ++i) {
        const char16_t c = QChar::toUpper(text[i].unicode());
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
    }
    const qsizetype letters = i - lettersStart;
    const bool rowAbsolute = dollar();
    const qsizetype digitsStart = i;
    int row = 0;
    for (; i < text.size() && text[i].isDigit() && i - digitsStart < 6; ++i)
        row = row * 10 + text[i].digitValue();
    const qsizetype digits = i - digitsStart;
    if (i != text.size() || letters < 1 || letters > 3 || digits < 1 || digits > 5)
        return false;
    if (column < 1 || column > MaxColumns || row < 1 || row > MaxRows)
        return false;
    ref->column = column - 1;
    ref->row = row - 1;
    ref->columnAbsolute = columnAbsolute;
    ref->rowAbsolute = rowAbsolute;
    return true;
}

class Parser
{
public:
    explicit Parser(const QString &text)
        : m_text(text)
    {}

    FormulaNode parse(bool *isVolatile)
    {
        FormulaNode root = comparison(0);
        skipSpace();
        if (m_pos < m_text.size())
            fail(u"“%1”处有多余的内容"_s.arg(m_text.mid(m_pos, 10)));
        *isVolatile = m_volatile;
        return root;
    }

private:
    [[noreturn]] void fail(const QString &reason) const
    {
        throw Exception(u"公式“=%1”无效：%2。"_s.arg(m_text, reason));
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    QChar peek()
    {
        skipSpace();
        return m_pos < m_text.size() ? m_text.at(m_pos) : QChar();
    }
    bool accept(QStringView token)
    {
        skipSpace();
        if (QStringView(m_text).mid(m_pos).startsWith(token)) {
            m_pos += token.size();
            return true;
        }
        return false;
    }
    void enter(int depth) const
    {
        if (depth > MaxDepth)
            fail(u"嵌套太深"_s);
    }

    static FormulaNode binary(Op op, FormulaNode left, FormulaNode right)
    {
        FormulaNode node;
        node.kind = Kind::Binary;
        node.op = op;
        node.children.push_back(std::move(left));
        node.children.push_back(std::move(right));
        return node;
    }

    FormulaNode comparison(int depth)
    {
        enter(depth);
        FormulaNode left = concat(depth);
        for (;;) {
            Op op;
            if (accept(u"<>"))
                op = Op::NotEqual;
            else if (accept(u"<="))
                op = Op::LessEqual;
            else if (accept(u">="))
                op = Op::GreaterEqual;
            else if (accept(u"<"))
                op = Op::Less;
            else if (accept(u">"))
                op = Op::Greater;
            else if (accept(u"="))
                op = Op::Equal;
            else
                return left;
            left = binary(op, std::move(left), concat(depth));
        }
    }
    FormulaNode concat(int depth)
    {
        FormulaNode left = additive(depth);
        while (accept(u"&"))
            left = binary(Op::Concat, std::move(left), additive(depth));
        return left;
    }
    FormulaNode additive(int depth)
    {
        FormulaNode left = multiplicative(depth);
        for (;;) {
            if (accept(u"+"))
                left = binary(Op::Add, std::move(left), multiplicative(depth));
            else if (accept(u"-"))
                left = binary(Op::Subtract, std::move(left), multiplicative(depth));
            else
                return left;
        }
    }
    FormulaNode multiplicative(int depth)
    {
        FormulaNode left = power(depth);
        for (;;) {
            if (accept(u"*"))
                left = binary(Op::Multiply, std::move(left), power(depth));
            else if (accept(u"/"))
                left = binary(Op::Divide, std::move(left), power(depth));
            else
                return left;
        }
    }
    // ^ groups from the left, as the format's own formulas do: 2^3^2 is 64.
    FormulaNode power(int depth)
    {
        FormulaNode left = percent(depth);
        while (accept(u"^"))
            left = binary(Op::Power, std::move(left), percent(depth));
        return left;
    }
    FormulaNode percent(int depth)
    {
        FormulaNode operand = unary(depth);
        while (accept(u"%")) {
            FormulaNode node;
            node.kind = Kind::Percent;
            node.children.push_back(std::move(operand));
            operand = std::move(node);
        }
        return operand;
    }
    // Negation binds tighter than ^: -2^2 is 4.
    FormulaNode unary(int depth)
    {
        enter(depth);
        Op op = Op::None;
        if (accept(u"-"))
            op = Op::Minus;
        else if (accept(u"+"))
            op = Op::Plus;
        if (op == Op::None)
            return primary(depth);
        FormulaNode node;
        node.kind = Kind::Unary;
        node.op = op;
        node.children.push_back(unary(depth + 1));
        return node;
    }

    FormulaNode primary(int depth)
    {
        const QChar c = peek();
        if (c.isNull())
            fail(u"公式不完整"_s);
        if (c == u'(') {
            ++m_pos;
            FormulaNode node;
            node.kind = Kind::Paren;
            node.children.push_back(comparison(depth + 1));
            if (!accept(u")"))
                fail(u"缺少右括号"_s);
            return node;
        }
        if (c == u'"')
            return stringLiteral();
        if (c == u'#')
            return errorLiteral();
        if (c.isDigit() || c == u'.')
            return numberLiteral();
        return nameOrReference(depth);
    }

    FormulaNode stringLiteral()
    {
        ++m_pos;
        FormulaNode node;
        node.kind = Kind::Text;
        for (;;) {
            if (m_pos >= m_text.size())
                fail(u"文字缺少结束的引号"_s);
            const QChar c = m_text.at(m_pos++);
            if (c == u'"') {
                if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') {
                    node.text += c;
                    ++m_pos;
                    continue;
                }
                break;
            }
            node.text += c;
        }
        if (node.text.size() > 255)
            fail(u"公式中的文字不能超过 255 个字符"_s);
        return node;
    }

    FormulaNode errorLiteral()
    {
        for (ErrorCode code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                               ErrorCode::Name, ErrorCode::Num, ErrorCode::NA}) {
            if (accept(errorText(code))) {
                FormulaNode node;
                node.kind = Kind::Error;
                node.error = code;
                return node;
            }
        }
        fail(u"未知的错误值"_s);
    }

    FormulaNode numberLiteral()
    {
        const qsizetype start = m_pos;
        auto digits = [this]() {
            while (m_pos < m_text.size() && m_text.at(m_pos).isDigit()
                   && m_text.at(m_pos).unicode() < 128)
                ++m_pos;
        };
        digits();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'.') {
            ++m_pos;
            digits();
        }
        if (m_pos < m_text.size() && (m_text.at(m_pos) == u'e' || m_text.at(m_pos) == u'E')) {
            const qsizetype mark = m_pos++;
            if (m_pos < m_text.size() && (m_text.at(m_pos) == u'+' || m_text.at(m_pos) == u'-'))
                ++m_pos;
            const qsizetype exponent = m_pos;
            digits();
            if (m_pos == exponent)
                m_pos = mark;
        }
        bool ok = false;
        FormulaNode node;
        node.number = QStringView(m_text).mid(start, m_pos - start).toDouble(&ok);
        if (!ok || !std::isfinite(node.number))
            fail(u"“%1”不是数字"_s.arg(m_text.mid(start, m_pos - start + 1)));
        return node;
    }

    QString sheetPrefix()
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u'\'') {
            QString name;
            for (++m_pos;; ++m_pos) {
                if (m_pos >= m_text.size())
                    fail(u"工作表名称缺少结束的引号"_s);
                if (m_text.at(m_pos) == u'\'') {
                    if (m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == u'\'') {
                        name += u'\'';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                name += m_text.at(m_pos);
            }
            ++m_pos;
            if (!accept(u"!"))
                fail(u"工作表名称后缺少“!”"_s);
            return name;
        }
        return QString();
    }

    QString nameAt()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && isNameChar(m_text.at(m_pos)))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    FormulaNode nameOrReference(int depth)
    {
        QString sheet = sheetPrefix();
        bool hasSheet = !sheet.isNull();
        QString name = nameAt();
        if (name.isEmpty())
            fail(u"“%1”处不能有“%2”"_s.arg(m_pos + 1).arg(m_text.at(m_pos)));
        if (!hasSheet && m_pos < m_text.size() && m_text.at(m_pos) == u'!') {
            ++m_pos;
            sheet = name;
            hasSheet = true;
            name = nameAt();
        }
        if (!hasSheet && peek() == u'(')
            return functionCall(name, depth);
        FormulaNode node;
        if (!parseCellRef(name, &node.first)) {
            if (!hasSheet
                && (name.compare(u"TRUE"_s, Qt::CaseInsensitive) == 0
                    || name.compare(u"FALSE"_s, Qt::CaseInsensitive) == 0)) {
                node.kind = Kind::Boolean;
                node.number = name.compare(u"TRUE"_s, Qt::CaseInsensitive) == 0 ? 1 : 0;
                return node;
            }
            fail(u"“%1”不是单元格引用"_s.arg(name));
        }
        node.kind = Kind::Reference;
        node.text = sheet;
        if (m_pos < m_text.size() && m_text.at(m_pos) == u':') {
            ++m_pos;
            const QString second = nameAt();
            if (!parseCellRef(second, &node.last))
                fail(u"“%1”不是单元格引用"_s.arg(second));
            node.kind = Kind::Area;
            // Areas are kept with their first cell top left.
            if (node.last.row < node.first.row)
                std::swap(node.first.row, node.last.row);
            if (node.last.column < node.first.column)
                std::swap(node.first.column, node.last.column);
        }
        return node;
    }

    FormulaNode functionCall(const QString &name, int depth)
    {
        // TRUE() and FALSE() are the constants written as calls.
        for (bool value : {true, false}) {
            if (name.compare(value ? u"TRUE"_s : u"FALSE"_s, Qt::CaseInsensitive) == 0) {
                accept(u"(");
                if (!accept(u")"))
                    fail(u"%1() 不带参数"_s.arg(name));
                FormulaNode node;
                node.kind = Kind::Boolean;
                node.number = value ? 1 : 0;
                return node;
            }
        }
        const FunctionInfo *function = functionByName(name);
        if (!function)
            fail(u"未知的函数 %1"_s.arg(name));
        accept(u"(");
        FormulaNode node;
        node.kind = Kind::Function;
        node.function = function;
        if (!accept(u")")) {
            for (;;) {
                const QChar c = peek();
                if (c == u',' || c == u')') {
                    FormulaNode missing;
                    missing.kind = Kind::Missing;
                    node.children.push_back(missing);
                } else {
                    node.children.push_back(comparison(depth + 1));
                }
                if (accept(u")"))
                    break;
                if (!accept(u","))
                    fail(u"函数 %1 的参数后缺少“,”或“)”"_s.arg(function->name));
            }
        }
        const int count = int(node.children.size());
        if (count < function->minArgs || count > function->maxArgs) {
            fail(u"函数 %1 需要 %2 到 %3 个参数"_s.arg(QString::fromUtf16(function->name))
                     .arg(function->minArgs)
                     .arg(function->maxArgs));
        }
        m_volatile = m_volatile || function->isVolatile;
        return node;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    bool m_volatile = false;
};

} // namespace

FormulaRef Formula::parse(const QString &text)
{
    // Owned by the reference from the start: a refused text frees it.
    QExplicitlySharedDataPointer<Formula> formula(new Formula);
    QString body = text.trimmed();
    if (body.startsWith(u'='))
        body = body.mid(1).trimmed();
    if (body.isEmpty())
        throw Exception(u"公式是空的。"_s);
    if (body.size() > MaxFormulaLength)
        throw Exception(u"公式太长（最多 %1 个字符）。"_s.arg(MaxFormulaLength));
    formula->m_text = body;
    formula->m_root = Parser(formula->m_text).parse(&formula->m_volatile);
    return FormulaRef(formula.data());
}

QString sumFormula(const QStringList &arguments)
{
    QStringList level = arguments;
    while (level.size() > MaxArguments) {
        QStringList sums;
        for (qsizetype i = 0; i < level.size(); i += MaxArguments)
            sums << u"SUM("_s + level.mid(i, MaxArguments).join(u',') + u")"_s;
        level = sums;
    }
    return u"SUM("_s + level.join(u',') + u")"_s;
}

QString cellName(int row, int column)
{
    return columnName(column) + QString::number(row + 1);
}

QString referenceText(const CellRef &ref)
{
    return (ref.columnAbsolute ? u"$"_s : QString()) + columnName(ref.column)
           + (ref.rowAbsolute ? u"$"_s : QString()) + QString::number(ref.row + 1);
}

QString formulaSheetName(const QString &sheet)
{
    bool plain = !sheet.isEmpty() && !sheet.at(0).isDigit();
    for (QChar c : sheet)
        plain = plain && (c.isLetterOrNumber() || c == u'_');
    CellRef ref;
    // A name that reads as a cell or a Boolean must be quoted, as must any other.
    if (plain && !parseCellRef(sheet, &ref) && sheet.compare(u"TRUE"_s, Qt::CaseInsensitive) != 0
        && sheet.compare(u"FALSE"_s, Qt::CaseInsensitive) != 0)
        return sheet;
    QString quoted = sheet;
    quoted.replace(u'\'', u"''"_s);
    return u"'"_s + quoted + u"'"_s;
}

} // namespace Rt::Xls
