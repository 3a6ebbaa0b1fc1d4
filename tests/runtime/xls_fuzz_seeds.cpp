// Writes the fuzzer's seed files of our own: a register grid export with a
// footer, a workbook of formulas over two sheets, and the shapes of files made
// to exhaust a reader: a long chain of references, texts that double from cell
// to cell, and BLANK records that empty the last row again and again.
//
//   xls_fuzz_seeds OUT_DIR
#include "XlsTestSupport.h"

#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/excelexport.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/writer.h"

#include <QApplication>
#include <QDir>
#include <QFile>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

// A20000 = 1 and each cell above it one more than the cell below.
Workbook referenceChain()
{
    constexpr int length = 20000;
    Workbook book;
    Sheet &sheet = book.addSheet(u"Sheet1"_s);
    XlsTest::put(sheet, length - 1, 0, Value::number(1));
    for (int row = length - 2; row >= 0; --row)
        XlsTest::putFormula(sheet, row, 0, u"A%1+1"_s.arg(row + 2), Value::number(length - row));
    return book;
}

// A1 a text of 255 characters, each cell below twice the one above, by & and by
// CONCATENATE, until the texts are longer than a cell holds.
Workbook doublingTexts()
{
    Workbook book;
    Sheet &sheet = book.addSheet(u"Sheet1"_s);
    QString text(255, u'x');
    XlsTest::put(sheet, 0, 0, Value::text(text));
    for (int row = 1; row < 30; ++row) {
        const bool fits = text.size() * 2 <= MaxTextLength;
        text = fits ? text + text : QString();
        const Value result = fits ? Value::text(text) : Value::error(ErrorCode::Value);
        XlsTest::putFormula(sheet, row, 0, u"A%1&A%1"_s.arg(row), result);
        XlsTest::putFormula(sheet, row, 1, u"CONCATENATE(A%1,A%1)"_s.arg(row), result);
    }
    return book;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir out(app.arguments().value(1, u"."_s));
    auto set = XlsTest::exchanges(300);
    XlsTest::RegisterGrid grid(set.get());
    ExportGrid4ToExcel(out.filePath(u"register.xls"_s), &grid.grid, true, true, true, u"1001"_s,
                       u"xls"_s, false);

    TCell control;
    control.setSheetCount(2);
    for (int r = 1; r <= 20; ++r) {
        control.setCellText(1, r, 0, QString::number(r * 1.5));
        control.setCellText(2, r, 0, r % 2 ? u"调班"_s : QString(300, u'x'));
    }
    const QStringList formulas{
        u"SUM(A1:A20)"_s,
        u"IF(A1>1,\"大\",\"小\")"_s,
        u"CONCATENATE(B1,\"-\",LEFT(B2,2))"_s,
        u"TODAY()-DATE(2026,1,1)"_s,
        u"Sheet2!A1*2+ROWS(A1:A20)"_s,
        u"AND(A1>0,NOT(A2>100))"_s,
        u"ROUND(AVERAGE(A1:A20),2)%"_s,
        u"-A1^2&\"!\""_s,
    };
    for (int i = 0; i < formulas.size(); ++i)
        control.setCellFormula(3, i + 1, 0, formulas.at(i));
    control.setCellText(1, 1, 1, u"41"_s);
    control.dispatch(129, {out.filePath(u"formulas.xls"_s)});

    writeWorkbook(referenceChain(), out.filePath(u"chain.xls"_s));
    writeWorkbook(doublingTexts(), out.filePath(u"doubling.xls"_s));
    QFile blanked(out.filePath(u"blanked.xls"_s));
    if (!blanked.open(QIODevice::WriteOnly) || blanked.write(XlsTest::blankedLastRowFile()) < 0)
        return 1;
    return 0;
}
