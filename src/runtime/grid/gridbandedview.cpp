#include "gridbandedview.h"

#include "gridcolumn.h"
#include "griddatacontroller.h"

#include <algorithm>

TcxGridBandedTableView::TcxGridBandedTableView(QObject *parent)
    : TcxGridBandedTableView(std::make_unique<TcxGridDataController>(), parent)
{
}

TcxGridBandedTableView::TcxGridBandedTableView(std::unique_ptr<TcxGridDataController> controller,
                                               QObject *parent)
    : TcxGridTableView(std::move(controller), parent)
{
}

TcxGridBandedColumn *TcxGridBandedTableView::createColumn()
{
    auto *column = new TcxGridBandedColumn(this);
    addColumn(column);
    return column;
}

int TcxGridBandedTableView::addBand(const QString &caption)
{
    m_bands.append(caption);
    rearrangeColumns();
    notifyLayoutChanged();
    return int(m_bands.size()) - 1;
}

void TcxGridBandedTableView::setBandCaption(int band, const QString &caption)
{
    if (band < 0 || band >= m_bands.size() || m_bands.at(band) == caption)
        return;
    m_bands[band] = caption;
    notifyLayoutChanged();
}

int TcxGridBandedTableView::bandOf(const TcxGridColumn *column) const
{
    if (m_bands.isEmpty())
        return -1;
    const auto *banded = qobject_cast<const TcxGridBandedColumn *>(column);
    return qBound(0, banded ? banded->bandIndex() : 0, int(m_bands.size()) - 1);
}

QList<TcxGridColumn *> TcxGridBandedTableView::visibleColumns() const
{
    QList<TcxGridColumn *> visible = TcxGridTableView::visibleColumns();
    std::stable_sort(
        visible.begin(), visible.end(),
        [this](const TcxGridColumn *a, const TcxGridColumn *b) { return bandOf(a) < bandOf(b); });
    return visible;
}

TcxGridDBBandedTableView::TcxGridDBBandedTableView(QObject *parent)
    : TcxGridBandedTableView(std::make_unique<TcxGridDBDataController>(), parent)
{
}

TcxGridDBDataController *TcxGridDBBandedTableView::dataController() const
{
    return static_cast<TcxGridDBDataController *>(TcxGridTableView::dataController());
}
