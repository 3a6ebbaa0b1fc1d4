#include "treelist.h"

#include "runtime/grid/columnwidths_p.h"
#include "runtime/grid/viewstyling_p.h"
#include "runtime/styles.h"
#include "treelistcolumn.h"
#include "treelistmodel_p.h"
#include "treelistnode.h"
#include "treelistview_p.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>

using Rt::Internal::TreeListModel;
using Rt::Internal::TreeListView;

namespace {

void appendDepthFirst(TcxTreeListNode *node, std::vector<TcxTreeListNode *> &order)
{
    for (int i = 0; i < node->count(); ++i) {
        TcxTreeListNode *child = node->item(i);
        order.push_back(child);
        appendDepthFirst(child, order);
    }
}

} // namespace

TcxTreeList::TcxTreeList(QWidget *parent)
    : QWidget(parent)
    , m_root(new TcxTreeListNode(this, nullptr, 0))
    , m_styles(std::make_unique<TcxViewStyles>())
    , m_view(new TreeListView(this))
    // The model lives under the view, whose children are private to the control.
    , m_model(new TreeListModel(this, m_root.get(), m_view))
{
    // Lets focusedNodeChanged travel through queued connections and signal spies.
    qRegisterMetaType<TcxTreeListNode *>();
    m_view->setModel(m_model);
    m_viewport = m_view->viewport();
    m_viewport->installEventFilter(this);
    setFocusProxy(m_view);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { viewFocusChanged(current); });
    connect(m_view, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { m_model->nodeAt(index)->m_expanded = true; });
    connect(m_view, &QTreeView::collapsed, this,
            [this](const QModelIndex &index) { m_model->nodeAt(index)->m_expanded = false; });
    connect(m_view->header(), &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) { takeUserWidth(section, newSize); });
    // A reset forgets section sizes, expanded branches and the current row.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        restoreViewState();
    });
    connect(m_styles.get(), &TcxViewStyles::changed, this, [this] {
        Rt::Internal::applyViewPalette(m_view, m_styles.get());
        m_model->refreshAll();
    });
    applyOptions();
}

TcxTreeList::~TcxTreeList()
{
    for (TcxTreeListColumn *column : std::as_const(m_columns))
        column->m_tree = nullptr;
    // The view reads the nodes: it goes before they do.
    disconnect(m_view->selectionModel(), nullptr, this, nullptr);
    delete m_view;
}

TcxTreeListColumn *TcxTreeList::addColumn()
{
    auto *column = new TcxTreeListColumn(this, columnCount());
    if (!updating())
        m_model->beginReset();
    m_columns.append(column);
    if (!updating())
        m_model->endReset();
    return column;
}

void TcxTreeList::removeColumn(TcxTreeListColumn *column)
{
    if (!updating())
        m_model->beginReset();
    m_columns.removeAt(column->index());
    for (int i = column->index(); i < m_columns.size(); ++i)
        m_columns[i]->m_index = i;
    if (!updating())
        m_model->endReset();
}

void TcxTreeList::columnHeaderChanged()
{
    if (!updating())
        m_model->refreshHeader();
}

void TcxTreeList::columnLayoutChanged()
{
    if (!updating())
        applyWidths();
}

TcxTreeListNode *TcxTreeList::add()
{
    return m_root->addChild();
}

void TcxTreeList::insertNode(TcxTreeListNode *parent, std::unique_ptr<TcxTreeListNode> node)
{
    if (!updating())
        m_model->beginAppend(parent);
    parent->m_children.push_back(std::move(node));
    m_absoluteStale = true;
    if (!updating())
        m_model->endAppend();
}

void TcxTreeList::clear()
{
    // Reported while the focused node still exists.
    setFocusedNode(nullptr);
    if (!updating())
        m_model->beginReset();
    m_root->m_children.clear();
    m_absolute.clear();
    m_absoluteStale = false;
    if (!updating())
        m_model->endReset();
}

int TcxTreeList::count() const
{
    return m_root->count();
}

TcxTreeListNode *TcxTreeList::topNode(int index) const
{
    return m_root->item(index);
}

int TcxTreeList::absoluteCount() const
{
    ensureAbsoluteOrder();
    return int(m_absolute.size());
}

TcxTreeListNode *TcxTreeList::absoluteItem(int index) const
{
    ensureAbsoluteOrder();
    return index >= 0 && size_t(index) < m_absolute.size() ? m_absolute[size_t(index)] : nullptr;
}

void TcxTreeList::ensureAbsoluteOrder() const
{
    if (!m_absoluteStale)
        return;
    m_absolute.clear();
    appendDepthFirst(m_root.get(), m_absolute);
    for (size_t i = 0; i < m_absolute.size(); ++i)
        m_absolute[i]->m_absoluteIndex = int(i);
    m_absoluteStale = false;
}

void TcxTreeList::nodeChanged(TcxTreeListNode *node, int column)
{
    if (!updating() && column < columnCount())
        m_model->refreshNode(node, column);
}

void TcxTreeList::nodeExpansionChanged(TcxTreeListNode *node, bool recurse)
{
    if (!updating())
        showExpansion(node, recurse);
}

void TcxTreeList::showExpansion(TcxTreeListNode *node, bool recurse)
{
    const QModelIndex index = m_model->indexOf(node);
    if (node->m_expanded && recurse) {
        m_view->expandRecursively(index);
        return;
    }
    m_view->setExpanded(index, node->m_expanded);
    if (!recurse)
        return;
    for (const auto &child : node->m_children)
        showExpansion(child.get(), true);
}

