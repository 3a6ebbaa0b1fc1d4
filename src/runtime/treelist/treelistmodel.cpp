#include "treelistmodel_p.h"

#include "runtime/grid/viewstyling_p.h"
#include "runtime/styles.h"
#include "treelist.h"
#include "treelistcolumn.h"
#include "treelistnode.h"

namespace Rt::Internal {

TreeListModel::TreeListModel(TcxTreeList *tree, TcxTreeListNode *root, QObject *parent)
    : QAbstractItemModel(parent)
    , m_tree(tree)
    , m_root(root)
{
}

QModelIndex TreeListModel::indexOf(const TcxTreeListNode *node, int column) const
{
    if (!node || node == m_root)
        return {};
    return createIndex(node->m_index, column, const_cast<TcxTreeListNode *>(node));
}

TcxTreeListNode *TreeListModel::nodeAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TcxTreeListNode *>(index.internalPointer()) : m_root;
}

void TreeListModel::beginAppend(TcxTreeListNode *parent)
{
    const int row = parent->count();
    beginInsertRows(indexOf(parent), row, row);
}

void TreeListModel::refreshNode(const TcxTreeListNode *node, int column)
{
    const QModelIndex changed = indexOf(node, column);
    Q_EMIT dataChanged(changed, changed);
}

void TreeListModel::refreshAll()
{
    // Views repaint what they show; the index range only has to be valid.
    if (m_root->count() > 0 && columnCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(m_root->count() - 1, columnCount() - 1));
    }
    refreshHeader();
}

void TreeListModel::refreshHeader()
{
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QModelIndex TreeListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= columnCount() || (parent.isValid() && parent.column() != 0))
        return {};
    const TcxTreeListNode *parentNode = nodeAt(parent);
    if (row < 0 || row >= parentNode->count())
        return {};
    return createIndex(row, column, parentNode->m_children[size_t(row)].get());
}

QModelIndex TreeListModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    return indexOf(nodeAt(index)->m_parent);
}

int TreeListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return nodeAt(parent)->count();
}

int TreeListModel::columnCount(const QModelIndex &) const
{
    return m_tree->columnCount();
}

QVariant TreeListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const TcxTreeListNode *node = nodeAt(index);
    switch (role) {
    case Qt::DisplayRole:
        return node->texts(index.column());
    case Qt::EditRole:
        return node->values(index.column());
    case Qt::DecorationRole: {
        if (index.column() != 0)
            return {};
        const int image = node->focused() && node->selectedIndex() >= 0 ? node->selectedIndex()
                                                                        : node->imageIndex();
        if (image < 0 || image >= m_tree->images().size())
            return {};
        return m_tree->images().at(image);
    }
    default:
        return styleData({{m_tree->styles()->style(Rt::StyleRole::Content)}}, role);
    }
}

QVariant TreeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const TcxTreeListColumn *column = m_tree->column(section);
    if (orientation != Qt::Horizontal || !column)
        return {};
    if (role == Qt::DisplayRole)
        return column->caption();
    return styleData({{m_tree->styles()->style(Rt::StyleRole::Header)}}, role);
}

Qt::ItemFlags TreeListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace Rt::Internal
