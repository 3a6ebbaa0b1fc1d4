#include "Failures.h"
#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/db/OracleDialect.h"
#include "runtime/dataset.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList translated(const QString &oracleSql,
                       OracleSql::Target target = OracleSql::Target::Sqlite)
{
    qint64 next = 100;
    QStringList texts;
    for (const auto &statement :
         OracleSql::translate(oracleSql, target, [&](const QString &) { return next++; }))
        texts.append(statement.sql);
    return texts;
}

// A one-row query of an expression.
QString one(const QString &expression)
{
    return u"select "_s + expression + u" from HR_StationInfo where StationCode='01'"_s;
}

} // namespace

class OracleDialectTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Each statement as the module writes it, in the text each backend runs.
    void translatesOracleForms_data()
    {
        QTest::addColumn<QString>("oracle");
        QTest::addColumn<QStringList>("sqlite");
        QTest::addColumn<QStringList>("postgresql");
        const QStringList same; // PostgreSQL runs the SQLite text

        QTest::newRow("to_date adds leading zeros, as Oracle reads them")
            << u"select * from t where d >= to_date('2026-1-5','YYYY-MM-DD')"_s
            << QStringList{u"SELECT * FROM t WHERE d >= '2026-01-05'"_s}
            << QStringList{u"SELECT * FROM t WHERE d >= DATE '2026-01-05'"_s};
        QTest::newRow("sysdate is the local clock to the second")
            << u"update t set m = sysdate where id=1"_s
            << QStringList{u"UPDATE t SET m = datetime('now', 'localtime') WHERE id = 1"_s}
            << QStringList{u"UPDATE t SET m = date_trunc('second', LOCALTIMESTAMP) WHERE id = 1"_s};
        QTest::newRow("nextval draws a number")
            << u"insert into t (id, n) values (SEQ_OCID.nextval, 'x')"_s
            << QStringList{u"INSERT INTO t (id, n) VALUES (100, 'x')"_s}
            << QStringList{u"INSERT INTO t (id, n) VALUES (nextval('seq_ocid'), 'x')"_s};
        QTest::newRow("anonymous block becomes its statements, delete takes its from")
            << u"  begin  delete t where a=1;  delete from u where b=2;  end; "_s
            << QStringList{u"DELETE FROM t WHERE a = 1"_s, u"DELETE FROM u WHERE b = 2"_s} << same;
        QTest::newRow("ideographic space is a blank outside literals")
            << u"select count(1)\u3000from t where a='\u3000x'"_s
            << QStringList{u"SELECT count(1) FROM t WHERE a = '\u3000x'"_s} << same;
        QTest::newRow("empty string is NULL")
            << u"update t set r='' where id=1"_s
            << QStringList{u"UPDATE t SET r = NULL WHERE id = 1"_s} << same;
        QTest::newRow("doubled quotes stay doubled")
            << u"select * from t where n = 'O''Neil; drop table t; --'"_s
            << QStringList{u"SELECT * FROM t WHERE n = 'O''Neil; drop table t; --'"_s} << same;
        QTest::newRow("comments and hints are dropped")
            << u"select /*+ index(t) */ a -- note\nfrom t"_s << QStringList{u"SELECT a FROM t"_s}
            << same;
        QTest::newRow("functions, != and a subquery")
            << u"select substr(c,1,2 ) from t where x != 1 and d=( select Max(d) from t )"_s
            << QStringList{u"SELECT substr(c, 1, 2) FROM t WHERE x <> 1 AND d = (SELECT max(d) FROM t)"_s}
            << same;
        QTest::newRow("the search's name condition: REGEXP_REPLACE replaces all")
            << u"select a from t where upper(REGEXP_REPLACE(Trim(e.personName),' ','')) like '%X%' "_s
            << QStringList{u"SELECT a FROM t WHERE upper(regexp_replace(trim(e.personName), ' ',"
                           u" NULL)) LIKE '%X%'"_s}
            << QStringList{
                   u"SELECT a FROM t WHERE translate(regexp_replace(trim(e.personName), ' ', '',"
                   u" 'g'), 'abcdefghijklmnopqrstuvwxyz', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ')"
                   u" LIKE '%X%' ESCAPE ''"_s};
        QTest::newRow("regexp_replace of a pattern that may be NULL")
            << u"select regexp_replace(a, p, r) from t"_s
            << QStringList{u"SELECT regexp_replace(a, p, r) FROM t"_s}
            << QStringList{
                   u"SELECT coalesce(regexp_replace(a, p, coalesce(r, ''), 'g'), a) FROM t"_s};
        QTest::newRow("dual, nvl, length, ||")
            << u"select nvl(length(a || 'x'), 0) from dual"_s
            << QStringList{u"SELECT coalesce(length(nullif(coalesce(a, '') || coalesce('x', ''), '')), 0)"_s}
            << QStringList{u"SELECT coalesce(length(nullif(concat(a, 'x'), '')), 0)"_s};
        QTest::newRow("trunc and rownum")
            << u"select a from t where trunc(d) = to_date('2026-12-05','yyyy-mm-dd') and rownum <= 5"_s
            << QStringList{u"SELECT a FROM t WHERE date(d) = '2026-12-05' AND 1 = 1 LIMIT 5"_s}
            << QStringList{
                   u"SELECT a FROM t WHERE CAST(d AS date) = DATE '2026-12-05' AND 1 = 1 LIMIT 5"_s};
        QTest::newRow("an escape given stays")
            << u"select a from t where a like 'x!%' escape '!'"_s
            << QStringList{u"SELECT a FROM t WHERE a LIKE 'x!%' ESCAPE '!'"_s} << same;
    }

    void translatesOracleForms()
    {
        QFETCH(QString, oracle);
        QFETCH(QStringList, sqlite);
        QFETCH(QStringList, postgresql);
        QCOMPARE(translated(oracle, OracleSql::Target::Sqlite), sqlite);
        QCOMPARE(translated(oracle, OracleSql::Target::PostgreSql),
                 postgresql.isEmpty() ? sqlite : postgresql);
    }

    // A quote typed by the user arrives doubled and must come back as typed,
    // whatever else the text holds.
    void userTextStaysInsideItsLiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quote") << u"O'Neil"_s;
        QTest::newRow("quote that would end the statement")
            << u"x'); delete Kq_ExchangeClass where ('1'='1"_s;
        QTest::newRow("block words") << u"';  end; begin delete Kq_ExchangeClass; '"_s;
        QTest::newRow("comment markers") << u"a -- b /* c */ '--"_s;
        QTest::newRow("ideographic space and Chinese") << u"调班\u3000理由 ''两个引号''"_s;
        QTest::newRow("oracle words")
            << u"to_date('2026-02-30','yyyy-mm-dd') sysdate SEQ_OCID.nextval"_s;
    }

    void userTextStaysInsideItsLiteral()
    {
        QFETCH(QString, text);
        Fixture fixture;
        EditorStatements::Entry exchange = ::exchange(u"E003"_s, u"2026-12-01"_s);
        exchange.reason = text;
        exchange.remark = text;
        QVERIFY(fixture.db().execSql(EditorStatements::insertExchange(exchange)));
        QCOMPARE(fixture.db().queryValue(u"select ExchgeReason from Kq_ExchangeClass where ID=6"_s),
                 text);
        QCOMPARE(fixture.db().queryValue(u"select count(1) from Kq_ExchangeClass where Remark='"_s
                                         + SqlText::escaped(text) + u"'"_s),
                 u"1"_s);
        QCOMPARE(fixture.db().queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"6"_s);
    }

    void refusesWhatItCannotTranslate_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("named");

        QTest::newRow("connect by")
            << u"select * from sys_dept start with ParentID=-1 connect by prior ID=ParentID"_s
            << u"unsupported Oracle construct: START WITH"_s;
        QTest::newRow("connect by after where")
            << u"select * from sys_dept where 1=1 connect by prior ID=ParentID"_s
            << u"unsupported Oracle construct: CONNECT BY"_s;
        QTest::newRow("rownum under or") << u"select * from t where a = 1 or rownum < 10"_s
                                         << u"unsupported Oracle construct: ROWNUM"_s;
        QTest::newRow("rownum with order by")
            << u"select * from t where rownum <= 3 order by a"_s << u"ROWNUM with ORDER BY"_s;
        QTest::newRow("rownum above")
            << u"select * from t where rownum > 3"_s << u"ROWNUM other than ROWNUM <= n"_s;
        QTest::newRow("trunc to a month")
            << u"select trunc(d, 'mm') from t"_s << u"TRUNC with a format"_s;
        QTest::newRow("outer join marker") << u"select * from a, b where a.x = b.x(+)"_s
                                           << u"unsupported Oracle construct: (+) outer join"_s;
        QTest::newRow("minus") << u"select a from t minus select a from u"_s
                               << u"unsupported Oracle construct: MINUS"_s;
        QTest::newRow("unknown function")
            << u"select decode(a, 0, 1) from t"_s << u"unsupported Oracle function: DECODE"_s;
        QTest::newRow("date arithmetic") << u"select * from t where d > sysdate - 30"_s
                                         << u"unsupported Oracle construct: date arithmetic"_s;
        QTest::newRow("other date format")
            << u"select * from t where d = to_date('05.12.2026','dd.mm.yyyy')"_s
            << u"TO_DATE with format 'dd.mm.yyyy'"_s;
        QTest::newRow("impossible date")
            << u"select * from t where d = to_date('2026-02-30','yyyy-mm-dd')"_s
            << u"'2026-02-30' is not a valid date"_s;
        QTest::newRow("malformed date")
            << u"select * from t where d = to_date('2026/12/05','yyyy-mm-dd')"_s
            << u"'2026/12/05' is not a valid date"_s;
        QTest::newRow("currval") << u"insert into t values (SEQ_OCID.currval)"_s
                                 << u"unsupported Oracle construct: SEQ_OCID.CURRVAL"_s;
        QTest::newRow("nextval in a query")
            << u"select SEQ_OCID.nextval from t"_s << u"outside an INSERT's VALUES list"_s;
        QTest::newRow("regexp_replace with occurrence")
            << u"select regexp_replace(a, 'x', 'y', 1, 2) from t"_s
            << u"REGEXP_REPLACE with 5 argument(s)"_s;
        QTest::newRow("second statement outside a block")
            << u"delete t where a=1; delete u"_s << u"';' ends a statement only"_s;
        QTest::newRow("unterminated literal")
            << u"select * from t where a = 'x"_s << u"unterminated string literal"_s;
        QTest::newRow("merge") << u"merge into t using u on (t.a = u.a)"_s
                               << u"unsupported Oracle construct: MERGE"_s;
    }

    void refusesWhatItCannotTranslate()
    {
        QFETCH(QString, sql);
        QFETCH(QString, named);
        const QString error = errorOf([&] { translated(sql); });
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    // Functions and LIKE as Oracle has them: REGEXP_REPLACE's forms and NULLs;
    // LIKE with regard to case (the module relies on upper()) and without an
    // escape character unless told; upper and lower change a to z only.
    void oracleSemantics_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("value");
        QTest::newRow("regexp_replace removes blanks")
            << one(u"REGEXP_REPLACE(Trim(' 欧阳 雪 '),' ','')"_s) << u"欧阳雪"_s;
        QTest::newRow("regexp_replace groups")
            << one(u"regexp_replace('2026-12-05','(\\d+)-(\\d+)-(\\d+)','\\3.\\2.\\1')"_s)
            << u"05.12.2026"_s;
        QTest::newRow("regexp_replace without replacement")
            << one(u"regexp_replace('a1b22','[0-9]')"_s) << u"ab"_s;
        QTest::newRow("regexp_replace of null")
            << one(u"regexp_replace(null,'a','b')"_s) << QString();
        QTest::newRow("regexp_replace, null pattern")
            << one(u"regexp_replace('abc',null,'x')"_s) << u"abc"_s;
        QTest::newRow("like regards case")
            << u"select count(1) from HR_Employee where PyCode like '%wf%'"_s << u"0"_s;
        QTest::newRow("like after upper")
            << u"select count(1) from HR_Employee where upper(PyCode) like '%WF%'"_s << u"1"_s;
        QTest::newRow("like takes a backslash as it is")
            << u"select count(1) from HR_StationInfo where 'a\\b' like 'a\\b'"_s << u"2"_s;
        QTest::newRow("like with an escape given")
            << u"select count(1) from HR_StationInfo where 'a%' like 'a!%' escape '!'"_s << u"2"_s;
        QTest::newRow("upper") << one(u"upper('ab\u00e9\u00df\u738b')"_s)
                               << u"AB\u00e9\u00df\u738b"_s;
        QTest::newRow("lower") << one(u"lower('AB\u00c9\u738b')"_s) << u"ab\u00c9\u738b"_s;
        QTest::newRow("upper of null") << one(u"upper(null)"_s) << QString();
        // The everyday forms a person types at the sql command.
        QTest::newRow("dual") << u"select 6 * 7 from DUAL"_s << u"42"_s;
        QTest::newRow("nvl of null") << u"select nvl(null, 'x') from dual"_s << u"x"_s;
        QTest::newRow("nvl of a value") << u"select NVL('a', 'x') from dual"_s << u"a"_s;
        QTest::newRow("|| skips null") << u"select 'a' || null || 'b' from dual"_s << u"ab"_s;
        QTest::newRow("|| of nulls is null") << u"select null || '' from dual"_s << QString();
        QTest::newRow("|| binds like +") << u"select 1 + 2 || 3 from dual"_s << u"33"_s;
        QTest::newRow("length counts characters")
            << u"select length('欧阳' || PersonName) from HR_Employee where JobNumber = 'HT10002'"_s
            << u"6"_s;
        QTest::newRow("trunc of a date")
            << u"select trunc(to_date('2026-12-05', 'yyyy-mm-dd')) from dual"_s << u"2026-12-05"_s;
        QTest::newRow("trunc of sysdate is a day")
            << u"select count(1) from dual where trunc(sysdate) <= sysdate"_s << u"1"_s;
        QTest::newRow("sysdate from dual")
            << u"select count(1) from dual where sysdate > to_date('2026-01-01', 'yyyy-mm-dd')"_s
            << u"1"_s;
    }

    // ROWNUM <= n becomes a LIMIT, beside other conditions.
    void rownumLimitsTheRows_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("rows");
        QTest::newRow("<=") << u"rownum <= 2"_s << 2;
        QTest::newRow("<") << u"ROWNUM < 2"_s << 1;
        QTest::newRow("= 1") << u"rownum = 1"_s << 1;
        QTest::newRow("< 1") << u"rownum < 1"_s << 0;
        QTest::newRow("beside a condition") << u"DELETED = 0 and rownum <= 3"_s << 3;
    }

    void rownumLimitsTheRows()
    {
        QFETCH(QString, condition);
        QFETCH(int, rows);
        Fixture fixture;
        const std::unique_ptr<TDataSet> found(
            fixture.db().openQuery(u"select EmployeeCode from HR_Employee where "_s + condition));
        QCOMPARE(found->recordCount(), rows);
    }

    void oracleSemantics()
    {
        QFETCH(QString, sql);
        QFETCH(QString, value);
        Fixture fixture;
        QCOMPARE(fixture.db().queryValue(sql), value);
    }

    void invalidPatternFailsClearly()
    {
        Fixture fixture;
        const QString error =
            errorOf([&] { fixture.db().queryValue(one(u"regexp_replace('a', '(', '')"_s)); });
        QVERIFY2(error.contains(u"regexp_replace('a', '(', '')"_s), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(OracleDialectTest)
#include "tst_oracledialect.moc"
