#pragma once

#include "runtime/rtglobal.h"

#include <QVariant>
#include <QWidget>

#include <memory>

// The spreadsheet control: a grid of sheets reached, as its component-object
// original was, through numbered dispatch operations. Arguments are 32-bit
// integers unless said otherwise; columns, rows and sheets count as the original
// does (columns and rows from 1, sheets from 0).
//
//  129 (file name)            writes every sheet as an .xls file; returns 1
//  228 ()                     number of sheets
//   38 (sheet)                number of columns of the sheet
//   40 (sheet)                number of rows of the sheet
//  121 (column, row, sheet)   cell kind: greater than 0 for a formula cell
//  327 (column, row, sheet)   the formula, without the leading "="
//  111 ()                     index of the current sheet
//  133 (1, sheet)             prints the sheet through a print preview
//  132 (1, sheet)             the same, the second print operation
//  221 (0)                    the control's own find dialog
//
// An unknown identifier or a wrong argument list raises Rt::Exception.
class RT_EXPORT TCell : public QWidget
{
    Q_OBJECT
public:
    explicit TCell(QWidget *parent = nullptr);
    ~TCell() override;

    QVariant dispatch(int dispId, const QVariantList &args = {});

    // Filling the control from code (the dispatch operations above only read it).
    void setSheetCount(int count);
    void setCellText(int column, int row, int sheet, const QString &text);
    void setCellFormula(int column, int row, int sheet, const QString &formula);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
