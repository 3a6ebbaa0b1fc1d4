#pragma once

#include "runtime/rtglobal.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class TcxTreeList;

namespace Rt::Internal {
class TreeListModel;
}

// A node of a tree list: a text per column, images, a pointer for the caller's use
// and child nodes. Nodes belong to their tree and live until it is cleared; they are
// plain objects so that a large tree stays cheap.
class RT_EXPORT TcxTreeListNode
{
public:
    ~TcxTreeListNode();
    TcxTreeListNode(const TcxTreeListNode &) = delete;
    TcxTreeListNode &operator=(const TcxTreeListNode &) = delete;

    TcxTreeList *treeList() const { return m_tree; }
    // The parent node; none for a top-level node.
    TcxTreeListNode *parent() const;
    int count() const { return int(m_children.size()); }
    TcxTreeListNode *item(int index) const;
    // Appends a child after the last one.
    TcxTreeListNode *addChild();
    // Position among its parent's children.
    int index() const { return m_index; }
    // Position in the tree's absolute order: every node, expanded or not, depth first.
    int absoluteIndex() const;

    QString texts(int column) const { return m_values.value(column).toString(); }
    void setTexts(int column, const QString &text);
    // The value behind a text, for comparisons.
    QVariant values(int column) const { return m_values.value(column); }

    // A pointer the caller attaches; the node never owns or reads it.
    void *data() const { return m_data; }
    void setData(void *data) { m_data = data; }

    // Index into the tree's images; -1 for none.
    int imageIndex() const { return m_imageIndex; }
    void setImageIndex(int index);
    // The image shown while the node has the focus; -1 shows imageIndex() then too.
    int selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(int index);

    bool expanded() const { return m_expanded; }
    void expand(bool recurse);
    void collapse(bool recurse);

    bool focused() const;
    void setFocused(bool focused);

private:
    friend class TcxTreeList;
    friend class Rt::Internal::TreeListModel;
    TcxTreeListNode(TcxTreeList *tree, TcxTreeListNode *parent, int index);

    void setExpandedFlags(bool expanded, bool recurse);

    TcxTreeList *m_tree;
    // For top-level nodes, the tree's hidden root.
    TcxTreeListNode *m_parent;
    std::vector<std::unique_ptr<TcxTreeListNode>> m_children;
    QList<QVariant> m_values;
    void *m_data = nullptr;
    int m_index;
    int m_absoluteIndex = -1;
    int m_imageIndex = -1;
    int m_selectedIndex = -1;
    bool m_expanded = false;
};
