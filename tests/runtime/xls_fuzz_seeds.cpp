// Writes the fuzzer's seed files of our own: a register grid export with a
// footer, and a workbook of formulas over two sheets.
//
//   xls_fuzz_seeds OUT_DIR
#include "XlsTestSupport.h"

#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/excelexport.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;

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
    return 0;
}
