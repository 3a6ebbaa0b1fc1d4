#pragma once

#include "runtime/rtglobal.h"

#include <QObject>

class TcxTreeList;

// A column of a tree list. Its name is its objectName; a hidden column keeps its
// texts in the nodes.
class RT_EXPORT TcxTreeListColumn : public QObject
{
    Q_OBJECT
public:
    ~TcxTreeListColumn() override;

    TcxTreeList *treeList() const { return m_tree; }
    // Position among the tree's columns: the column index of the nodes' texts.
    int index() const { return m_index; }

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    int width() const { return m_width; }
    void setWidth(int width);
    int minWidth() const { return m_minWidth; }
    void setMinWidth(int width);

private:
    friend class TcxTreeList;
    TcxTreeListColumn(TcxTreeList *tree, int index);

    TcxTreeList *m_tree;
    int m_index;
    QString m_caption;
    int m_width = 100;
    int m_minWidth = 20;
    bool m_visible = true;
};
