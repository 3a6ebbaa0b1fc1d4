#include "OracleDialect.h"

#include "OracleLexer.h"

#include "runtime/datetime.h"
#include "runtime/exceptions.h"

#include <QDate>
#include <QSet>
#include <optional>

using namespace Qt::StringLiterals;

namespace OracleSql {

namespace {

enum class ValueKind { Plain, Date };

struct FunctionRule
{
    QStringView name; // the same in both dialects, unless call() says otherwise
    int minArgs;
    int maxArgs;
    bool aggregate;
};

constexpr FunctionRule functionRules[] = {
    {u"count", 1, 1, true},  {u"max", 1, 1, true},     {u"min", 1, 1, true},
    {u"sum", 1, 1, true},    {u"trim", 1, 1, false},   {u"upper", 1, 1, false},
    {u"lower", 1, 1, false}, {u"substr", 2, 3, false}, {u"regexp_replace", 2, 3, false},
    {u"nvl", 2, 2, false},   {u"length", 1, 1, false},
};

const FunctionRule *functionRule(const QString &name)
{
    for (const FunctionRule &rule : functionRules) {
        if (name.compare(rule.name, Qt::CaseInsensitive) == 0)
            return &rule;
    }
    return nullptr;
}

// Words that can be neither a name nor an alias: the clauses of the accepted
// grammar and the Oracle constructs it refuses, so that "from t connect by ..."
// is refused as CONNECT BY instead of reading CONNECT as an alias.
bool isReserved(const Token &token)
{
    static const QSet<QString> words = {
        u"ALL"_s,       u"AND"_s,    u"ANY"_s,      u"AS"_s,        u"ASC"_s,    u"BEGIN"_s,
        u"BETWEEN"_s,   u"BY"_s,     u"CASE"_s,     u"CONNECT"_s,   u"CROSS"_s,  u"DECLARE"_s,
        u"DELETE"_s,    u"DESC"_s,   u"DISTINCT"_s, u"ELSE"_s,      u"END"_s,    u"ESCAPE"_s,
        u"EXCEPTION"_s, u"EXISTS"_s, u"FETCH"_s,    u"FOR"_s,       u"FROM"_s,   u"FULL"_s,
        u"GROUP"_s,     u"HAVING"_s, u"IN"_s,       u"INNER"_s,     u"INSERT"_s, u"INTERSECT"_s,
        u"INTO"_s,      u"IS"_s,     u"JOIN"_s,     u"LEFT"_s,      u"LEVEL"_s,  u"LIKE"_s,
        u"LIMIT"_s,     u"MERGE"_s,  u"MINUS"_s,    u"NATURAL"_s,   u"NOT"_s,    u"NULL"_s,
        u"NULLS"_s,     u"OFFSET"_s, u"ON"_s,       u"OR"_s,        u"ORDER"_s,  u"OUTER"_s,
        u"PARTITION"_s, u"PIVOT"_s,  u"PRIOR"_s,    u"RETURNING"_s, u"RIGHT"_s,  u"ROWID"_s,
        u"ROWNUM"_s,    u"SELECT"_s, u"SET"_s,      u"SOME"_s,      u"START"_s,  u"SYSDATE"_s,
        u"THEN"_s,      u"UNION"_s,  u"UNPIVOT"_s,  u"UPDATE"_s,    u"USING"_s,  u"VALUES"_s,
        u"WHEN"_s,      u"WHERE"_s,  u"WITH"_s,
    };
    return token.kind == Token::Identifier && words.contains(token.text.toUpper());
}

// Constructs spelled with two words, named by both in error messages.
bool startsTwoWordConstruct(const Token &token)
{
    static const QSet<QString> words = {
        u"CONNECT"_s, u"CROSS"_s, u"FOR"_s,   u"FULL"_s,      u"GROUP"_s, u"INNER"_s, u"LEFT"_s,
        u"NATURAL"_s, u"NULLS"_s, u"ORDER"_s, u"PARTITION"_s, u"RIGHT"_s, u"START"_s, u"UNION"_s,
    };
    return token.kind == Token::Identifier && words.contains(token.text.toUpper());
}

// A string literal; both targets read doubled quotes and nothing else as special
// (PostgreSQL with standard_conforming_strings, its default).
QString stringLiteral(const QString &value)
{
    QString escaped = value;
    escaped.replace(u'\'', u"''"_s);
    return u'\'' + escaped + u'\'';
}

// The "yyyy-mm-dd" text of a to_date argument. Like Oracle, month and day may
// come without their leading zero; the stored form always has it.
QString checkedDate(const QString &text)
{
    const std::optional<QDate> date = Rt::DateTime::parseDate(text);
    if (!date) {
        throw Rt::DatabaseError(
            u"to_date: '%1' is not a valid date of the form yyyy-mm-dd"_s.arg(text));
    }
    return date->toString(u"yyyy-MM-dd"_s);
}

// A function's argument as translated, and whether it was one string literal
// other than '' (which Oracle reads as NULL).
struct Argument
{
    QString sql;
    bool isText = false;
};

class Translator
{
public:
    Translator(const QString &sql, Target target, const SequenceSource &nextValue)
        : m_source(sql)
        , m_tokens(tokenize(sql))
        , m_target(target)
        , m_nextValue(nextValue)
    {}

