#pragma once

#include "gridview.h"

#include <QStringList>

class TcxGridBandedColumn;

// A table view whose columns stand under bands: a header row of band captions above
// the column captions.
class RT_EXPORT TcxGridBandedTableView : public TcxGridTableView
{
    Q_OBJECT
public:
    explicit TcxGridBandedTableView(QObject *parent = nullptr);

    TcxGridBandedColumn *createColumn();

    // Adds a band after the others and returns its index.
    int addBand(const QString &caption);
    int bandCount() const { return int(m_bands.size()); }
    QString bandCaption(int band) const { return m_bands.value(band); }
    void setBandCaption(int band, const QString &caption);
    // The band column stands under: its band index, clamped to the bands there are;
    // -1 when the view has no bands.
    int bandOf(const TcxGridColumn *column) const;

    // Band by band, each band's columns in their own order.
    QList<TcxGridColumn *> visibleColumns() const override;

protected:
    TcxGridBandedTableView(std::unique_ptr<TcxGridDataController> controller, QObject *parent);

private:
    QStringList m_bands;
};

// A banded view showing the data set of a data source.
class RT_EXPORT TcxGridDBBandedTableView : public TcxGridBandedTableView
{
    Q_OBJECT
public:
    explicit TcxGridDBBandedTableView(QObject *parent = nullptr);

    TcxGridDBDataController *dataController() const;
};
