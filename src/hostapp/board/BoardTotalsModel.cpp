#include "BoardTotalsModel.h"

#include "BoardModel.h"
#include "BoardPalette.h"
#include "BoardToolTips.h"

#include <QBrush>
#include <QFont>

BoardTotalsModel::BoardTotalsModel(const BoardModel &board, QObject *parent)
    : QAbstractTableModel(parent)
    , m_board(board)
{
    connect(&board, &QAbstractItemModel::modelAboutToBeReset, this,
            &BoardTotalsModel::beginResetModel);
    connect(&board, &QAbstractItemModel::modelReset, this, &BoardTotalsModel::endResetModel);
    connect(&board, &BoardModel::rulesChecked, this, [this] {
        if (columnCount() > 0)
            Q_EMIT dataChanged(index(0, 0), index(0, columnCount() - 1));
    });
}

int BoardTotalsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || columnCount() == 0 ? 0 : 1;
}

int BoardTotalsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_board.board().workingCounts.size());
}

bool BoardTotalsModel::isShort(int day) const
{
    return m_board.board().coverageBreaches.contains(day);
}

QVariant BoardTotalsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int day = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return m_board.board().workingCounts.at(size_t(day));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return isShort(day) ? QVariant(QBrush(BoardPalette::shortDay)) : QVariant();
    case Qt::ForegroundRole:
        return isShort(day) ? QVariant(QBrush(Qt::white)) : QVariant();
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ToolTipRole:
        return BoardToolTips::total(m_board.board(), day);
    default:
        return {};
    }
}