    QStringList headers()
    {
        if (peek().isWord(u"select"))
            select();
        return m_headers;
    }

    QList<TranslatedStatement> run()
    {
        QList<TranslatedStatement> statements;
        if (acceptWord(u"begin")) {
            if (peek().isWord(u"end"))
                fail(u"an empty begin ... end block"_s, peek());
            do {
                if (peek().isWord(u"select"))
                    fail(u"SELECT inside begin ... end"_s, peek());
                statements.append(statement());
                expectSymbol(u";");
            } while (!acceptWord(u"end"));
            expectSymbol(u";");
        } else {
            statements.append(statement());
            if (peek().isSymbol(u";")) {
                throw Rt::DatabaseError(
                    u"Oracle SQL: ';' ends a statement only inside begin ... end (at character %1)"_s
                        .arg(peek().position + 1));
            }
        }
        if (peek().kind != Token::End)
            unexpected(peek());
        return statements;
    }

private:
    // Tokens.

    const Token &peek(int ahead = 0) const
    {
        return m_tokens.at(qMin(m_index + ahead, m_tokens.size() - 1));
    }

    const Token &take()
    {
        const Token &token = peek();
        if (m_index < m_tokens.size() - 1)
            ++m_index;
        return token;
    }

    bool acceptWord(QStringView word)
    {
        if (!peek().isWord(word))
            return false;
        take();
        return true;
    }

    bool acceptSymbol(QStringView symbol)
    {
        if (!peek().isSymbol(symbol))
            return false;
        take();
        return true;
    }

    void expectWord(QStringView word)
    {
        if (!acceptWord(word))
            unexpected(peek());
    }

    void expectSymbol(QStringView symbol)
    {
        if (!acceptSymbol(symbol))
            unexpected(peek());
    }

    [[noreturn]] void fail(const QString &construct, const Token &at) const
    {
        const qsizetype character = at.position + 1;
        throw UnreadableSql(
            UnreadableSql::Kind::Construct, construct, character,
            u"unsupported Oracle construct: %1 (at character %2)"_s.arg(construct).arg(character));
    }

    [[noreturn]] void unexpected(const Token &token) const
    {
        switch (token.kind) {
        case Token::End:
            throw UnreadableSql(UnreadableSql::Kind::Unexpected, {}, token.position + 1,
                                u"Oracle SQL: the statement ends where more is expected"_s);
        case Token::Identifier: {
            QString construct = token.text.toUpper();
            const Token &next = m_tokens.at(qMin(indexOf(token) + 1, m_tokens.size() - 1));
            if (startsTwoWordConstruct(token) && next.kind == Token::Identifier)
                construct += u' ' + next.text.toUpper();
            fail(construct, token);
        }
        case Token::QuotedIdentifier:
        case Token::String:
        case Token::Number:
        case Token::Symbol:
            break;
        }
        const QString shown = token.kind == Token::String ? stringLiteral(token.text) : token.text;
        throw UnreadableSql(
            UnreadableSql::Kind::Unexpected, shown, token.position + 1,
            u"Oracle SQL: unexpected %1 at character %2"_s.arg(shown).arg(token.position + 1));
    }

    qsizetype indexOf(const Token &token) const { return &token - m_tokens.constData(); }

    // Output: pieces joined by single blanks, none inside "a.b", "f(x)" and before
    // a comma.