void TcxTreeList::fullCollapse()
{
    ensureAbsoluteOrder();
    for (TcxTreeListNode *node : m_absolute)
        node->m_expanded = false;
    if (!updating())
        m_view->collapseAll();
}

void TcxTreeList::setFocusedNode(TcxTreeListNode *node)
{
    if (node && node->m_tree != this)
        return;
    for (TcxTreeListNode *ancestor = node ? node->parent() : nullptr; ancestor;
         ancestor = ancestor->parent()) {
        if (!ancestor->m_expanded) {
            ancestor->m_expanded = true;
            nodeExpansionChanged(ancestor, false);
        }
    }
    if (node == m_focused)
        return;
    TcxTreeListNode *previous = std::exchange(m_focused, node);
    if (!updating()) {
        showFocus();
        // The focused node shows its selected image.
        if (previous)
            m_model->refreshNode(previous, 0);
        if (node)
            m_model->refreshNode(node, 0);
    }
    Q_EMIT focusedNodeChanged(previous, node);
}

void TcxTreeList::showFocus()
{
    const QScopedValueRollback showing(m_showingFocus, true);
    QItemSelectionModel *selection = m_view->selectionModel();
    if (!m_focused) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_model->indexOf(m_focused);
    selection->setCurrentIndex(index, m_rowSelect ? QItemSelectionModel::ClearAndSelect
                                                        | QItemSelectionModel::Rows
                                                  : QItemSelectionModel::ClearAndSelect);
    m_view->scrollTo(index);
}

void TcxTreeList::viewFocusChanged(const QModelIndex &current)
{
    // An invalid current index comes from a reset, not from the user.
    if (m_showingFocus || !current.isValid())
        return;
    setFocusedNode(m_model->nodeAt(current));
}

void TcxTreeList::beginUpdate()
{
    if (m_updateDepth++ == 0)
        m_model->beginReset();
}

void TcxTreeList::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    m_model->endReset();
}

void TcxTreeList::restoreViewState()
{
    ensureAbsoluteOrder();
    for (TcxTreeListNode *node : m_absolute) {
        if (node->m_expanded)
            m_view->setExpanded(m_model->indexOf(node), true);
    }
    if (m_focused)
        showFocus();
}

void TcxTreeList::setImages(const QList<QIcon> &images)
{
    m_images = images;
    m_model->refreshAll();
}

void TcxTreeList::setHeadersVisible(bool visible)
{
    m_headersVisible = visible;
    applyOptions();
}

void TcxTreeList::setHorizontalGridLines(bool shown)
{
    m_horizontalLines = shown;
    applyOptions();
}

void TcxTreeList::setVerticalGridLines(bool shown)
{
    m_verticalLines = shown;
    applyOptions();
}

void TcxTreeList::setColumnAutoWidth(bool autoWidth)
{
    m_columnAutoWidth = autoWidth;
    applyOptions();
}

void TcxTreeList::setRowSelect(bool rowSelect)
{
    m_rowSelect = rowSelect;
    applyOptions();
}

void TcxTreeList::applyOptions()
{
    m_view->setHeaderHidden(!m_headersVisible);
    m_view->setGridLines(m_horizontalLines, m_verticalLines);
    m_view->setSelectionBehavior(m_rowSelect ? QAbstractItemView::SelectRows
                                             : QAbstractItemView::SelectItems);
    m_view->setAllColumnsShowFocus(m_rowSelect);
    m_view->header()->setSectionResizeMode(m_columnAutoWidth ? QHeaderView::Fixed
                                                             : QHeaderView::Interactive);
    applyWidths();
}

void TcxTreeList::applyWidths()
{
    QList<Rt::Internal::ColumnExtent> extents;
    QList<int> sections;
    for (const TcxTreeListColumn *column : std::as_const(m_columns)) {
        m_view->setColumnHidden(column->index(), !column->isVisible());
        if (column->isVisible()) {
            extents.append({column->width(), column->minWidth()});
            sections.append(column->index());
        }
    }
    QList<int> widths;
    if (m_columnAutoWidth) {
        widths = Rt::Internal::fittedWidths(extents, m_view->viewport()->width());
    } else {
        for (const Rt::Internal::ColumnExtent &extent : std::as_const(extents))
            widths.append(extent.width);
    }
    const QScopedValueRollback applying(m_applyingWidths, true);
    for (qsizetype i = 0; i < sections.size(); ++i)
        m_view->header()->resizeSection(sections.at(i), widths.at(i));
}

void TcxTreeList::takeUserWidth(int section, int newSize)
{
    // A width the user drags becomes the column's own.
    TcxTreeListColumn *dragged = column(section);
    if (m_applyingWidths || m_columnAutoWidth || !dragged)
        return;
    const QScopedValueRollback applying(m_applyingWidths, true);
    if (newSize < dragged->minWidth())
        m_view->header()->resizeSection(section, dragged->minWidth());
    dragged->setWidth(newSize);
}

QSize TcxTreeList::sizeHint() const
{
    return m_view->sizeHint();
}

void TcxTreeList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
}

bool TcxTreeList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            Q_EMIT clicked();
        } else if (event->type() == QEvent::Resize && m_columnAutoWidth) {
            applyWidths();
        }
    }
    return QWidget::eventFilter(watched, event);
}
