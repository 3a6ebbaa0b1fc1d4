#pragma once

#include "runtime/exceptions.h"

#include <QList>
#include <QString>
#include <functional>

// Translation of the Oracle SQL that the module sends into SQLite or PostgreSQL.
//
// A parser for the subset of Oracle SQL that the module uses reads the statement
// and writes it for the target engine; it never rewrites text it has not parsed,
// so string literals stay intact whatever they contain. What it accepts:
// - SELECT [DISTINCT] ... FROM t [alias], ... [WHERE] [GROUP BY [HAVING]] [ORDER BY],
//   with subqueries in parentheses and after IN;
// - INSERT INTO t (columns) VALUES (...); UPDATE t SET ... [WHERE];
//   DELETE [FROM] t [WHERE] (Oracle's delete needs no FROM);
// - an anonymous block "begin <statement>; ... end;", which becomes its statements;
// - conditions with AND, OR, NOT, comparisons, [NOT] LIKE, [NOT] IN, IS [NOT] NULL,
//   [NOT] BETWEEN, arithmetic with + - * /;
// - to_date('yyyy-mm-dd', 'yyyy-mm-dd'): the date is checked; SQLite gets its
//   "yyyy-mm-dd" text, the form dates are stored in there, so that text
//   comparison orders them; PostgreSQL a date literal;
// - sysdate: the database clock (databaseClock), to the second; trunc(date), its
//   day;
// - FROM DUAL, which both engines write as a SELECT without FROM;
// - ROWNUM <= n (also < n, = 1) among the top-level AND terms of a query's
//   WHERE without ORDER BY: a LIMIT;
// - || with Oracle's NULLs: a NULL operand counts as '', and '' is NULL;
// - <sequence>.nextval inside an INSERT's VALUES: for SQLite the value drawn from
//   the sequence source, written as a number; for PostgreSQL the sequence's own
//   nextval;
// - the functions count, max, min, sum, trim, upper, lower, substr, length,
//   nvl (coalesce) and regexp_replace, which replaces every match as Oracle's does, with Oracle's
//   handling of NULL (see OracleFunctions.h); upper and lower change the letters
//   a to z only, as the module's own upper-casing of search texts does;
// - LIKE without an escape character, as in Oracle (PostgreSQL's default is a
//   backslash);
// - '' as NULL, as Oracle reads an empty string.
// Anything else, an unknown function, CONNECT BY, ROWNUM elsewhere or an
// outer-join marker (+) among them, raises UnreadableSql naming the construct.
namespace OracleSql {

enum class Target { Sqlite, PostgreSql };

enum class StatementKind { Select, Insert, Update, Delete };

struct TranslatedStatement
{
    StatementKind kind;
    QString sql;
};

// Draws the next value of the named sequence (its name in capitals). The
// executor runs it inside the transaction of the statement being translated.
using SequenceSource = std::function<qint64(const QString &sequence)>;

// A statement the translator cannot read: message() is the technical detail for
// the log, reason() says in Chinese what was refused and where.
class UnreadableSql : public Rt::DatabaseError
{
public:
    enum class Kind {
        Function,  // a function it does not know
        Construct, // a construct of Oracle's it does not translate
        Unexpected // a token where another was expected, or the statement's end
    };
    UnreadableSql(Kind kind, QString what, qsizetype character, const QString &detail)
        : Rt::DatabaseError(detail)
        , m_kind(kind)
        , m_what(std::move(what))
        , m_character(character)
    {}
    QString reason() const;

private:
    Kind m_kind;
    QString m_what;        // the function, the construct or the token; empty at the end
    qsizetype m_character; // counted from 1
};

// The statements of the target that carry out oracleSql, in order: one for a
// bare statement, those of its body for an anonymous block. An SQLite statement
// that draws from a sequence raises without a sequence source.
QList<TranslatedStatement> translate(const QString &oracleSql, Target target,
                                     const SequenceSource &nextValue = {});

// The headers of a query's columns as its author wrote them: each item's
// alias, or the item's own text ("nvl(Remark, '-')", not its translation); an
// empty header for * and t.*. Raises like translate() for a query it cannot
// read.
QStringList queryHeaders(const QString &oracleSql);

// The database's clock to the second, local time, as an expression of the
// target: what sysdate becomes, and the time the change history records.
QString databaseClock(Target target);

} // namespace OracleSql
