#include "treelistnode.h"

#include "treelist.h"

TcxTreeListNode::TcxTreeListNode(TcxTreeList *tree, TcxTreeListNode *parent, int index)
    : m_tree(tree)
    , m_parent(parent)
    , m_index(index)
{
}

TcxTreeListNode::~TcxTreeListNode() = default;

TcxTreeListNode *TcxTreeListNode::parent() const
{
    return m_parent && m_parent->m_parent ? m_parent : nullptr;
}

TcxTreeListNode *TcxTreeListNode::item(int index) const
{
    return index >= 0 && index < count() ? m_children[size_t(index)].get() : nullptr;
}

TcxTreeListNode *TcxTreeListNode::addChild()
{
    auto child = std::unique_ptr<TcxTreeListNode>(new TcxTreeListNode(m_tree, this, count()));
    TcxTreeListNode *added = child.get();
    m_tree->insertNode(this, std::move(child));
    return added;
}

int TcxTreeListNode::absoluteIndex() const
{
    m_tree->ensureAbsoluteOrder();
    return m_absoluteIndex;
}

void TcxTreeListNode::setTexts(int column, const QString &text)
{
    if (column < 0)
        return;
    if (column >= m_values.size())
        m_values.resize(column + 1);
    m_values[column] = text;
    m_tree->nodeChanged(this, column);
}

void TcxTreeListNode::setImageIndex(int index)
{
    m_imageIndex = index;
    m_tree->nodeChanged(this, 0);
}

void TcxTreeListNode::setSelectedIndex(int index)
{
    m_selectedIndex = index;
    m_tree->nodeChanged(this, 0);
}

void TcxTreeListNode::expand(bool recurse)
{
    setExpandedFlags(true, recurse);
    m_tree->nodeExpansionChanged(this, recurse);
}

void TcxTreeListNode::collapse(bool recurse)
{
    setExpandedFlags(false, recurse);
    m_tree->nodeExpansionChanged(this, recurse);
}

void TcxTreeListNode::setExpandedFlags(bool expanded, bool recurse)
{
    m_expanded = expanded;
    if (!recurse)
        return;
    for (const auto &child : m_children)
        child->setExpandedFlags(expanded, true);
}

bool TcxTreeListNode::focused() const
{
    return m_tree->focusedNode() == this;
}

void TcxTreeListNode::setFocused(bool focused)
{
    if (focused)
        m_tree->setFocusedNode(this);
    else if (this->focused())
        m_tree->setFocusedNode(nullptr);
}
