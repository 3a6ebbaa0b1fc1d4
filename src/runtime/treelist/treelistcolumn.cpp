#include "treelistcolumn.h"

#include "treelist.h"

TcxTreeListColumn::TcxTreeListColumn(TcxTreeList *tree, int index)
    : QObject(tree)
    , m_tree(tree)
    , m_index(index)
{
}

TcxTreeListColumn::~TcxTreeListColumn()
{
    if (m_tree)
        m_tree->removeColumn(this);
}

void TcxTreeListColumn::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    m_tree->columnHeaderChanged();
}

void TcxTreeListColumn::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    m_tree->columnLayoutChanged();
}

void TcxTreeListColumn::setWidth(int width)
{
    width = qMax(width, m_minWidth);
    if (m_width == width)
        return;
    m_width = width;
    m_tree->columnLayoutChanged();
}

void TcxTreeListColumn::setMinWidth(int width)
{
    width = qMax(width, 0);
    if (m_minWidth == width)
        return;
    m_minWidth = width;
    m_width = qMax(m_width, width);
    m_tree->columnLayoutChanged();
}
