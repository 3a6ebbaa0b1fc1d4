#include "OracleLexer.h"

#include "runtime/exceptions.h"

using namespace Qt::StringLiterals;

namespace OracleSql {

namespace {

// Two-character operators first, so that "<=" is not read as "<" and "=".
constexpr QStringView twoCharSymbols[] = {u"<=", u">=", u"<>", u"!=", u"^=", u"||", u":=", u"=>"};
constexpr QStringView oneCharSymbols = u"(),;.*+-/=<>@:%?|^!&[]{}";

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

// Oracle allows $ and # inside unquoted names.
bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

class Lexer
{
public:
    explicit Lexer(const QString &sql)
        : m_sql(sql)
    {}

    QList<Token> run()
    {
        QList<Token> tokens;
        while (skipBlanksAndComments())
            tokens.append(next());
        tokens.append({Token::End, QString(), m_pos});
        return tokens;
    }

private:
    QChar at(qsizetype pos) const { return pos < m_sql.size() ? m_sql.at(pos) : QChar(); }

    [[noreturn]] void fail(const QString &what, qsizetype pos) const
    {
        throw Rt::DatabaseError(u"Oracle SQL: %1 at character %2"_s.arg(what).arg(pos + 1));
    }

    // Moves past blanks and comments; false at the end of the text.
    bool skipBlanksAndComments()
    {
        for (;;) {
            // QChar::isSpace covers U+3000, which the module uses as a blank.
            while (m_pos < m_sql.size() && m_sql.at(m_pos).isSpace())
                ++m_pos;
            if (at(m_pos) == u'-' && at(m_pos + 1) == u'-') {
                const qsizetype end = m_sql.indexOf(u'\n', m_pos);
                m_pos = end < 0 ? m_sql.size() : end + 1;
            } else if (at(m_pos) == u'/' && at(m_pos + 1) == u'*') {
                // Optimizer hints (/*+ ... */) are comments too: SQLite plans on its own.
                const qsizetype end = m_sql.indexOf(u"*/", m_pos + 2);
                if (end < 0)
                    fail(u"unterminated comment"_s, m_pos);
                m_pos = end + 2;
            } else {
                return m_pos < m_sql.size();
            }
        }
    }

    Token next()
    {
        const qsizetype start = m_pos;
        const QChar c = m_sql.at(m_pos);
        if (c == u'\'')
            return {Token::String, quoted(u'\'', u"string literal"_s), start};
        if (c == u'"')
            return {Token::QuotedIdentifier, quoted(u'"', u"quoted identifier"_s), start};
        if (isDigit(c) || (c == u'.' && isDigit(at(m_pos + 1))))
            return {Token::Number, number(), start};
        if (isIdentifierStart(c)) {
            while (isIdentifierPart(at(m_pos)))
                ++m_pos;
            return {Token::Identifier, m_sql.sliced(start, m_pos - start), start};
        }
        for (QStringView symbol : twoCharSymbols) {
            if (QStringView(m_sql).sliced(m_pos).startsWith(symbol)) {
                m_pos += 2;
                return {Token::Symbol, symbol.toString(), start};
            }
        }
        if (oneCharSymbols.contains(c)) {
            ++m_pos;
            return {Token::Symbol, QString(c), start};
        }
        fail(u"unexpected character '%1'"_s.arg(c), start);
    }

    // A literal between quote characters; a doubled quote stands for one.
    QString quoted(QChar quote, const QString &what)
    {
        const qsizetype start = m_pos++;
        QString value;
        for (;;) {
            const qsizetype end = m_sql.indexOf(quote, m_pos);
            if (end < 0)
                fail(u"unterminated "_s + what, start);
            value += QStringView(m_sql).sliced(m_pos, end - m_pos);
            m_pos = end + 1;
            if (at(m_pos) != quote)
                return value;
            value += quote;
            ++m_pos;
        }
    }

    QString number()
    {
        const qsizetype start = m_pos;
        while (isDigit(at(m_pos)))
            ++m_pos;
        if (at(m_pos) == u'.') {
            ++m_pos;
            while (isDigit(at(m_pos)))
                ++m_pos;
        }
        if ((at(m_pos) == u'e' || at(m_pos) == u'E')
            && (isDigit(at(m_pos + 1))
                || ((at(m_pos + 1) == u'+' || at(m_pos + 1) == u'-') && isDigit(at(m_pos + 2))))) {
            m_pos += 2;
            while (isDigit(at(m_pos)))
                ++m_pos;
        }
        if (isIdentifierStart(at(m_pos)))
            fail(u"malformed number"_s, start);
        return m_sql.sliced(start, m_pos - start);
    }

    const QString &m_sql;
    qsizetype m_pos = 0;
};

} // namespace

bool Token::isWord(QStringView word) const
{
    return kind == Identifier && text.compare(word, Qt::CaseInsensitive) == 0;
}

bool Token::isSymbol(QStringView symbol) const
{
    return kind == Symbol && text == symbol;
}

QList<Token> tokenize(const QString &sql)
{
    return Lexer(sql).run();
}

} // namespace OracleSql
