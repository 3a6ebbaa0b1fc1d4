#pragma once

#include "workbook.h"

#include <QByteArray>

#include <functional>
#include <span>

// Saves a workbook as an Excel 97-2003 file: a BIFF8 workbook stream inside a
// compound file.
namespace Rt::Xls {

// The workbook stream: the globals substream, then one substream per sheet.
RT_EXPORT QByteArray workbookStream(const Workbook &workbook);

// Writes fileName whole or not at all; raises Rt::Exception when it cannot.
RT_EXPORT void writeWorkbook(const Workbook &workbook, const QString &fileName);

// A workbook handed over row by row, for books too large to hold as cells. The
// writer goes through the rows twice, to lay the file out and then to write it,
// and they must come the same both times; only the shared strings stay in memory.
class RT_EXPORT RowSource
{
public:
    virtual ~RowSource() = default;

    virtual const StyleTable &styles() const = 0;
    virtual int sheetCount() const = 0;
    virtual QString sheetName(int sheet) const = 0;
    virtual int activeSheet() const { return 0; }
    // Widths by column, as Sheet::columnWidths() has them.
    virtual QHash<int, double> columnWidths(int sheet) const = 0;
    // Hands visit the rows of a sheet that hold cells, in order, each row's cells
    // sorted by column.
    virtual void
    forEachRow(int sheet,
               const std::function<void(int row, std::span<const Cell> cells)> &visit) = 0;
};

// As writeWorkbook() above, from rows that need not all be in memory at once.
RT_EXPORT void writeWorkbook(RowSource &source, const QString &fileName);

} // namespace Rt::Xls