    // What writing inside run() produces, apart from the output so far.
    template <typename Writer> QString captured(Writer writer)
    {
        QString outer;
        std::swap(outer, m_out);
        writer();
        std::swap(outer, m_out);
        return outer;
    }

    void write(QStringView piece)
    {
        if (!m_out.isEmpty()) {
            const QChar last = m_out.back();
            const QChar first = piece.front();
            const bool glued =
                last == u'(' || last == u'.' || first == u',' || first == u')' || first == u'.';
            if (!glued)
                m_out += u' ';
        }
        m_out += piece;
    }

    // Statements.

    TranslatedStatement statement()
    {
        m_out.clear();
        StatementKind kind;
        if (peek().isWord(u"select")) {
            select();
            kind = StatementKind::Select;
        } else if (peek().isWord(u"insert")) {
            insert();
            kind = StatementKind::Insert;
        } else if (peek().isWord(u"update")) {
            update();
            kind = StatementKind::Update;
        } else if (peek().isWord(u"delete")) {
            remove();
            kind = StatementKind::Delete;
        } else {
            unexpected(peek());
        }
        return {kind, m_out};
    }

    void select()
    {
        expectWord(u"select");
        write(u"SELECT");
        if (acceptWord(u"distinct"))
            write(u"DISTINCT");
        const bool outermost = m_selectDepth++ == 0;
        commaList([this, outermost] {
            const QString header = selectItem();
            if (outermost)
                m_headers.append(header);
        });
        expectWord(u"from");
        // Oracle's one-row table: both engines select without a FROM.
        if (peek().isWord(u"dual") && !isName(peek(1)) && !peek(1).isSymbol(u",")) {
            take();
        } else {
            write(u"FROM");
            commaList([this] { tableReference(); });
        }
        std::optional<qint64> rowLimit;
        if (acceptWord(u"where")) {
            write(u"WHERE");
            whereCondition(rowLimit);
        }
        if (peek().isWord(u"group") && peek(1).isWord(u"by")) {
            take();
            take();
            write(u"GROUP BY");
            commaList([this] { expression(); });
            if (acceptWord(u"having")) {
                write(u"HAVING");
                expression();
            }
        }
        if (peek().isWord(u"order") && peek(1).isWord(u"by")) {
            take();
            take();
            write(u"ORDER BY");
            commaList([this] {
                expression();
                if (acceptWord(u"asc"))
                    write(u"ASC");
                else if (acceptWord(u"desc"))
                    write(u"DESC");
            });
        }
        if (rowLimit)
            write(u"LIMIT %1"_s.arg(*rowLimit));
        --m_selectDepth;
    }

    // A WHERE condition whose top-level AND terms may include "ROWNUM <= n",
    // "ROWNUM < n" or "ROWNUM = 1", which become the query's LIMIT. ROWNUM
    // counts rows before ORDER BY sorts them; LIMIT counts after, so the two
    // are not taken together. Elsewhere ROWNUM is refused.
    void whereCondition(std::optional<qint64> &rowLimit)
    {
        const auto term = [&] {
            if (!peek().isWord(u"rownum"))
                return negation();
            const Token &rownum = take();
            const Token &op = take();
            const Token &number = take();
            bool isNumber = false;
            const qint64 n = number.text.toLongLong(&isNumber);
            isNumber = isNumber && number.kind == Token::Number;
            if (rowLimit || !isNumber
                || !(op.isSymbol(u"<=") || op.isSymbol(u"<") || (op.isSymbol(u"=") && n == 1)))
                fail(u"ROWNUM other than ROWNUM <= n"_s, rownum);
            rowLimit = op.isSymbol(u"<") ? qMax<qint64>(n - 1, 0) : n;
            write(u"1 = 1");
            return ValueKind::Plain;
        };
        term();
        while (acceptWord(u"and")) {
            write(u"AND");
            term();
        }
        if (rowLimit) {
            if (peek().isWord(u"or"))
                fail(u"OR in a condition with ROWNUM"_s, peek());
            if (peek().isWord(u"order") && peek(1).isWord(u"by"))
                fail(u"ROWNUM with ORDER BY"_s, peek());
            return;
        }
        // An ordinary condition: the rest of an OR, as expression() reads it.
        while (acceptWord(u"or")) {
            write(u"OR");
            conjunction();
        }
    }

