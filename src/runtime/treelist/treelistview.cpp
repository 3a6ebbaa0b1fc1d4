#include "treelistview_p.h"

#include <QHeaderView>
#include <QPainter>

namespace Rt::Internal {

TreeListView::TreeListView(QWidget *parent)
    : QTreeView(parent)
{
    setUniformRowHeights(true);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setExpandsOnDoubleClick(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

void TreeListView::setGridLines(bool horizontal, bool vertical)
{
    m_horizontalLines = horizontal;
    m_verticalLines = vertical;
    viewport()->update();
}

void TreeListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QTreeView::drawRow(painter, option, index);
    if (!m_horizontalLines && !m_verticalLines)
        return;
    painter->save();
    const QColor color(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, this));
    painter->setPen(color);
    const QRect row = option.rect;
    if (m_horizontalLines)
        painter->drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    if (m_verticalLines) {
        for (int section = 0; section < header()->count(); ++section) {
            if (header()->isSectionHidden(section))
                continue;
            const int x =
                header()->sectionViewportPosition(section) + header()->sectionSize(section) - 1;
            painter->drawLine(x, row.top(), x, row.bottom());
        }
    }
    painter->restore();
}

} // namespace Rt::Internal
