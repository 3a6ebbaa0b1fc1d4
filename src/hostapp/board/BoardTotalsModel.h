#pragma once

#include <QAbstractTableModel>

class BoardModel;

// The row under the board: the employees working on each day, red on a day when
// a department of the board has fewer than its minimum. One column per day, as
// wide as the board's.
class BoardTotalsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit BoardTotalsModel(const BoardModel &board, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // A department is short of staff on that day.
    bool isShort(int day) const;

private:
    const BoardModel &m_board;
};
