#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace OracleSql {

struct Token
{
    enum Kind { Identifier, QuotedIdentifier, String, Number, Symbol, End };

    Kind kind = End;
    // Identifiers, numbers and symbols as written; a string literal's value with its
    // doubled quotes undone; a quoted identifier without its quotes.
    QString text;
    // Offset of the token in the statement, for error messages.
    qsizetype position = 0;

    // An unquoted identifier spelled like word, regardless of case.
    bool isWord(QStringView word) const;
    bool isSymbol(QStringView symbol) const;
};

// Splits Oracle SQL text into tokens, ending with one End token. Blanks, the
// ideographic space U+3000 among them, and comments separate tokens and are
// dropped; inside literals every character counts. Raises Rt::DatabaseError for an
// unterminated literal, quoted identifier or comment, and for a character that
// has no meaning in SQL.
QList<Token> tokenize(const QString &sql);

} // namespace OracleSql
