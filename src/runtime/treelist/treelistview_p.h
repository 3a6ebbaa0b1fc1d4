#pragma once

#include <QTreeView>

namespace Rt::Internal {

// The tree view of a tree list, with optional grid lines between rows and columns.
class TreeListView : public QTreeView
{
    Q_OBJECT
public:
    explicit TreeListView(QWidget *parent);

    void setGridLines(bool horizontal, bool vertical);

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;

private:
    bool m_horizontalLines = false;
    bool m_verticalLines = false;
};

} // namespace Rt::Internal
