#include "cell.h"

#include "cellfind_p.h"
#include "recalc_p.h"
#include "sheetprint_p.h"
#include "sheettabs_p.h"

#include "runtime/exceptions.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/writer.h"

#include <QPointer>
#include <QTimer>

#include <cmath>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

// The dispatch identifiers the control answers.
enum DispId {
    SaveFile = 129,
    SheetCount = 228,
    ColumnCount = 38,
    RowCount = 40,
    CellKind = 121,
    CellFormula = 327,
    CurrentSheet = 111,
    Print = 133,
    Print2 = 132,
    FindDialog = 221,
};

// Formula cells answer 1 to the cell-kind question, all others 0.
constexpr int FormulaKind = 1;

} // namespace

struct TCell::Private
{
    Workbook book;
    Rt::Internal::SheetTabs *tabs = nullptr;
    QPointer<Rt::Internal::CellFindDialog> findDialog;

    [[noreturn]] static void badArguments(int dispId)
    {
        throw Rt::Exception(u"电子表格控件：调度操作 %1 的参数不对。"_s.arg(dispId));
    }

    static int intArg(int dispId, const QVariantList &args, int i)
    {
        bool ok = false;
        const int v = args.value(i).toInt(&ok);
        if (!ok)
            badArguments(dispId);
        return v;
    }

    Sheet &sheetArg(int dispId, const QVariantList &args, int i)
    {
        const int s = intArg(dispId, args, i);
        if (s < 0 || s >= book.sheetCount())
            throw Rt::Exception(u"电子表格控件没有第 %1 张工作表。"_s.arg(s));
        return book.sheet(s);
    }

    // Columns and rows count from 1 here.
    const Cell *cellArg(int dispId, const QVariantList &args)
    {
        if (args.size() != 3)
            badArguments(dispId);
        const int column = intArg(dispId, args, 0);
        const int row = intArg(dispId, args, 1);
        return sheetArg(dispId, args, 2).cell(row - 1, column - 1);
    }

    Cell &cellAt(int column, int row, int sheet)
    {
        if (sheet < 0 || sheet >= book.sheetCount())
            throw Rt::Exception(u"电子表格控件没有第 %1 张工作表。"_s.arg(sheet));
        return book.sheet(sheet).cellAt(row - 1, column - 1);
    }

    // Changes from code come in runs: the formulas and the screen catch up once,
    // when the run is over or before anything reads the control.
    void changed()
    {
        stale = true;
        refresh.start();
    }
    void catchUp()
    {
        if (!stale)
            return;
        stale = false;
        Rt::Internal::Recalculator(book).recalculate();
        tabs->reload();
    }

    QTimer refresh;
    bool stale = false;
};

TCell::TCell(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->tabs = Rt::Internal::SheetTabs::filling(this);
    d->book.addSheet(u"Sheet1"_s);
    d->tabs->setWorkbook(&d->book);
    d->refresh.setSingleShot(true);
    d->refresh.setInterval(0);
    connect(&d->refresh, &QTimer::timeout, this, [this] { d->catchUp(); });
}

TCell::~TCell() = default;

QVariant TCell::dispatch(int dispId, const QVariantList &args)
{
    auto expect = [&](qsizetype count) {
        if (args.size() != count)
            Private::badArguments(dispId);
    };
    d->catchUp();
    switch (dispId) {
    case SaveFile:
        expect(1);
        if (args.at(0).typeId() != QMetaType::QString || args.at(0).toString().isEmpty())
            Private::badArguments(dispId);
        Rt::Xls::writeWorkbook(d->book, args.at(0).toString());
        return 1;
    case SheetCount:
        expect(0);
        return d->book.sheetCount();
    case ColumnCount:
        expect(1);
        return d->sheetArg(dispId, args, 0).columnCount();
    case RowCount:
        expect(1);
        return d->sheetArg(dispId, args, 0).rowCount();
    case CellKind: {
        const Cell *cell = d->cellArg(dispId, args);
        return cell && cell->formula ? FormulaKind : 0;
    }
    case CellFormula: {
        const Cell *cell = d->cellArg(dispId, args);
        return cell && cell->formula ? cell->formula->text() : QString();
    }
    case CurrentSheet:
        expect(0);
        return std::max(d->tabs->currentIndex(), 0);
    case Print:
    case Print2: {
        expect(2);
        Private::intArg(dispId, args, 0);
        d->sheetArg(dispId, args, 1);
        Rt::Internal::previewSheet(d->book, args.at(1).toInt(), dispId == Print2, window());
        return {};
    }
    case FindDialog:
        expect(1);
        if (!d->findDialog) {
            d->findDialog = new Rt::Internal::CellFindDialog(d->tabs, this);
            d->findDialog->setAttribute(Qt::WA_DeleteOnClose);
            d->findDialog->setWindowFlag(Qt::Window);
        }
        d->findDialog->show();
        d->findDialog->raise();
        return {};
    default:
        throw Rt::Exception(u"电子表格控件没有调度操作 %1。"_s.arg(dispId));
    }
}

void TCell::setSheetCount(int count)
{
    if (count < 1)
        throw Rt::Exception(u"电子表格控件至少要有一张工作表。"_s);
    while (d->book.sheetCount() > count)
        d->book.removeSheet(d->book.sheetCount() - 1);
    while (d->book.sheetCount() < count)
        d->book.addSheet(d->book.freeSheetName(u"Sheet"_s));
    d->tabs->setWorkbook(&d->book);
    d->changed();
}

void TCell::setCellText(int column, int row, int sheet, const QString &text)
{
    Cell &cell = d->cellAt(column, row, sheet);
    cell.formula.reset();
    bool isNumber = false;
    const double number = text.trimmed().toDouble(&isNumber);
    cell.value = isNumber && std::isfinite(number) ? Value::number(number) : Value::text(text);
    d->changed();
}

void TCell::setCellFormula(int column, int row, int sheet, const QString &formula)
{
    // Parsed first: a bad formula leaves the cell as it was.
    auto parsed = Formula::parse(formula);
    d->cellAt(column, row, sheet).formula = std::move(parsed);
    d->changed();
}
