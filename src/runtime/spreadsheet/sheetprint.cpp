#include "sheetprint_p.h"

#include "runtime/xls/numberformat.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace Rt::Internal {

namespace {

constexpr double DefaultColumnWidth = 8.43; // characters, as a new sheet has
constexpr int PrintPointSize = 9;

} // namespace

void printSheet(const Workbook &book, int sheetIndex, QPrinter &printer)
{
    const Sheet &sheet = book.sheet(sheetIndex);
    QPainter painter(&printer);
    QFont font;
    font.setPointSize(PrintPointSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    QFont bold = font;
    bold.setBold(true);

    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const qreal rowHeight = metrics.height() * 1.6;
    const qreal digit = metrics.horizontalAdvance(u'0');
    const qreal titleHeight = rowHeight * 2;

    // Columns are grouped into page-wide strips; each strip prints all rows.
    QList<qreal> widths;
    for (int c = 0; c < std::max(sheet.columnCount(), 1); ++c) {
        const double chars = sheet.columnWidth(c) > 0 ? sheet.columnWidth(c) : DefaultColumnWidth;
        widths << std::min<qreal>(chars * digit + digit, area.width());
    }
    QList<QPair<int, int>> strips;
    for (int first = 0; first < widths.size();) {
        qreal x = 0;
        int last = first;
        while (last < widths.size() && (last == first || x + widths[last] <= area.width()))
            x += widths[last++];
        strips.append({first, last});
        first = last;
    }
    const int rowsPerPage = std::max(1, int((area.height() - titleHeight) / rowHeight));
    const int rows = std::max(sheet.rowCount(), 1);

    bool firstPage = true;
    for (const auto &[firstColumn, endColumn] : strips) {
        for (int top = 0; top < rows; top += rowsPerPage) {
            if (!firstPage)
                printer.newPage();
            firstPage = false;
            painter.setFont(bold);
            painter.drawText(QRectF(0, 0, area.width(), rowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, sheet.name());
            painter.setFont(font);
            const int bottom = std::min(rows, top + rowsPerPage);
            for (int row = top; row < bottom; ++row) {
                const qreal y = titleHeight + (row - top) * rowHeight;
                qreal x = 0;
                for (int c = firstColumn; c < endColumn; ++c) {
                    const QRectF cellRect(x, y, widths[c], rowHeight);
                    painter.drawRect(cellRect);
                    if (const Cell *cell = sheet.cell(row, c)) {
                        const CellStyle &style = book.styles().at(cell->style);
                        painter.setFont(style.bold ? bold : font);
                        Qt::Alignment align = cell->value.kind == Value::Kind::Number
                                                  ? Qt::AlignRight
                                                  : Qt::AlignLeft;
                        if (style.alignment == HorizontalAlignment::Centre)
                            align = Qt::AlignHCenter;
                        else if (style.alignment == HorizontalAlignment::Right)
                            align = Qt::AlignRight;
                        const QRectF text = cellRect.adjusted(digit / 2 + style.indent * digit * 3,
                                                              0, -digit / 2, 0);
                        painter.drawText(
                            text, align | Qt::AlignVCenter,
                            metrics.elidedText(formatValue(cell->value, style.numberFormat),
                                               Qt::ElideRight, text.width()));
                        painter.setFont(font);
                    }
                    x += widths[c];
                }
            }
        }
    }
}

void previewSheet(const Workbook &book, int sheet, bool landscape, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(book.sheet(sheet).name());
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(u"打印预览"_s);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&book, sheet](QPrinter *target) { printSheet(book, sheet, *target); });
    dialog.exec();
}

} // namespace Rt::Internal
