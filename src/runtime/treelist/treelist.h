#pragma once

#include "runtime/rtglobal.h"

#include <QIcon>
#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

class TcxTreeListColumn;
class TcxTreeListNode;
class TcxViewStyles;

namespace Rt::Internal {
class TreeListModel;
class TreeListView;
} // namespace Rt::Internal

// A tree of nodes under column headers. The tree owns its nodes; its view is private.
class RT_EXPORT TcxTreeList : public QWidget
{
    Q_OBJECT
public:
    explicit TcxTreeList(QWidget *parent = nullptr);
    ~TcxTreeList() override;

    TcxTreeListColumn *addColumn();
    const QList<TcxTreeListColumn *> &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    TcxTreeListColumn *column(int index) const { return m_columns.value(index); }

    // Appends a top-level node.
    TcxTreeListNode *add();
    // Deletes every node.
    void clear();
    int count() const;
    TcxTreeListNode *topNode(int index) const;
    // Every node, expanded or not, depth first.
    int absoluteCount() const;
    TcxTreeListNode *absoluteItem(int index) const;

    TcxTreeListNode *focusedNode() const { return m_focused; }
    // Focuses and selects node, expanding its ancestors so that it shows.
    void setFocusedNode(TcxTreeListNode *node);
    void fullCollapse();

    // Bulk changes between these reach the view as one reset at the outermost end.
    void beginUpdate();
    void endUpdate();

    TcxViewStyles *styles() const { return m_styles.get(); }
    // The images nodes refer to by index.
    const QList<QIcon> &images() const { return m_images; }
    void setImages(const QList<QIcon> &images);

    bool headersVisible() const { return m_headersVisible; }
    void setHeadersVisible(bool visible);
    bool horizontalGridLines() const { return m_horizontalLines; }
    void setHorizontalGridLines(bool shown);
    bool verticalGridLines() const { return m_verticalLines; }
    void setVerticalGridLines(bool shown);
    // Columns share the width of the tree, none below its minimum width.
    bool columnAutoWidth() const { return m_columnAutoWidth; }
    void setColumnAutoWidth(bool autoWidth);
    // Selects whole rows; otherwise single cells.
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool rowSelect);

    QSize sizeHint() const override;

Q_SIGNALS:
    void focusedNodeChanged(TcxTreeListNode *previous, TcxTreeListNode *focused);
    // A click anywhere in the tree's rows area, on a node or not.
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TcxTreeListNode;
    friend class TcxTreeListColumn;

    bool updating() const { return m_updateDepth > 0; }
    // Calls from nodes and columns.
    void insertNode(TcxTreeListNode *parent, std::unique_ptr<TcxTreeListNode> node);
    void nodeChanged(TcxTreeListNode *node, int column);
    void nodeExpansionChanged(TcxTreeListNode *node, bool recurse);
    void columnHeaderChanged();
    void columnLayoutChanged();
    void removeColumn(TcxTreeListColumn *column);

    void ensureAbsoluteOrder() const;
    void showExpansion(TcxTreeListNode *node, bool recurse);
    void showFocus();
    void restoreViewState();
    void applyOptions();
    void applyWidths();
    void takeUserWidth(int section, int newSize);
    void viewFocusChanged(const QModelIndex &current);

    std::unique_ptr<TcxTreeListNode> m_root;
    std::unique_ptr<TcxViewStyles> m_styles;
    Rt::Internal::TreeListView *m_view;
    // Watched for clicks and size changes. Kept apart from the view, whose own
    // parts are gone while its viewport's last events arrive during destruction.
    QWidget *m_viewport;
    Rt::Internal::TreeListModel *m_model;
    QList<TcxTreeListColumn *> m_columns;
    QList<QIcon> m_images;
    TcxTreeListNode *m_focused = nullptr;
    mutable std::vector<TcxTreeListNode *> m_absolute;
    mutable bool m_absoluteStale = false;
    int m_updateDepth = 0;
    bool m_showingFocus = false;
    bool m_applyingWidths = false;
    bool m_headersVisible = true;
    bool m_horizontalLines = false;
    bool m_verticalLines = false;
    bool m_columnAutoWidth = false;
    bool m_rowSelect = false;
};
