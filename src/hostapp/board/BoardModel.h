#pragma once

#include "BoardData.h"

#include <QAbstractTableModel>
#include <QDate>

// The roster board as a table: one row per employee, the job number, name and
// department first, then one column per day. Cells are read from the compact
// board on demand, every role cheaply; tooltips are worded only when asked for.
class BoardModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The columns before the days.
    enum Column { JobNumber, Name, Department, FirstDay };
    // The cell's BoardData::Flag bits, for day columns.
    static constexpr int FlagsRole = Qt::UserRole;

    // today marks its column.
    explicit BoardModel(const QDate &today, QObject *parent = nullptr);

    // Shows another board.
    void show(BoardData board);
    // Marks the days of the board shown that break working-time rules, and the
    // days departments are short of staff. Raises DbError.
    void checkRules(Database &db, const BoardData::Selection &selection);
    const BoardData &board() const { return m_board; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text of a day cell as the board shows it: "*" in front of an exchange.
    QString dayText(int employee, int day) const;
    // The caption of a day column: "12-01" and the weekday on a second line.
    QString dayCaption(int day) const;
    QDate today() const { return m_today; }

Q_SIGNALS:
    // The rules were checked: the totals' colours change with the cells'.
    void rulesChecked();

private:
    QVariant employeeData(int employee, int column, int role) const;
    QVariant dayData(int employee, int day, int role) const;

    BoardData m_board;
    QDate m_today;
};
