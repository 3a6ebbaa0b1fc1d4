#include "gridtablemodel_p.h"

#include "gridcolumn.h"
#include "griddatacontroller.h"
#include "gridview.h"
#include "runtime/styles.h"

namespace Rt::Internal {

GridTableModel::GridTableModel(TcxGridTableView *view)
    : m_view(view)
{
}

int GridTableModel::sectionOf(const TcxGridColumn *column) const
{
    return int(m_columns.indexOf(column));
}

void GridTableModel::reload()
{
    beginResetModel();
    m_columns = m_view->visibleColumns();
    m_recordCount = m_view->dataController()->recordCount();
    endResetModel();
}

void GridTableModel::refreshRecord(int record)
{
    if (record < 0 || record >= m_recordCount || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(record, 0), index(record, int(m_columns.size()) - 1));
}

void GridTableModel::refreshCells()
{
    if (m_recordCount == 0 || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(0, 0), index(m_recordCount - 1, int(m_columns.size()) - 1));
}

void GridTableModel::refreshHeader()
{
    if (!m_columns.isEmpty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_recordCount;
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    QModelRoleData roleData(role);
    multiData(index, roleData);
    return roleData.data();
}

void GridTableModel::multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const
{
    for (QModelRoleData &roleData : roleDataSpan)
        roleData.clearData();
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return;
    const int record = index.row();
    TcxGridColumn *column = m_columns.at(index.column());
    const TcxGridDataController *controller = m_view->dataController();

    // A delegate asks for all roles of a cell at once: the style callback runs once.
    StyleChain styles;
    bool stylesKnown = false;
    for (QModelRoleData &roleData : roleDataSpan) {
        switch (roleData.role()) {
        case Qt::DisplayRole:
            roleData.setData(controller->displayText(record, column->index()));
            break;
        case Qt::EditRole:
            roleData.setData(controller->value(record, column->index()));
            break;
        case Qt::TextAlignmentRole:
            roleData.setData(int(column->alignment() | Qt::AlignVCenter));
            break;
        case Qt::BackgroundRole:
        case Qt::ForegroundRole:
        case Qt::FontRole:
            if (!stylesKnown) {
                styles = cellStyles(record, column);
                stylesKnown = true;
            }
            roleData.setData(styleData(styles, roleData.role()));
            break;
        default:
            break;
        }
    }
}

StyleChain GridTableModel::cellStyles(int record, TcxGridColumn *column) const
{
    const TcxViewStyles *styles = m_view->styles();
    StyleChain chain;
    if (const auto &handler = column->contentStyleHandler())
        chain.styles[0] = handler(m_view, record, column);
    chain.styles[1] =
        styles->style(record % 2 == 0 ? Rt::StyleRole::ContentEven : Rt::StyleRole::ContentOdd);
    chain.styles[2] = styles->style(Rt::StyleRole::Content);
    return chain;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    const TcxGridColumn *column = m_columns.at(section);
    switch (role) {
    case Qt::DisplayRole:
        return column->caption();
    case Qt::TextAlignmentRole: {
        const Qt::Alignment horizontal =
            m_view->columnHeadersCentred() ? Qt::AlignHCenter : column->headerAlignment();
        return int(horizontal | Qt::AlignVCenter);
    }
    default:
        return styleData({{m_view->styles()->style(Rt::StyleRole::Header)}}, role);
    }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace Rt::Internal
