#pragma once

#include <QList>
#include <QString>
#include <functional>

// Translation of the Oracle SQL that the module sends into SQLite SQL.
//
// A parser for the subset of Oracle SQL that the module uses reads the statement
// and writes its SQLite form; it never rewrites text it has not parsed, so string
// literals stay intact whatever they contain. What it accepts:
// - SELECT [DISTINCT] ... FROM t [alias], ... [WHERE] [GROUP BY [HAVING]] [ORDER BY],
//   with subqueries in parentheses and after IN;
// - INSERT INTO t (columns) VALUES (...); UPDATE t SET ... [WHERE];
//   DELETE [FROM] t [WHERE] (Oracle's delete needs no FROM);
// - an anonymous block "begin <statement>; ... end;", which becomes its statements;
// - conditions with AND, OR, NOT, comparisons, [NOT] LIKE, [NOT] IN, IS [NOT] NULL,
//   [NOT] BETWEEN, arithmetic with + - * /;
// - to_date('yyyy-mm-dd', 'yyyy-mm-dd'): the date is checked and becomes its
//   "yyyy-mm-dd" text, the form dates are stored in, so that text comparison orders
//   them;
// - sysdate: the database clock as "yyyy-mm-dd hh:mm:ss" local time;
// - <sequence>.nextval inside an INSERT's VALUES: the value drawn from the sequence
//   source, written as a number;
// - the functions count, max, min, sum, trim, upper, lower, substr and
//   regexp_replace (see OracleFunctions.h); upper and lower change the letters
//   a to z only, as the module's own upper-casing of search texts does;
// - '' as NULL, as Oracle reads an empty string.
// Anything else, an unknown function, CONNECT BY, ROWNUM or an outer-join marker
// (+) among them, raises Rt::DatabaseError naming the construct.
namespace OracleSql {

enum class StatementKind { Select, Insert, Update, Delete };

struct TranslatedStatement
{
    StatementKind kind;
    QString sql;
};

// Draws the next value of the named sequence (its name in capitals). The
// executor runs it inside the transaction of the statement being translated.
using SequenceSource = std::function<qint64(const QString &sequence)>;

// The SQLite statements that carry out oracleSql, in order: one for a bare
// statement, those of its body for an anonymous block. Without a sequence source
// a statement that draws from a sequence raises.
QList<TranslatedStatement> translate(const QString &oracleSql,
                                     const SequenceSource &nextValue = {});

} // namespace OracleSql