    // Returns the item's header as the statement has it: its alias, or its text
    // as written; nothing for * and t.*, which stand for several columns.
    QString selectItem()
    {
        if (acceptSymbol(u"*")) {
            write(u"*");
            return {};
        }
        if (isName(peek()) && peek(1).isSymbol(u".") && peek(2).isSymbol(u"*")) {
            write(name());
            take();
            take();
            write(u".");
            write(u"*");
            return {};
        }
        const qsizetype start = peek().position;
        expression();
        const QString written = m_source.mid(start, peek().position - start).trimmed();
        const bool aliased = acceptWord(u"as");
        if (aliased)
            write(u"AS");
        if (aliased || isName(peek())) {
            const QString alias = peek().text;
            write(name());
            return alias;
        }
        return written;
    }

    void tableReference()
    {
        write(name());
        if (peek().isSymbol(u"."))
            fail(u"a table name qualified by its schema"_s, peek());
        if (isName(peek()))
            write(name());
    }

    void insert()
    {
        expectWord(u"insert");
        expectWord(u"into");
        write(u"INSERT INTO");
        write(name());
        if (acceptSymbol(u"(")) {
            write(u"(");
            commaList([this] { write(name()); });
            expectSymbol(u")");
            write(u")");
        }
        expectWord(u"values");
        write(u"VALUES");
        expectSymbol(u"(");
        write(u"(");
        m_inValues = true;
        commaList([this] { expression(); });
        m_inValues = false;
        expectSymbol(u")");
        write(u")");
    }

    void update()
    {
        expectWord(u"update");
        write(u"UPDATE");
        write(name());
        if (isName(peek())) {
            write(u"AS");
            write(name());
        }
        expectWord(u"set");
        write(u"SET");
        commaList([this] {
            write(name());
            expectSymbol(u"=");
            write(u"=");
            expression();
        });
        optionalWhere();
    }

    // Oracle's DELETE may leave out FROM; SQLite's needs it.
    void remove()
    {
        expectWord(u"delete");
        acceptWord(u"from");
        write(u"DELETE FROM");
        write(name());
        if (isName(peek())) {
            write(u"AS");
            write(name());
        }
        optionalWhere();
    }

    void optionalWhere()
    {
        if (acceptWord(u"where")) {
            write(u"WHERE");
            expression();
        }
    }

    template <typename Item> void commaList(Item item)
    {
        item();
        while (acceptSymbol(u",")) {
            write(u",");
            item();
        }
    }

    bool isName(const Token &token) const
    {
        return token.kind == Token::QuotedIdentifier
               || (token.kind == Token::Identifier && !isReserved(token));
    }

    QString name()
    {
        const Token &token = peek();
        if (!isName(token))
            unexpected(token);
        take();
        if (token.kind == Token::QuotedIdentifier)
            return u'"' + QString(token.text).replace(u'"', u"\"\""_s) + u'"';
        return token.text;
    }

    // Expressions, from the loosest binding to the tightest. Each reports whether
    // its value is a date, so that date arithmetic, which has no meaning on the
    // stored texts, is refused.

    ValueKind expression()
    {
        ValueKind kind = conjunction();
        while (acceptWord(u"or")) {
            write(u"OR");
            conjunction();
            kind = ValueKind::Plain;
        }
        return kind;
    }

    ValueKind conjunction()
    {
        ValueKind kind = negation();
        while (acceptWord(u"and")) {
            write(u"AND");
            negation();
            kind = ValueKind::Plain;
        }
        return kind;
    }

    ValueKind negation()
    {
        if (!acceptWord(u"not"))
            return predicate();
        write(u"NOT");
        negation();
        return ValueKind::Plain;
    }

