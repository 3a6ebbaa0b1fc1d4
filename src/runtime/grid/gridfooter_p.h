#pragma once

#include <QPointer>
#include <QWidget>

class QTableView;
class TcxGridColumn;
class TcxGridTableView;

namespace Rt::Internal {

// The footer row under a grid's records: each column's summary text in a cell as
// wide as the column, scrolled sideways with it.
class GridFooter : public QWidget
{
    Q_OBJECT
public:
    explicit GridFooter(QTableView *table);

    void setGridView(const TcxGridTableView *view);
    int preferredHeight() const;
    // The width column needs for its summary to show whole; 0 without one.
    int neededWidth(const TcxGridColumn *column) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont footerFont() const;

    QTableView *m_table;
    QPointer<const TcxGridTableView> m_view;
};

} // namespace Rt::Internal
