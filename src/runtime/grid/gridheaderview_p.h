#pragma once

#include <QHeaderView>
#include <QPointer>

class TcxGridBandedTableView;

namespace Rt::Internal {

// The column header of a grid; for a banded view, a row of band captions spans the
// columns of each band above their own captions.
class GridHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    explicit GridHeaderView(QWidget *parent);

    void setBandedView(const TcxGridBandedTableView *view);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    int bandRowHeight() const;
    int bandOfSection(int section) const;
    void paintBand(QPainter *painter, const QRect &rect, int band) const;

    QPointer<const TcxGridBandedTableView> m_view;
};

} // namespace Rt::Internal
