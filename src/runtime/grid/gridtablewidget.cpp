#include "gridtablewidget_p.h"

#include "columnwidths_p.h"
#include "gridbandedview.h"
#include "gridcolumn.h"
#include "griddatacontroller.h"
#include "gridfooter_p.h"
#include "gridheaderview_p.h"
#include "gridtablemodel_p.h"
#include "runtime/styles.h"
#include "viewstyling_p.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace Rt::Internal {

namespace {

// With whole rows selected the focused cell is no different from the rest of its
// row, so it gets no focus frame of its own.
class RowSelectDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell(option);
        const auto *table = static_cast<const QAbstractItemView *>(parent());
        if (table->selectionBehavior() == QAbstractItemView::SelectRows)
            cell.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, cell, index);
    }
};
// Fitting rows to their text measures every cell: above this many records rows keep
// one height, so that loading and scrolling stay fast.
constexpr int autoHeightRecordLimit = 2000;
constexpr int rowPadding = 6;
} // namespace

GridTableWidget::GridTableWidget(QWidget *parent)
    : QTableView(parent)
    , m_header(new GridHeaderView(this))
    , m_footer(new GridFooter(this))
{
    setHorizontalHeader(m_header);
    setItemDelegate(new RowSelectDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    m_header->setHighlightSections(false);
    m_header->setSectionsClickable(false);
    m_footer->hide();

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_view && index.isValid())
            Q_EMIT m_view->cellDblClick(index.row(), gridModel()->columnAt(index.column()));
    });
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) { takeUserWidth(section, newSize); });
    connect(m_header, &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
            qOverload<>(&QWidget::update));
}

GridTableModel *GridTableWidget::gridModel() const
{
    return m_view ? static_cast<GridTableModel *>(m_view->itemModel()) : nullptr;
}

void GridTableWidget::showView(TcxGridTableView *view)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_viewConnections))
        disconnect(connection);
    m_viewConnections.clear();
    m_view = view;

    QAbstractItemModel *model = view ? view->itemModel() : nullptr;
    if (model != QTableView::model()) {
        // A new model gets a new selection model; the old one is ours to delete.
        QItemSelectionModel *oldSelection = selectionModel();
        setModel(model);
        delete oldSelection;
    }
    m_header->setBandedView(qobject_cast<TcxGridBandedTableView *>(view));
    m_footer->setGridView(view);
    if (view) {
        m_viewConnections = {
            connect(view, &TcxGridTableView::layoutChanged, this, &GridTableWidget::applyLayout),
            connect(view, &TcxGridTableView::focusedRecordChanged, this,
                    [this](int, int current) { followFocus(current); }),
            connect(model, &QAbstractItemModel::modelReset, this,
                    [this] {
                        applyWidths();
                        fitRowHeights();
                        followFocus(m_view->dataController()->focusedRecordIndex());
                        m_footer->update();
                    }),
            connect(model, &QAbstractItemModel::dataChanged, m_footer,
                    qOverload<>(&QWidget::update)),
            connect(view, &QObject::destroyed, this, [this] { showView(nullptr); }),
        };
    }
    applyLayout();
    if (view)
        followFocus(view->dataController()->focusedRecordIndex());
}

void GridTableWidget::applyLayout()
{
    if (!m_view) {
        m_footer->hide();
        updateGeometries();
        return;
    }
    setSelectionBehavior(m_view->cellSelect() ? SelectItems : SelectRows);
    setWordWrap(m_view->cellAutoHeight());
    applyViewPalette(this, m_view->styles());
    m_header->setSectionResizeMode(m_view->columnAutoWidth() ? QHeaderView::Fixed
                                                             : QHeaderView::Interactive);
    m_footer->setVisible(m_view->footerVisible());
    applyWidths();
    fitRowHeights();
    updateGeometries();
    m_header->viewport()->update();
    m_footer->update();
    viewport()->update();
}

