#pragma once

#include <QList>
#include <QPointer>
#include <QTableView>

class TcxGridTableView;

namespace Rt::Internal {

class GridFooter;
class GridHeaderView;
class GridTableModel;

// What a grid shows its table view in: the view's model, its column widths and
// options, a band row and a footer. The focused row and the view's focused record
// follow each other.
class GridTableWidget : public QTableView
{
    Q_OBJECT
public:
    explicit GridTableWidget(QWidget *parent);

    void showView(TcxGridTableView *view);

protected:
    void updateGeometries() override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    GridTableModel *gridModel() const;
    void applyLayout();
    void applyWidths();
    void fitRowHeights();
    int uniformRowHeight() const;
    void followFocus(int record);
    void takeUserWidth(int section, int newSize);

    QPointer<TcxGridTableView> m_view;
    GridHeaderView *m_header;
    GridFooter *m_footer;
    QList<QMetaObject::Connection> m_viewConnections;
    bool m_applyingWidths = false;
    bool m_rowsFitted = false;
};

} // namespace Rt::Internal