    ValueKind predicate()
    {
        const ValueKind left = additive();
        static constexpr QStringView comparisons[] = {u"=", u"<>", u"<", u"<=", u">", u">="};
        for (QStringView op : comparisons) {
            if (acceptSymbol(op)) {
                write(op);
                additive();
                return ValueKind::Plain;
            }
        }
        if (acceptSymbol(u"!=")) {
            write(u"<>");
            additive();
            return ValueKind::Plain;
        }
        if (acceptWord(u"is")) {
            write(u"IS");
            if (acceptWord(u"not"))
                write(u"NOT");
            expectWord(u"null");
            write(u"NULL");
            return ValueKind::Plain;
        }
        const bool negated = peek().isWord(u"not");
        if (negated) {
            take();
            write(u"NOT");
        }
        if (acceptWord(u"like")) {
            write(u"LIKE");
            additive();
            if (acceptWord(u"escape")) {
                write(u"ESCAPE");
                additive();
            } else if (m_target == Target::PostgreSql) {
                write(u"ESCAPE ''");
            }
            return ValueKind::Plain;
        }
        if (acceptWord(u"in")) {
            write(u"IN");
            expectSymbol(u"(");
            write(u"(");
            if (peek().isWord(u"select"))
                select();
            else
                commaList([this] { expression(); });
            expectSymbol(u")");
            write(u")");
            return ValueKind::Plain;
        }
        if (acceptWord(u"between")) {
            write(u"BETWEEN");
            additive();
            expectWord(u"and");
            write(u"AND");
            additive();
            return ValueKind::Plain;
        }
        if (negated)
            unexpected(peek());
        return left;
    }

    // + and - and ||, of one precedence and left to right, as in Oracle.
    ValueKind additive()
    {
        ValueKind kind = ValueKind::Plain;
        QString left = captured([&] { kind = multiplicative(); });
        QStringList joined; // the operands of a || chain, left first
        while (peek().isSymbol(u"+") || peek().isSymbol(u"-") || peek().isSymbol(u"||")) {
            const Token &op = take();
            ValueKind rightKind = ValueKind::Plain;
            const QString right = captured([&] { rightKind = multiplicative(); });
            if (op.isSymbol(u"||")) {
                if (joined.isEmpty())
                    joined.append(left);
                joined.append(right);
                kind = ValueKind::Plain;
                continue;
            }
            if (!joined.isEmpty()) {
                left = concatenation(joined);
                joined.clear();
            }
            if (kind == ValueKind::Date || rightKind == ValueKind::Date)
                fail(u"date arithmetic"_s, op);
            left += u' ' + op.text + u' ' + right;
            kind = ValueKind::Plain;
        }
        write(joined.isEmpty() ? left : concatenation(joined));
        return kind;
    }

    // Oracle's || takes NULL as '' and gives NULL for '' (which it reads as
    // NULL); the engines' || gives NULL for any NULL operand.
    QString concatenation(const QStringList &operands) const
    {
        if (m_target == Target::PostgreSql)
            return u"nullif(concat(%1), '')"_s.arg(operands.join(u", "_s));
        QStringList texts;
        for (const QString &operand : operands)
            texts.append(u"coalesce(%1, '')"_s.arg(operand));
        return u"nullif(%1, '')"_s.arg(texts.join(u" || "_s));
    }

    ValueKind multiplicative()
    {
        ValueKind kind = unary();
        while (peek().isSymbol(u"*") || peek().isSymbol(u"/")) {
            const Token &op = take();
            write(op.text);
            const ValueKind right = unary();
            if (kind == ValueKind::Date || right == ValueKind::Date)
                fail(u"date arithmetic"_s, op);
            kind = ValueKind::Plain;
        }
        return kind;
    }

    ValueKind unary()
    {
        if (peek().isSymbol(u"-") || peek().isSymbol(u"+")) {
            write(take().text);
            if (unary() == ValueKind::Date)
                fail(u"date arithmetic"_s, peek());
            return ValueKind::Plain;
        }
        return primary();
    }

    ValueKind primary()
    {
        const Token &token = peek();
        switch (token.kind) {
        case Token::Number:
            write(take().text);
            return ValueKind::Plain;
        case Token::String:
            // Oracle reads an empty string as NULL.
            write(token.text.isEmpty() ? u"NULL"_s : stringLiteral(token.text));
            take();
            return ValueKind::Plain;
        case Token::Symbol:
            return parenthesized();
        case Token::QuotedIdentifier:
        case Token::Identifier:
            break;
        case Token::End:
            unexpected(token);
        }
        if (acceptWord(u"null")) {
            write(u"NULL");
            return ValueKind::Plain;
        }
        if (acceptWord(u"sysdate")) {
            write(databaseClock(m_target));
            return ValueKind::Date;
        }
        if (token.kind == Token::Identifier && peek(1).isSymbol(u"(")) {
            if (peek(2).isSymbol(u"+") && peek(3).isSymbol(u")"))
                fail(u"(+) outer join"_s, peek(1));
            return function();
        }
        if (token.kind == Token::Identifier && peek(1).isSymbol(u".")
            && (peek(2).isWord(u"nextval") || peek(2).isWord(u"currval"))) {
            sequenceValue();
            return ValueKind::Plain;
        }
        columnReference();
        return ValueKind::Plain;
    }

