#pragma once

#include "viewstyling_p.h"

#include <QAbstractTableModel>
#include <QList>

class TcxGridColumn;
class TcxGridTableView;

namespace Rt::Internal {

// A table view's records as an item model. Cells are read from the data controller
// when asked, so the model costs nothing per record.
class GridTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridTableModel(TcxGridTableView *view);

    TcxGridColumn *columnAt(int section) const { return m_columns.value(section); }
    int sectionOf(const TcxGridColumn *column) const;

    // Takes the view's visible columns and its records anew.
    void reload();
    void refreshRecord(int record);
    void refreshCells();
    void refreshHeader();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    void multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    StyleChain cellStyles(int record, TcxGridColumn *column) const;

    TcxGridTableView *m_view;
    QList<TcxGridColumn *> m_columns;
    int m_recordCount = 0;
};

} // namespace Rt::Internal
