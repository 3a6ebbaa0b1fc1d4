#pragma once

#include <QAbstractItemModel>

class TcxTreeList;
class TcxTreeListNode;

namespace Rt::Internal {

// A tree list's nodes as an item model; the nodes are the model's own data, read
// where they are.
class TreeListModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    TreeListModel(TcxTreeList *tree, TcxTreeListNode *root, QObject *parent);

    QModelIndex indexOf(const TcxTreeListNode *node, int column = 0) const;
    TcxTreeListNode *nodeAt(const QModelIndex &index) const;

    void beginAppend(TcxTreeListNode *parent);
    void endAppend() { endInsertRows(); }
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void refreshNode(const TcxTreeListNode *node, int column);
    void refreshAll();
    void refreshHeader();

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TcxTreeList *m_tree;
    TcxTreeListNode *m_root;
};

} // namespace Rt::Internal
