#include "XlsTestSupport.h"

#include "runtime/exceptions.h"
#include "runtime/xls/evaluator.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"

#include <QTest>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

// Two sheets of constants. Sheet1: A1 2, A2 3, A3 "x", A4 empty, A5 TRUE, A6 "3",
// B1 #DIV/0!, B2 10; 数据: A1 100.
Workbook constants()
{
    Workbook book;
    Sheet &sheet = book.addSheet(u"Sheet1"_s);
    const QList<Value> columnA{Value::number(2), Value::number(3),     Value::text(u"x"_s),
                               Value(),          Value::boolean(true), Value::text(u"3"_s)};
    for (int row = 0; row < columnA.size(); ++row)
        XlsTest::put(sheet, row, 0, columnA.at(row));
    XlsTest::put(sheet, 0, 1, Value::error(ErrorCode::Div0));
    XlsTest::put(sheet, 1, 1, Value::number(10));
    XlsTest::put(book.addSheet(u"数据"_s), 0, 0, Value::number(100));
    return book;
}

} // namespace

class XlsFormulaTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Precedence, coercions, errors and the edges of each function; the common
    // cases LibreOffice recomputes in tst_xlsinterop.
    void evaluation_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("result");
        const QList<QPair<QString, QString>> rows{
            {u"-2^2"_s, u"4"_s},
            {u"1/0"_s, u"#DIV/0!"_s},
            {u"0^0"_s, u"#NUM!"_s},
            {u"\"a\"&1&TRUE"_s, u"a1TRUE"_s},
            {u"A6+1"_s, u"4"_s},
            {u"A3+1"_s, u"#VALUE!"_s},
            {u"\"2026-12-05\"+1"_s, u"46362"_s},
            {u"A4+1"_s, u"1"_s},
            {u"B1+1"_s, u"#DIV/0!"_s},
            {u"\"b\">\"A\""_s, u"TRUE"_s},
            {u"\"abc\"=\"ABC\""_s, u"TRUE"_s},
            {u"1<\"1\""_s, u"TRUE"_s},
            {u"A4=0"_s, u"TRUE"_s},
            {u"A4=\"\""_s, u"TRUE"_s},
            {u"SUM(A1:A6)"_s, u"5"_s},
            {u"SUM(A1:A6,A6,TRUE)"_s, u"6"_s},
            {u"SUM(A1:B2)"_s, u"#DIV/0!"_s},
            {u"SUM(A3)"_s, u"0"_s},
            {u"SUM(\"x\")"_s, u"#VALUE!"_s},
            {u"COUNT(A1:A6)"_s, u"2"_s},
            {u"COUNTA(A1:A6)"_s, u"5"_s},
            {u"AVERAGE(A3:A4)"_s, u"#DIV/0!"_s},
            {u"MAX(A3:A4)"_s, u"0"_s},
            {u"ROUND(2.675,2)"_s, u"2.68"_s},
            {u"ROUND(-2.5,0)"_s, u"-3"_s},
            {u"ROUND(1234.5,-2)"_s, u"1200"_s},
            {u"MOD(-7,3)"_s, u"2"_s},
            {u"MOD(1,0)"_s, u"#DIV/0!"_s},
            {u"IF(A1>1,\"big\")"_s, u"big"_s},
            {u"IF(A1>5,\"big\")"_s, u"FALSE"_s},
            {u"IF(A1>5,,)"_s, u"0"_s},
            {u"IF(A3,1,2)"_s, u"#VALUE!"_s},
            {u"AND(A1:A6)"_s, u"TRUE"_s},
            {u"AND(TRUE,0)"_s, u"FALSE"_s},
            {u"OR(A4,FALSE)"_s, u"FALSE"_s},
            {u"AND(A3)"_s, u"#VALUE!"_s},
            {u"NOT(A1)"_s, u"FALSE"_s},
            {u"LEN(\"调班ab\")"_s, u"4"_s},
            {u"LEFT(\"调班ab\")&RIGHT(\"调班ab\",2)"_s, u"调ab"_s},
            {u"MID(\"abc\",0,1)"_s, u"#VALUE!"_s},
            {u"DATE(2026,14,1)"_s, u"46419"_s},
            {u"YEAR(46361)*10000+MONTH(46361)*100+DAY(46361)"_s, u"20261205"_s},
            {u"ISBLANK(A4)"_s, u"TRUE"_s},
            {u"ISBLANK(A1)"_s, u"FALSE"_s},
            {u"数据!A1+'数据'!A1"_s, u"200"_s},
            {u"Missing!A1"_s, u"#REF!"_s},
            {u"#N/A"_s, u"#N/A"_s},
            {u"0.1+0.2"_s, u"0.3"_s},
            {u"1E300*1E300"_s, u"#NUM!"_s},
        };
        for (const auto &[formula, result] : rows)
            QTest::newRow(qPrintable(formula)) << formula << result;
    }
    void evaluation()
    {
        QFETCH(QString, formula);
        QFETCH(QString, result);
        const Workbook book = constants();
        XlsTest::CachedValues cells(book);
        QCOMPARE(formatValue(evaluate(*Formula::parse(formula), 0, cells), QString()), result);
    }

    // A text result longer than a cell holds is #VALUE!, from & and CONCATENATE
    // alike; up to the limit the text is whole. A1 holds 20,000 characters.
    void textLengthLimit_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("result");
        const int rest = MaxTextLength - 20000;
        QTest::newRow("& past the limit") << u"A1&A1"_s << u"#VALUE!"_s;
        QTest::newRow("& up to the limit")
            << u"LEN(A1&LEFT(A1,%1))"_s.arg(rest) << QString::number(MaxTextLength);
        QTest::newRow("& one past the limit")
            << u"LEN(A1&LEFT(A1,%1))"_s.arg(rest + 1) << u"#VALUE!"_s;
        QTest::newRow("CONCATENATE past the limit")
            << u"CONCATENATE(A1,\"-\",A1)"_s << u"#VALUE!"_s;
        QTest::newRow("CONCATENATE up to the limit")
            << u"LEN(CONCATENATE(A1,LEFT(A1,%1)))"_s.arg(rest) << QString::number(MaxTextLength);
        QTest::newRow("CONCATENATE one past the limit")
            << u"LEN(CONCATENATE(LEFT(A1,%1),A1))"_s.arg(rest + 1) << u"#VALUE!"_s;
    }
    void textLengthLimit()
    {
        QFETCH(QString, formula);
        QFETCH(QString, result);
        Workbook book;
        XlsTest::put(book.addSheet(u"Sheet1"_s), 0, 0, Value::text(QString(20000, u'调')));
        XlsTest::CachedValues cells(book);
        QCOMPARE(formatValue(evaluate(*Formula::parse(formula), 0, cells), QString()), result);
    }

    // SUM of any number of arguments: flat up to the most a function takes, runs of
    // them summed first beyond, and the total unchanged.
    void sumOfManyArguments_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("flat");
        QTest::newRow("one") << 1 << true;
        QTest::newRow("as many as a function takes") << MaxArguments << true;
        QTest::newRow("one more") << MaxArguments + 1 << false;
        QTest::newRow("two levels full") << MaxArguments * MaxArguments << false;
        QTest::newRow("three levels") << MaxArguments * MaxArguments + 1 << false;
    }
    void sumOfManyArguments()
    {
        QFETCH(int, count);
        QFETCH(bool, flat);
        QStringList arguments;
        for (int i = 1; i <= count; ++i)
            arguments << QString::number(i);
        const QString formula = sumFormula(arguments);
        QCOMPARE(formula == u"SUM("_s + arguments.join(u',') + u")"_s, flat);
        const Workbook book;
        XlsTest::CachedValues cells(book);
        QCOMPARE(evaluate(*Formula::parse(formula), 0, cells),
                 Value::number(double(count) * (count + 1) / 2));
    }

    void volatileFunctions()
    {
        const Workbook book;
        XlsTest::CachedValues cells(book);
        QVERIFY(Formula::parse(u"TODAY()+1"_s)->isVolatile());
        QVERIFY(Formula::parse(u"1+NOW()"_s)->isVolatile());
        QVERIFY(!Formula::parse(u"SUM(A1:A3)"_s)->isVolatile());
        const Value today = evaluate(*Formula::parse(u"TODAY()"_s), 0, cells);
        QCOMPARE(formatValue(today, u"yyyy-mm-dd"_s),
                 QDate::currentDate().toString(u"yyyy-MM-dd"_s));
    }

    void invalidFormulas_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << u"="_s << u"空"_s;
        QTest::newRow("open parenthesis") << u"SUM((A1)"_s << u"缺少"_s;
        QTest::newRow("dangling operator") << u"1+"_s << u"不完整"_s;
        QTest::newRow("unknown function") << u"FOO(1)"_s << u"未知的函数"_s;
        QTest::newRow("too few arguments") << u"ROUND(1)"_s << u"参数"_s;
        QTest::newRow("too many arguments") << u"LEN(1,2)"_s << u"参数"_s;
        QTest::newRow("row zero") << u"A0+1"_s << u"不是单元格引用"_s;
        QTest::newRow("past the last row") << u"A65537"_s << u"不是单元格引用"_s;
        QTest::newRow("past the last column") << u"IW1"_s << u"不是单元格引用"_s;
        QTest::newRow("open text") << u"\"abc"_s << u"引号"_s;
        QTest::newRow("open sheet name") << u"'Sheet!A1"_s << u"引号"_s;
        QTest::newRow("unknown error") << u"#FOO!"_s << u"错误值"_s;
        QTest::newRow("text over 255") << u"\""_s + QString(256, u'a') + u"\""_s << u"255"_s;
        QTest::newRow("nested too deep")
            << QString(100, u'(') + u"1"_s + QString(100, u')') << u"嵌套太深"_s;
        QTest::newRow("trailing text") << u"1 2"_s << u"多余"_s;
    }
    void invalidFormulas()
    {
        QFETCH(QString, formula);
        QFETCH(QString, reason);
        try {
            Formula::parse(formula);
            QFAIL("an invalid formula was accepted");
        } catch (const Rt::Exception &e) {
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
    }

    void numberFormats_data()
    {
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("general integer") << Value::number(480) << QString() << u"480"_s;
        QTest::newRow("general fraction") << Value::number(0.1 + 0.2) << u"General"_s << u"0.3"_s;
        QTest::newRow("general large") << Value::number(1e20) << QString() << u"1e+20"_s;
        QTest::newRow("fixed decimals") << Value::number(2.5) << u"0.00"_s << u"2.50"_s;
        QTest::newRow("rounded") << Value::number(2.675) << u"0"_s << u"3"_s;
        QTest::newRow("grouped") << Value::number(1234567.891) << u"#,##0.00"_s
                                 << u"1,234,567.89"_s;
        QTest::newRow("negative grouped") << Value::number(-1234) << u"#,##0"_s << u"-1,234"_s;
        QTest::newRow("negative section") << Value::number(-5) << u"0;(0)"_s << u"(5)"_s;
        QTest::newRow("zero section") << Value::number(0) << u"0;-0;\"无\""_s << u"无"_s;
        QTest::newRow("percent") << Value::number(0.256) << u"0.0%"_s << u"25.6%"_s;
        QTest::newRow("scientific") << Value::number(12345) << u"0.00E+00"_s << u"1.23E+04"_s;
        QTest::newRow("optional decimals") << Value::number(1.5) << u"0.##"_s << u"1.5"_s;
        QTest::newRow("footer sum") << Value::number(27030) << u"\"合计：\"0"_s << u"合计：27030"_s;
        QTest::newRow("footer count") << Value::number(60) << u"0\" 条记录\""_s << u"60 条记录"_s;
        QTest::newRow("escaped text") << Value::number(7) << u"0\\h"_s << u"7h"_s;
        QTest::newRow("iso date") << Value::number(46361) << u"yyyy-mm-dd"_s << u"2026-12-05"_s;
        QTest::newRow("date and time") << Value::number(46361.5729166667)
                                       << u"yyyy-mm-dd hh:mm:ss"_s << u"2026-12-05 13:45:00"_s;
        QTest::newRow("minutes beside hours") << Value::number(0.75) << u"h:mm"_s << u"18:00"_s;
        QTest::newRow("twelve hours") << Value::number(0.75) << u"h:mm AM/PM"_s << u"6:00 PM"_s;
        QTest::newRow("month names") << Value::number(46361) << u"d-mmm-yy"_s << u"5-Dec-26"_s;
        QTest::newRow("elapsed hours") << Value::number(1.5) << u"[h]:mm"_s << u"36:00"_s;
        QTest::newRow("leap day") << Value::number(45351) << u"yyyy-mm-dd"_s << u"2024-02-29"_s;
        QTest::newRow("date out of range") << Value::number(-1) << u"yyyy-mm-dd"_s << u"#######"_s;
        QTest::newRow("no number under a date")
            << Value::number(qQNaN()) << u"yyyy-mm-dd"_s << u"#NUM!"_s;
        QTest::newRow("no number in hours") << Value::number(qQNaN()) << u"[h]:mm"_s << u"#NUM!"_s;
        QTest::newRow("infinity under a date")
            << Value::number(qInf()) << u"yyyy-mm-dd"_s << u"#NUM!"_s;
        QTest::newRow("no number as a number") << Value::number(qQNaN()) << u"0.00"_s << u"#NUM!"_s;
        QTest::newRow("text keeps itself") << Value::text(u"调班"_s) << u"0.00"_s << u"调班"_s;
        QTest::newRow("boolean") << Value::boolean(false) << QString() << u"FALSE"_s;
        QTest::newRow("error") << Value::error(ErrorCode::NA) << u"0.00"_s << u"#N/A"_s;
        QTest::newRow("empty") << Value() << u"0.00"_s << QString();
    }
    void numberFormats()
    {
        QFETCH(Value, value);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        QCOMPARE(formatValue(value, format), shown);
    }

    void dateFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("isDate");
        QTest::newRow("iso") << u"yyyy-mm-dd"_s << true;
        QTest::newRow("time") << u"hh:mm"_s << true;
        QTest::newRow("elapsed") << u"[h]:mm:ss"_s << true;
        QTest::newRow("chinese date") << u"yyyy\"年\"m\"月\"d\"日\""_s << true;
        QTest::newRow("general") << u"General"_s << false;
        QTest::newRow("number") << u"#,##0.00"_s << false;
        QTest::newRow("quoted letters") << u"0\" days\""_s << false;
        QTest::newRow("colour") << u"[Red]0.00"_s << false;
        QTest::newRow("escaped") << u"0\\d"_s << false;
    }
    void dateFormats()
    {
        QFETCH(QString, format);
        QFETCH(bool, isDate);
        QCOMPARE(isDateFormat(format), isDate);
    }
};

QTEST_GUILESS_MAIN(XlsFormulaTest)
#include "tst_xlsformula.moc"
