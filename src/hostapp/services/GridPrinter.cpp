#include "GridPrinter.h"

#include "runtime/exceptions.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/spreadsheet/spreadsheetbook.h"

#include <QPainter>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

PrintTable gridTable(const TcxGridTableView *view, const QString &title)
{
    PrintTable table;
    table.title = title;
    const QList<TcxGridColumn *> columns = view->visibleColumns();
    for (const TcxGridColumn *column : columns) {
        table.captions << column->caption();
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

// A sheet prints its used area as it shows it, without captions.
PrintTable sheetTable(TcxSSBookSheet *sheet, const QString &title)
{
    PrintTable table;
    table.title = sheet->caption().isEmpty() ? title : title + u" - "_s + sheet->caption();
    const int columns = sheet->columnCount();
    table.alignments.fill(Qt::AlignLeft, columns);
    for (int r = 0; r < sheet->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << sheet->GetCellObject(c, r)->displayText();
        table.rows << cells;
    }
    return table;
}

} // namespace

QList<PrintTable> printTablesOf(QObject *component, const QString &title)
{
    if (auto *book = qobject_cast<TcxSpreadSheetBook *>(component)) {
        QList<PrintTable> tables;
        for (int p = 0; p < book->PageCount(); ++p)
            tables << sheetTable(book->Pages(p), title);
        return tables;
    }
    auto *grid = qobject_cast<TcxGrid *>(component);
    auto *view = grid ? qobject_cast<TcxGridTableView *>(grid->activeView()) : nullptr;
    if (!view)
        throw Rt::Exception(
            u"无法打印：%1 不是表格。"_s.arg(component ? component->objectName() : u"(无)"_s));
    return {gridTable(view, title)};
}

namespace {

struct PageLayout
{
    QRectF area;
    QList<qreal> columnX; // left edge of each column, and the right edge last
    qreal rowHeight;
    int rowsPerPage;
};

// What each column needs to show its texts whole: the captions, the footer and
// the first rows (a long list's first thousand stand for the rest).
QList<qreal> neededWidths(const PrintTable &table, const QFontMetricsF &metrics)
{
    const qreal padding = metrics.horizontalAdvance(u"00"_s);
    QList<qreal> needs(table.alignments.size(), padding);
    auto take = [&](const QStringList &cells, qreal factor) {
        for (qsizetype c = 0; c < needs.size(); ++c)
            needs[c] = qMax(needs[c], metrics.horizontalAdvance(cells.value(c)) * factor + padding);
    };
    // Captions and footer print bold.
    take(table.captions, 1.1);
    take(table.footer, 1.1);
    for (qsizetype r = 0; r < qMin<qsizetype>(table.rows.size(), 1000); ++r)
        take(table.rows[r], 1.0);
    return needs;
}

// With room, every column grows in proportion to its need. Without, the columns
// that need less than an equal share get what they need, again and again as the
// share grows, and the others split what remains.
QList<qreal> fitWidths(const QList<qreal> &needs, qreal available)
{
    qreal total = 0;
    for (qreal need : needs)
        total += need;
    QList<qreal> widths(needs.size(), -1);
    if (total <= available) {
        for (qsizetype c = 0; c < needs.size(); ++c)
            widths[c] = needs[c] * available / total;
        return widths;
    }
    qreal remaining = available;
    qsizetype open = needs.size();
    for (bool settled = true; open > 0 && settled;) {
        settled = false;
        const qreal share = remaining / qreal(open);
        for (qsizetype c = 0; c < needs.size(); ++c) {
            if (widths[c] < 0 && needs[c] <= share) {
                widths[c] = needs[c];
                remaining -= needs[c];
                --open;
                settled = true;
            }
        }
    }
    for (qreal &width : widths) {
        if (width < 0)
            width = remaining / qreal(open);
    }
    return widths;
}

PageLayout layoutFor(const PrintTable &table, const QRectF &area, const QFontMetricsF &metrics)
{
    PageLayout layout;
    layout.area = area;
    layout.rowHeight = metrics.height() * 1.6;
    const qreal titleAndHeader = layout.rowHeight * 3;
    const qreal footerAndPageNo = layout.rowHeight * 2;
    layout.rowsPerPage =
        qMax(1, int((area.height() - titleAndHeader - footerAndPageNo) / layout.rowHeight));
    qreal x = area.left();
    for (qreal width : fitWidths(neededWidths(table, metrics), area.width())) {
        layout.columnX << x;
        x += width;
    }
    layout.columnX << x;
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
        // Half a digit clear of the rules on either side.
        const qreal inset = painter.fontMetrics().horizontalAdvance(u'0') / 2.0;
        const QRectF text = cell.adjusted(inset, 0, -inset, 0);
        painter.drawText(
            text, int(h | Qt::AlignVCenter),
            painter.fontMetrics().elidedText(cells.value(c), Qt::ElideRight, int(text.width())));
    }
}

} // namespace

namespace {

// A table wider than the page prints smaller, down to a size still easy to read,
// before its long texts are cut.
qreal fittingPointSize(const QList<PrintTable> &tables, const QFont &font, QPrinter &printer,
                       qreal width)
{
    constexpr qreal smallest = 6.5;
    const QFontMetricsF metrics(font, &printer);
    qreal widest = 0;
    for (const PrintTable &table : tables) {
        qreal total = 0;
        for (qreal need : neededWidths(table, metrics))
            total += need;
        widest = qMax(widest, total);
    }
    if (widest <= width)
        return font.pointSizeF();
    return qMax(smallest, font.pointSizeF() * width / widest);
}

int pageCountOf(const PrintTable &table, const PageLayout &layout)
{
    return qMax(1, int((table.rows.size() + layout.rowsPerPage - 1) / layout.rowsPerPage));
}

} // namespace

void printTables(const QList<PrintTable> &tables, QPrinter &printer)
{
    QPainter painter(&printer);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF page(0, 0, area.width(), area.height());
    // Points, not pixels: the printer's pixels are far smaller than the screen's.
    QFont font = Rt::formFont();
    font.setPointSizeF(9);
    font.setPointSizeF(fittingPointSize(tables, font, printer, page.width()));
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);

    int pageCount = 0;
    for (const PrintTable &table : tables)
        pageCount += pageCountOf(table, layoutFor(table, page, metrics));

    int pageNo = 0;
    for (const PrintTable &table : tables) {
        const PageLayout layout = layoutFor(table, page, metrics);
        const int rowCount = int(table.rows.size());
        const int tablePages = pageCountOf(table, layout);
        const QList<Qt::Alignment> centred(table.captions.size(), Qt::AlignHCenter);

        for (int p = 0; p < tablePages; ++p) {
            if (pageNo++ > 0)
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

            if (!table.captions.isEmpty()) {
                painter.save();
                painter.setBrush(QColor(0xE3, 0xEA, 0xF3));
                drawRow(painter, layout, y, table.captions, centred, true);
                painter.restore();
                y += layout.rowHeight;
            }

            const int first = p * layout.rowsPerPage;
            const int last = qMin(rowCount, first + layout.rowsPerPage);
            for (int r = first; r < last; ++r, y += layout.rowHeight)
                drawRow(painter, layout, y, table.rows[r], table.alignments, true);

            if (p == tablePages - 1 && !table.footer.isEmpty()) {
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
                             u"第 %1 页 / 共 %2 页"_s.arg(pageNo).arg(pageCount));
        }
    }
}