    ValueKind parenthesized()
    {
        expectSymbol(u"(");
        write(u"(");
        ValueKind kind = ValueKind::Plain;
        if (peek().isWord(u"select"))
            select();
        else
            kind = expression();
        expectSymbol(u")");
        write(u")");
        return kind;
    }

    void columnReference()
    {
        write(name());
        if (acceptSymbol(u".")) {
            write(u".");
            write(name());
        }
        if (peek().isSymbol(u"(") && peek(1).isSymbol(u"+") && peek(2).isSymbol(u")"))
            fail(u"(+) outer join"_s, peek());
    }

    ValueKind function()
    {
        const Token &nameToken = take();
        expectSymbol(u"(");
        if (nameToken.isWord(u"to_date")) {
            toDate();
            return ValueKind::Date;
        }
        if (nameToken.isWord(u"trunc")) {
            truncDate(nameToken);
            return ValueKind::Date;
        }
        const FunctionRule *rule = functionRule(nameToken.text);
        if (!rule) {
            const QString function = nameToken.text.toUpper();
            throw UnreadableSql(
                UnreadableSql::Kind::Function, function, nameToken.position + 1,
                u"unsupported Oracle function: %1 (at character %2)"_s.arg(function).arg(
                    nameToken.position + 1));
        }
        QList<Argument> arguments;
        bool distinct = false;
        if (rule->name == u"count" && acceptSymbol(u"*")) {
            arguments.append({u"*"_s});
        } else if (!peek().isSymbol(u")")) {
            distinct = rule->aggregate && acceptWord(u"distinct");
            do {
                const bool isText = peek().kind == Token::String && !peek().text.isEmpty()
                                    && (peek(1).isSymbol(u",") || peek(1).isSymbol(u")"));
                arguments.append({captured([this] { expression(); }), isText});
            } while (acceptSymbol(u","));
        }
        expectSymbol(u")");
        if (arguments.size() < rule->minArgs || arguments.size() > rule->maxArgs) {
            fail(u"%1 with %2 argument(s)"_s.arg(nameToken.text.toUpper()).arg(arguments.size()),
                 nameToken);
        }
        write(call(*rule, arguments, distinct));
        return ValueKind::Plain;
    }

    QString call(const FunctionRule &rule, const QList<Argument> &arguments, bool distinct) const
    {
        if (rule.name == u"nvl")
            return u"coalesce(%1, %2)"_s.arg(arguments.at(0).sql, arguments.at(1).sql);
        if (m_target == Target::PostgreSql) {
            if (rule.name == u"upper" || rule.name == u"lower")
                return asciiCase(rule.name == u"upper", arguments.first().sql);
            if (rule.name == u"regexp_replace")
                return regexpReplace(arguments);
        }
        QStringList texts;
        for (const Argument &argument : arguments)
            texts.append(argument.sql);
        return rule.name.toString() + u'(' + (distinct ? u"DISTINCT "_s : QString())
               + texts.join(u", "_s) + u')';
    }

    // PostgreSQL's upper and lower follow the database's locale; the letters a
    // to z alone change here, as in the SQLite target.
    static QString asciiCase(bool upper, const QString &argument)
    {
        const QString lowerLetters = u"'abcdefghijklmnopqrstuvwxyz'"_s;
        const QString upperLetters = u"'ABCDEFGHIJKLMNOPQRSTUVWXYZ'"_s;
        return u"translate(%1, %2, %3)"_s.arg(argument, upper ? lowerLetters : upperLetters,
                                              upper ? upperLetters : lowerLetters);
    }

