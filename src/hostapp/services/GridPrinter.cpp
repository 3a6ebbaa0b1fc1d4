#include "GridPrinter.h"

#include "runtime/exceptions.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"

#include <QPainter>
#include <QPrinter>

using namespace Qt::StringLiterals;

PrintTable printTableOf(QObject *component, const QString &title)
{
    auto *grid = qobject_cast<TcxGrid *>(component);
    auto *view = grid ? qobject_cast<TcxGridTableView *>(grid->activeView()) : nullptr;
    if (!view)
        throw Rt::Exception(u"无法打印：%1 不是表格。"_s.arg(component ? component->objectName()
                                                                        : u"(无)"_s));
    PrintTable table;
    table.title = title;
    const QList<TcxGridColumn *> columns = view->visibleColumns();
    for (const TcxGridColumn *column : columns) {
        table.captions << column->caption();
        table.widths << qMax(column->width(), column->minWidth());
        table.alignments << column->alignment();
    }
    const TcxGridDataController *data = view->dataController();
    table.rows.reserve(data->recordCount());
    for (int r = 0; r < data->recordCount(); ++r) {
        QStringList cells;
        for (const TcxGridColumn *column : columns)
            cells << data->displayText(r, column->index());
        table.rows << cells;
    }
    if (view->footerVisible()) {
        for (const TcxGridColumn *column : columns)
            table.footer << view->footerText(column);
    }
    return table;
}

namespace {

struct PageLayout
{
    QRectF area;
    QList<qreal> columnX; // left edge of each column, and the right edge last
    qreal rowHeight;
    int rowsPerPage;
};

PageLayout layoutFor(const PrintTable &table, const QRectF &area, const QFontMetricsF &metrics)
{
    PageLayout layout;
    layout.area = area;
    layout.rowHeight = metrics.height() * 1.6;
    const qreal titleAndHeader = layout.rowHeight * 3;
    const qreal footerAndPageNo = layout.rowHeight * 2;
    layout.rowsPerPage = qMax(1, int((area.height() - titleAndHeader - footerAndPageNo)
                                     / layout.rowHeight));
    qreal total = 0;
    for (int w : table.widths)
        total += w;
    qreal x = area.left();
    for (int w : table.widths) {
        layout.columnX << x;
        x += total > 0 ? area.width() * w / total : 0;
    }
    layout.columnX << area.right();
    return layout;
}

void drawRow(QPainter &painter, const PageLayout &layout, qreal y, const QStringList &cells,
             const QList<Qt::Alignment> &alignments, bool boxed)
{
    for (qsizetype c = 0; c + 1 < layout.columnX.size(); ++c) {
        const QRectF cell(layout.columnX[c], y, layout.columnX[c + 1] - layout.columnX[c],
                          layout.rowHeight);
        if (boxed)
            painter.drawRect(cell);
        const Qt::Alignment h = alignments.value(c, Qt::AlignLeft) & Qt::AlignHorizontal_Mask;
        painter.drawText(cell.adjusted(3, 0, -3, 0), int(h | Qt::AlignVCenter),
                         painter.fontMetrics().elidedText(cells.value(c), Qt::ElideRight,
                                                          int(cell.width() - 6)));
    }
}

} // namespace

void printTable(const PrintTable &table, QPrinter &printer)
{
    QPainter painter(&printer);
    // Points, not pixels: the printer's pixels are far smaller than the screen's.
    QFont font = Rt::formFont();
    font.setPointSizeF(9);
    painter.setFont(font);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF page(0, 0, area.width(), area.height());
    const PageLayout layout = layoutFor(table, page, QFontMetricsF(painter.font()));
    const int rowCount = int(table.rows.size());
    const int pageCount = qMax(1, (rowCount + layout.rowsPerPage - 1) / layout.rowsPerPage);
    QList<Qt::Alignment> centred(table.captions.size(), Qt::AlignHCenter);

    for (int p = 0; p < pageCount; ++p) {
        if (p > 0)
            printer.newPage();
        qreal y = page.top();
        QFont titleFont = painter.font();
        titleFont.setBold(true);
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
        painter.save();
        painter.setFont(titleFont);
        painter.drawText(QRectF(page.left(), y, page.width(), layout.rowHeight * 1.5),
                         Qt::AlignCenter, table.title);
        painter.restore();
        y += layout.rowHeight * 1.5;

        painter.save();
        painter.setBrush(QColor(0xE3, 0xEA, 0xF3));
        drawRow(painter, layout, y, table.captions, centred, true);
        painter.restore();
        y += layout.rowHeight;

        const int first = p * layout.rowsPerPage;
        const int last = qMin(rowCount, first + layout.rowsPerPage);
        for (int r = first; r < last; ++r, y += layout.rowHeight)
            drawRow(painter, layout, y, table.rows[r], table.alignments, true);

        if (p == pageCount - 1 && !table.footer.isEmpty()) {
            painter.save();
            QFont bold = painter.font();
            bold.setBold(true);
            painter.setFont(bold);
            drawRow(painter, layout, y, table.footer, table.alignments, true);
            painter.restore();
        }
        painter.drawText(QRectF(page.left(), page.bottom() - layout.rowHeight, page.width(),
                                layout.rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         u"第 %1 页 / 共 %2 页"_s.arg(p + 1).arg(pageCount));
    }
}
