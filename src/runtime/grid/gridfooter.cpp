#include "gridfooter_p.h"

#include "gridcolumn.h"
#include "gridtablemodel_p.h"
#include "gridview.h"
#include "runtime/styles.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace Rt::Internal {

namespace {
constexpr int cellMargin = 3;
// From the cell's edges to its text, on either side.
constexpr int textInset = cellMargin + 1;
} // namespace

GridFooter::GridFooter(QTableView *table)
    : QWidget(table)
    , m_table(table)
{
    setAutoFillBackground(false);
}

void GridFooter::setGridView(const TcxGridTableView *view)
{
    m_view = view;
    update();
}

QFont GridFooter::footerFont() const
{
    const TcxStyle *style = m_view ? m_view->styles()->style(Rt::StyleRole::Footer) : nullptr;
    return style && style->hasFont() ? style->font() : font();
}

int GridFooter::preferredHeight() const
{
    return QFontMetrics(footerFont()).height() + 4 * cellMargin;
}

int GridFooter::neededWidth(const TcxGridColumn *column) const
{
    if (!m_view || !m_view->footerVisible())
        return 0;
    const QString summary = m_view->footerText(column);
    if (summary.isEmpty())
        return 0;
    return QFontMetrics(footerFont()).horizontalAdvance(summary) + 2 * textInset;
}

void GridFooter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const TcxStyle *style = m_view ? m_view->styles()->style(Rt::StyleRole::Footer) : nullptr;
    const QColor background =
        style && style->color().isValid() ? style->color() : palette().color(QPalette::Button);
    const QColor text = style && style->textColor().isValid()
                            ? style->textColor()
                            : palette().color(QPalette::ButtonText);
    painter.fillRect(rect(), background);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topLeft(), rect().topRight());
    if (!m_view)
        return;

    const auto *model = static_cast<const GridTableModel *>(m_table->model());
    const QHeaderView *header = m_table->horizontalHeader();
    painter.setFont(footerFont());
    for (int section = 0; section < header->count(); ++section) {
        const TcxGridColumn *column = model->columnAt(section);
        const QString summary = m_view->footerText(column);
        if (summary.isEmpty())
            continue;
        const QRect cell(header->sectionViewportPosition(section), cellMargin,
                         header->sectionSize(section), height() - 2 * cellMargin);
        if (!cell.intersects(rect()))
            continue;
        // A sunken cell under each summed column, as the footer of a spreadsheet.
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(cell.adjusted(1, 0, -2, -1));
        painter.setPen(text);
        const QRect textRect = cell.adjusted(textInset, 0, -textInset, 0);
        const QString elided =
            painter.fontMetrics().elidedText(summary, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, int(column->footerAlignment() | Qt::AlignVCenter), elided);
    }
}

} // namespace Rt::Internal