    // PostgreSQL replaces the first match unless told 'g', and gives NULL for any
    // NULL argument; Oracle replaces every match, removes them for a NULL or
    // missing replacement and leaves the source alone for a NULL pattern.
    static QString regexpReplace(const QList<Argument> &arguments)
    {
        const Argument &source = arguments.at(0);
        const Argument &pattern = arguments.at(1);
        QString replacement = u"''"_s;
        if (arguments.size() > 2 && arguments.at(2).isText)
            replacement = arguments.at(2).sql;
        else if (arguments.size() > 2 && arguments.at(2).sql != u"NULL"_s)
            replacement = u"coalesce(%1, '')"_s.arg(arguments.at(2).sql);
        const QString call =
            u"regexp_replace(%1, %2, %3, 'g')"_s.arg(source.sql, pattern.sql, replacement);
        if (pattern.isText)
            return call;
        return u"coalesce(%1, %2)"_s.arg(call, source.sql);
    }

    // to_date of a literal date with the one format the module writes.
    void toDate()
    {
        const Token &text = take();
        if (text.kind != Token::String)
            fail(u"TO_DATE of anything but a literal"_s, text);
        expectSymbol(u",");
        const Token &format = take();
        if (format.kind != Token::String
            || format.text.compare(u"yyyy-mm-dd", Qt::CaseInsensitive) != 0) {
            fail(u"TO_DATE with format %1"_s.arg(stringLiteral(format.text)), format);
        }
        expectSymbol(u")");
        const QString date = stringLiteral(checkedDate(text.text));
        write(m_target == Target::PostgreSql ? u"DATE "_s + date : date);
    }

    // TRUNC of a date, to its day: the day's "yyyy-mm-dd" in both engines.
    // TRUNC of a number, or to another unit, is not taken.
    void truncDate(const Token &nameToken)
    {
        const QString date = captured([this] { expression(); });
        if (peek().isSymbol(u","))
            fail(u"TRUNC with a format"_s, nameToken);
        expectSymbol(u")");
        write(m_target == Target::PostgreSql ? u"CAST(%1 AS date)"_s.arg(date)
                                             : u"date(%1)"_s.arg(date));
    }

    void sequenceValue()
    {
        const Token &sequence = take();
        take();
        const Token &operation = take();
        const QString construct = sequence.text.toUpper() + u'.' + operation.text.toUpper();
        if (!operation.isWord(u"nextval"))
            fail(construct, sequence);
        if (!m_inValues)
            fail(construct + u" outside an INSERT's VALUES list"_s, sequence);
        if (m_target == Target::PostgreSql) {
            write(u"nextval('%1')"_s.arg(sequence.text.toLower()));
            return;
        }
        if (!m_nextValue) {
            throw Rt::DatabaseError(
                u"%1 draws a new value: only an executed statement may use it"_s.arg(construct));
        }
        write(QString::number(m_nextValue(sequence.text.toUpper())));
    }

    const QString m_source;
    const QList<Token> m_tokens;
    const Target m_target;
    const SequenceSource &m_nextValue;
    qsizetype m_index = 0;
    QString m_out;
    bool m_inValues = false;
    int m_selectDepth = 0;
    QStringList m_headers; // of the outermost query's items
};

} // namespace

QString UnreadableSql::reason() const
{
    switch (m_kind) {
    case Kind::Function:
        return u"不支持函数 %1（第 %2 个字符）。"_s.arg(m_what).arg(m_character);
    case Kind::Construct:
        return u"不支持 %1 这种写法（第 %2 个字符）。"_s.arg(m_what).arg(m_character);
    case Kind::Unexpected:
        break;
    }
    if (m_what.isEmpty())
        return u"语句不完整：写到结尾还缺少内容。"_s;
    return u"语法错误：第 %1 个字符处不应出现 %2。"_s.arg(m_character).arg(m_what);
}

QList<TranslatedStatement> translate(const QString &oracleSql, Target target,
                                     const SequenceSource &nextValue)
{
    return Translator(oracleSql, target, nextValue).run();
}

QStringList queryHeaders(const QString &oracleSql)
{
    return Translator(oracleSql, Target::Sqlite, {}).headers();
}

QString databaseClock(Target target)
{
    // LOCALTIMESTAMP is the time the transaction began, as one clock reading
    // serves the whole of an SQLite statement: a row and its history agree.
    return target == Target::PostgreSql ? u"date_trunc('second', LOCALTIMESTAMP)"_s
                                        : u"datetime('now', 'localtime')"_s;
}

} // namespace OracleSql
