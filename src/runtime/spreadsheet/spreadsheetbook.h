#pragma once

#include "runtime/rtglobal.h"

#include <QString>
#include <QWidget>

#include <memory>

class TcxSpreadSheetBook;

namespace Rt::Xls {
class Workbook;
}

// The style of one cell, or the book's default style for cells that have none of
// their own.
class RT_EXPORT TcxSSCellStyle
{
public:
    virtual ~TcxSSCellStyle() = default;
    virtual bool wordWrap() const = 0;
    virtual void setWordWrap(bool wrap) = 0;
};

// A handle on one cell of a page, made for the caller and released by it; the cell
// itself stays in the book.
class RT_EXPORT TcxSSCellObject
{
public:
    virtual ~TcxSSCellObject() = default;
    virtual TcxSSCellStyle &Style() = 0;
    // The value as the sheet shows it (a formula's result).
    virtual QString displayText() const = 0;
    // The formula without its leading "=", or "" when the cell holds none.
    virtual QString formula() const = 0;
};

// One sheet of a book.
class RT_EXPORT TcxSSBookSheet
{
public:
    virtual ~TcxSSBookSheet() = default;
    virtual QString caption() const = 0;
    // The used area: one past the last column and row that hold anything.
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual std::unique_ptr<TcxSSCellObject> GetCellObject(int column, int row) = 0;
    // Sets a cell from text as a user types it: "=..." is a formula, a number is a
    // number, anything else text. The two switches are the classic ones (false,
    // true in every caller here); they do not change what is stored.
    virtual void SetCellText(int column, int row, const QString &text, bool isFormula,
                             bool analyse) = 0;
};

// A workbook of one or more pages, shown as a sheet per tab. Loads and saves .xls
// (BIFF8) files. A failed load raises Rt::Exception with a reason a user can read
// and leaves the book exactly as it was.
class RT_EXPORT TcxSpreadSheetBook : public QWidget
{
    Q_OBJECT
public:
    explicit TcxSpreadSheetBook(QWidget *parent = nullptr);
    ~TcxSpreadSheetBook() override;

    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;

    int PageCount() const;
    TcxSSBookSheet *Pages(int index) const;
    TcxSSCellStyle &DefaultStyle();

    // With automatic recalculation off, formulas keep their last results until
    // Recalc() or until it is switched on again.
    void SetAutoRecalc(bool on);
    void Recalc();
    // Changes between these reach the screen once, at the outermost end.
    void BeginUpdate();
    void EndUpdate();

    // Begins an update and ends it when the scope is left, by any path.
    class UpdateScope
    {
    public:
        explicit UpdateScope(TcxSpreadSheetBook &book)
            : m_book(book)
        {
            m_book.BeginUpdate();
        }
        ~UpdateScope() { m_book.EndUpdate(); }
        UpdateScope(const UpdateScope &) = delete;
        UpdateScope &operator=(const UpdateScope &) = delete;

    private:
        TcxSpreadSheetBook &m_book;
    };

    // The cells, styles and sheets behind the pages, for printing and tests.
    const Rt::Xls::Workbook &workbook() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
