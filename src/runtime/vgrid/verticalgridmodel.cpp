#include "verticalgridmodel_p.h"

#include "editorrow.h"
#include "runtime/grid/viewstyling_p.h"
#include "runtime/styles.h"
#include "verticalgrid.h"

namespace Rt::Internal {

namespace {
constexpr int captionColumn = 0;
constexpr int valueColumn = 1;
} // namespace

VerticalGridModel::VerticalGridModel(TcxVerticalGrid *grid, QObject *parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
{
}

void VerticalGridModel::reload()
{
    beginResetModel();
    m_rowCount = m_grid->rowCount();
    endResetModel();
}

void VerticalGridModel::refreshRow(int row)
{
    if (row >= 0 && row < m_rowCount)
        Q_EMIT dataChanged(index(row, captionColumn), index(row, valueColumn));
}

void VerticalGridModel::refreshValues()
{
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, valueColumn), index(m_rowCount - 1, valueColumn));
}

void VerticalGridModel::refreshAll()
{
    if (m_rowCount > 0)
        Q_EMIT dataChanged(index(0, captionColumn), index(m_rowCount - 1, valueColumn));
}

int VerticalGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int VerticalGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant VerticalGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const TcxEditorRow *row = m_grid->row(index.row());
    const bool caption = index.column() == captionColumn;
    if (role == Qt::DisplayRole)
        return caption ? row->caption() : m_grid->displayText(row);
    const Rt::StyleRole styleRole = caption ? Rt::StyleRole::Header : Rt::StyleRole::Content;
    return styleData({{m_grid->styles()->style(styleRole)}}, role);
}

Qt::ItemFlags VerticalGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace Rt::Internal
