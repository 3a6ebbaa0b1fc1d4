#include "gridheaderview_p.h"

#include "gridbandedview.h"
#include "gridtablemodel_p.h"
#include "runtime/styles.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace Rt::Internal {

GridHeaderView::GridHeaderView(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

void GridHeaderView::setBandedView(const TcxGridBandedTableView *view)
{
    m_view = view;
    updateGeometry();
    viewport()->update();
}

int GridHeaderView::bandRowHeight() const
{
    return m_view && m_view->bandCount() > 0 ? QHeaderView::sizeHint().height() : 0;
}

QSize GridHeaderView::sizeHint() const
{
    QSize hint = QHeaderView::sizeHint();
    hint.rheight() += bandRowHeight();
    return hint;
}

int GridHeaderView::bandOfSection(int section) const
{
    const auto *gridModel = static_cast<const GridTableModel *>(model());
    return m_view->bandOf(gridModel->columnAt(section));
}

void GridHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect.adjusted(0, bandRowHeight(), 0, 0), logicalIndex);
}

void GridHeaderView::paintEvent(QPaintEvent *event)
{
    QHeaderView::paintEvent(event);
    const int height = bandRowHeight();
    if (height == 0 || count() == 0)
        return;
    // Columns of a band are adjacent: each run of sections with one band gets one caption.
    QPainter painter(viewport());
    int first = 0;
    for (int section = 1; section <= count(); ++section) {
        if (section < count() && bandOfSection(section) == bandOfSection(first))
            continue;
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(section - 1) + sectionSize(section - 1);
        paintBand(&painter, QRect(left, 0, right - left, height), bandOfSection(first));
        first = section;
    }
}

void GridHeaderView::paintBand(QPainter *painter, const QRect &rect, int band) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.text = m_view->bandCaption(band);
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::Middle;
    option.state |= QStyle::State_Enabled;
    painter->save();
    if (const TcxStyle *style = m_view->styles()->style(Rt::StyleRole::Header)) {
        if (style->color().isValid()) {
            option.palette.setColor(QPalette::Button, style->color());
            option.palette.setColor(QPalette::Window, style->color());
        }
        if (style->textColor().isValid())
            option.palette.setColor(QPalette::ButtonText, style->textColor());
        if (style->hasFont())
            painter->setFont(style->font());
    }
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}

} // namespace Rt::Internal
