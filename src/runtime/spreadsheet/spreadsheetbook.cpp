#include "spreadsheetbook.h"

#include "recalc_p.h"
#include "sheettabs_p.h"

#include "runtime/exceptions.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <cmath>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace {

// What the book's parts tell the book: a cell changed, or the styles did.
class BookChanges
{
public:
    virtual ~BookChanges() = default;
    virtual Workbook &workbook() = 0;
    virtual void cellChanged(int sheet, int row, int column, bool recalc) = 0;
    virtual void allChanged() = 0;
};

class DefaultCellStyle : public TcxSSCellStyle
{
public:
    explicit DefaultCellStyle(BookChanges &book)
        : m_book(book)
    {}
    bool wordWrap() const override { return m_book.workbook().styles().at(0).wrap; }
    void setWordWrap(bool wrap) override
    {
        CellStyle style = m_book.workbook().styles().at(0);
        style.wrap = wrap;
        m_book.workbook().styles().setDefaultStyle(style);
        m_book.allChanged();
    }

private:
    BookChanges &m_book;
};

// The style of one cell: a change gives the cell a style of its own.
class OwnCellStyle : public TcxSSCellStyle
{
public:
    OwnCellStyle(BookChanges &book, int sheet, int row, int column)
        : m_book(book)
        , m_sheet(sheet)
        , m_row(row)
        , m_column(column)
    {}
    bool wordWrap() const override
    {
        const Cell *cell = m_book.workbook().sheet(m_sheet).cell(m_row, m_column);
        return m_book.workbook().styles().at(cell ? cell->style : 0).wrap;
    }
    void setWordWrap(bool wrap) override
    {
        Workbook &book = m_book.workbook();
        Cell &cell = book.sheet(m_sheet).cellAt(m_row, m_column);
        CellStyle style = book.styles().at(cell.style);
        style.wrap = wrap;
        cell.style = quint16(book.styles().add(style));
        m_book.cellChanged(m_sheet, m_row, m_column, false);
    }

private:
    BookChanges &m_book;
    int m_sheet, m_row, m_column;
};

class CellObject : public TcxSSCellObject
{
public:
    CellObject(BookChanges &book, int sheet, int row, int column)
        : m_book(book)
        , m_style(book, sheet, row, column)
        , m_sheet(sheet)
        , m_row(row)
        , m_column(column)
    {}
    TcxSSCellStyle &Style() override { return m_style; }
    QString displayText() const override
    {
        const Workbook &book = m_book.workbook();
        const Cell *cell = book.sheet(m_sheet).cell(m_row, m_column);
        return cell ? formatValue(cell->value, book.styles().at(cell->style).numberFormat)
                    : QString();
    }
    QString formula() const override
    {
        const Cell *cell = m_book.workbook().sheet(m_sheet).cell(m_row, m_column);
        return cell && cell->formula ? cell->formula->text() : QString();
    }

private:
    BookChanges &m_book;
    OwnCellStyle m_style;
    int m_sheet, m_row, m_column;
};

void checkCell(int column, int row)
{
    if (column < 0 || column >= MaxColumns || row < 0 || row >= MaxRows)
        throw Rt::Exception(u"单元格（列 %1，行 %2）超出了工作表的范围。"_s.arg(column).arg(row));
}

class BookSheet : public TcxSSBookSheet
{
public:
    BookSheet(BookChanges &book, int sheet)
        : m_book(book)
        , m_sheet(sheet)
    {}
    QString caption() const override { return sheet().name(); }
    int columnCount() const override { return sheet().columnCount(); }
    int rowCount() const override { return sheet().rowCount(); }
    std::unique_ptr<TcxSSCellObject> GetCellObject(int column, int row) override
    {
        checkCell(column, row);
        return std::make_unique<CellObject>(m_book, m_sheet, row, column);
    }
    void SetCellText(int column, int row, const QString &text, bool, bool) override
    {
        checkCell(column, row);
        // The formula is parsed before anything changes: a bad one changes nothing.
        FormulaRef formula;
        if (text.startsWith(u'='))
            formula = Formula::parse(text);
        Sheet &s = m_book.workbook().sheet(m_sheet);
        if (text.isEmpty() && (!s.cell(row, column) || s.cell(row, column)->style == 0)) {
            s.removeCell(row, column);
            m_book.cellChanged(m_sheet, row, column, true);
            return;
        }
        Cell &cell = s.cellAt(row, column);
        cell.formula = formula;
        bool isNumber = false;
        const double number = text.trimmed().toDouble(&isNumber);
        if (formula)
            cell.value = Value();
        else if (isNumber && std::isfinite(number))
            cell.value = Value::number(number);
        else
            cell.value = text.isEmpty() ? Value() : Value::text(truncatedText(text));
        m_book.cellChanged(m_sheet, row, column, true);
    }

private:
    Sheet &sheet() const { return m_book.workbook().sheet(m_sheet); }

