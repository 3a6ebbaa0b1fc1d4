#pragma once

#include <QAbstractTableModel>

class TcxVerticalGrid;

namespace Rt::Internal {

// A vertical grid's rows as a two-column model: caption, value.
class VerticalGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    VerticalGridModel(TcxVerticalGrid *grid, QObject *parent);

    void reload();
    void refreshRow(int row);
    void refreshValues();
    void refreshAll();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    TcxVerticalGrid *m_grid;
    int m_rowCount = 0;
};

} // namespace Rt::Internal