void GridTableWidget::applyWidths()
{
    const GridTableModel *model = gridModel();
    if (!model)
        return;
    const int count = model->columnCount();
    QList<ColumnExtent> extents;
    extents.reserve(count);
    for (int section = 0; section < count; ++section) {
        const TcxGridColumn *column = model->columnAt(section);
        // A summary shows whole: "84825 条记录" cut short reads as another figure.
        extents.append({column->width(), qMax(column->minWidth(), m_footer->neededWidth(column))});
    }
    QList<int> widths;
    if (m_view->columnAutoWidth()) {
        widths = fittedWidths(extents, viewport()->width());
    } else {
        for (const ColumnExtent &extent : std::as_const(extents))
            widths.append(extent.width);
    }
    const QScopedValueRollback applying(m_applyingWidths, true);
    for (int section = 0; section < count; ++section)
        m_header->resizeSection(section, widths.at(section));
}

int GridTableWidget::uniformRowHeight() const
{
    int height = fontMetrics().height();
    for (const Rt::StyleRole role :
         {Rt::StyleRole::Content, Rt::StyleRole::ContentEven, Rt::StyleRole::ContentOdd}) {
        const TcxStyle *style = m_view->styles()->style(role);
        if (style && style->hasFont())
            height = qMax(height, QFontMetrics(style->font()).height());
    }
    return height + rowPadding;
}

void GridTableWidget::fitRowHeights()
{
    if (!m_view)
        return;
    // Setting the default height puts every row back to it, which costs a pass over
    // all rows: done only when the height changes or fitted rows must shrink back.
    const int height = uniformRowHeight();
    const bool fit = m_view->cellAutoHeight()
                     && m_view->dataController()->recordCount() <= autoHeightRecordLimit;
    if (fit || m_rowsFitted || verticalHeader()->defaultSectionSize() != height)
        verticalHeader()->setDefaultSectionSize(height);
    if (fit)
        resizeRowsToContents();
    m_rowsFitted = fit;
}

void GridTableWidget::takeUserWidth(int section, int newSize)
{
    // A width the user drags becomes the column's own; the ones set here already are.
    if (m_applyingWidths || !m_view || m_view->columnAutoWidth())
        return;
    TcxGridColumn *column = gridModel()->columnAt(section);
    const QScopedValueRollback applying(m_applyingWidths, true);
    if (newSize < column->minWidth())
        m_header->resizeSection(section, column->minWidth());
    column->setWidth(newSize);
}

void GridTableWidget::followFocus(int record)
{
    if (!m_view || !selectionModel())
        return;
    const QModelIndex current = currentIndex();
    if (record < 0) {
        if (current.isValid())
            selectionModel()->clear();
        return;
    }
    if ((current.isValid() && current.row() == record) || model()->columnCount() == 0)
        return;
    const QModelIndex target = model()->index(record, current.isValid() ? current.column() : 0);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (!m_view->cellSelect())
        flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(target, flags);
    // A hidden table has no real viewport yet: scrolling now would lose the top rows.
    if (isVisible())
        scrollTo(target);
}

void GridTableWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // A model reset leaves no current index behind; that is no choice of the user.
    if (m_view && current.isValid())
        m_view->dataController()->setFocusedRecordIndex(current.row());
}

void GridTableWidget::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_view && currentIndex().isValid() && event->modifiers() == Qt::NoModifier) {
        Q_EMIT m_view->recordEntered(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridTableWidget::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_view && m_view->columnAutoWidth()) {
        applyWidths();
        fitRowHeights();
    }
}

void GridTableWidget::updateGeometries()
{
    QTableView::updateGeometries();
    // The table keeps its header in the top margin and zeroes the others; the footer
    // takes a bottom margin between the rows and the scroll bar. The viewport's resize
    // runs this again inside the table's own pass, which then sizes the scroll ranges
    // for the final viewport; a hidden table gets that pass when it is shown.
    const int footerHeight = m_footer->isHidden() ? 0 : m_footer->preferredHeight();
    const QMargins margins = viewportMargins();
    if (margins.bottom() != footerHeight)
        setViewportMargins(margins.left(), margins.top(), margins.right(), footerHeight);
    if (footerHeight > 0) {
        const QRect rows = viewport()->geometry();
        m_footer->setGeometry(rows.left(), rows.bottom() + 1, rows.width(), footerHeight);
    }
}

} // namespace Rt::Internal