    BookChanges &m_book;
    int m_sheet;
};

} // namespace

struct TcxSpreadSheetBook::Private : BookChanges
{
    Private()
        : defaultStyle(*this)
    {}

    Workbook &workbook() override { return book; }

    void cellChanged(int sheet, int row, int column, bool recalc) override
    {
        if (recalc)
            recalcPending = true;
        if (updateDepth > 0) {
            viewStale = true;
            return;
        }
        if (recalc && autoRecalc)
            runRecalc();
        else
            tabs->refreshCell(sheet, row, column);
    }

    void allChanged() override
    {
        viewStale = true;
        if (updateDepth == 0)
            refreshView();
    }

    void runRecalc()
    {
        Rt::Internal::Recalculator(book).recalculate();
        recalcPending = false;
        refreshView();
    }

    void refreshView()
    {
        viewStale = false;
        tabs->reload();
    }

    void adopt(Workbook &&loaded)
    {
        book = std::move(loaded);
        pages.clear();
        for (int i = 0; i < book.sheetCount(); ++i)
            pages.push_back(std::make_unique<BookSheet>(*this, i));
        tabs->setWorkbook(&book);
    }

    Workbook book;
    std::vector<std::unique_ptr<BookSheet>> pages;
    DefaultCellStyle defaultStyle;
    Rt::Internal::SheetTabs *tabs = nullptr;
    int updateDepth = 0;
    bool autoRecalc = true;
    bool recalcPending = false;
    bool viewStale = false;
};

TcxSpreadSheetBook::TcxSpreadSheetBook(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<Private>())
{
    d->tabs = Rt::Internal::SheetTabs::filling(this);
    // A new book has one empty sheet, as a new workbook in any spreadsheet has.
    Workbook book;
    book.addSheet(u"Sheet1"_s);
    d->adopt(std::move(book));
}

TcxSpreadSheetBook::~TcxSpreadSheetBook() = default;

void TcxSpreadSheetBook::LoadFromFile(const QString &fileName)
{
    // Read whole before anything is replaced: a refused file leaves the book as it was.
    d->adopt(Rt::Xls::readWorkbook(fileName));
    d->recalcPending = false;
}

void TcxSpreadSheetBook::SaveToFile(const QString &fileName) const
{
    Rt::Xls::writeWorkbook(d->book, fileName);
}

int TcxSpreadSheetBook::PageCount() const
{
    return int(d->pages.size());
}

TcxSSBookSheet *TcxSpreadSheetBook::Pages(int index) const
{
    if (index < 0 || index >= PageCount())
        throw Rt::Exception(u"工作簿没有第 %1 页。"_s.arg(index));
    return d->pages[size_t(index)].get();
}

TcxSSCellStyle &TcxSpreadSheetBook::DefaultStyle()
{
    return d->defaultStyle;
}

void TcxSpreadSheetBook::SetAutoRecalc(bool on)
{
    if (d->autoRecalc == on)
        return;
    d->autoRecalc = on;
    // Switched on again, the book catches up with what changed meanwhile.
    if (on && d->recalcPending && d->updateDepth == 0)
        d->runRecalc();
}

void TcxSpreadSheetBook::Recalc()
{
    d->runRecalc();
}

void TcxSpreadSheetBook::BeginUpdate()
{
    ++d->updateDepth;
}

void TcxSpreadSheetBook::EndUpdate()
{
    if (d->updateDepth == 0 || --d->updateDepth > 0)
        return;
    if (d->autoRecalc && d->recalcPending)
        d->runRecalc();
    else if (d->viewStale)
        d->refreshView();
}

const Rt::Xls::Workbook &TcxSpreadSheetBook::workbook() const
{
    return d->book;
}
