#include "SpreadsheetExport.h"

#include "runtime/exceptions.h"
#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "talvex/project/HostFactory.h"
#include "talvex/project/HostScopes.h"

using namespace Qt::StringLiterals;

namespace {

int dispatchInt(TCell *cell, int dispId, const QVariantList &args = {})
{
    return cell->dispatch(dispId, args).toInt();
}

void carryOverFormulasAndWrap(TCell *cell, TcxSpreadSheetBook &book)
{
    const int sheets = dispatchInt(cell, 228);
    for (int s = 0; s < sheets; ++s) {
        TcxSSBookSheet *page = book.Pages(s);
        if (!page)
            throw Rt::Exception(u"导出的文件缺少第 %1 页"_s.arg(s + 1));
        const int columns = dispatchInt(cell, 38, {s});
        const int rows = dispatchInt(cell, 40, {s});
        for (int x = 1; x <= columns; ++x) {
            for (int y = 1; y <= rows; ++y) {
                page->GetCellObject(x - 1, y - 1)->Style().setWordWrap(true);
                if (dispatchInt(cell, 121, {x, y, s}) > 0) {
                    const QString formula = cell->dispatch(327, {x, y, s}).toString();
                    page->SetCellText(x - 1, y - 1, u'=' + formula, false, true);
                }
            }
        }
    }
    book.DefaultStyle().setWordWrap(true);
}

} // namespace

namespace SpreadsheetExport {

void run(TCell *cell, const QString &fileName)
{
    Host::WaitMessage wait(u"正在导出Excel文件..."_s);
    cell->dispatch(129, {fileName});

    TcxSpreadSheetBook book;
    book.LoadFromFile(fileName);
    // The book takes over the control's formulas and word wrap in one update and
    // one recalculation.
    book.SetAutoRecalc(false);
    {
        const TcxSpreadSheetBook::UpdateScope update(book);
        wait.show(u"正在设置Excel公式..."_s);
        carryOverFormulasAndWrap(cell, book);
    }
    book.Recalc();
    book.SetAutoRecalc(true);
    book.SaveToFile(fileName);
}

} // namespace SpreadsheetExport
