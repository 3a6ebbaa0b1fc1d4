#include "BoardModel.h"

#include "BoardPalette.h"
#include "BoardToolTips.h"

#include <QBrush>
#include <QFont>

using namespace Qt::StringLiterals;

BoardModel::BoardModel(const QDate &today, QObject *parent)
    : QAbstractTableModel(parent)
    , m_today(today)
{}

void BoardModel::show(BoardData board)
{
    beginResetModel();
    m_board = std::move(board);
    endResetModel();
}

void BoardModel::checkRules(Database &db, const BoardData::Selection &selection)
{
    m_board.checkRules(db, selection);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, FirstDay), index(rowCount() - 1, columnCount() - 1));
    Q_EMIT rulesChecked();
}

int BoardModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_board.employeeCount();
}

int BoardModel::columnCount(const QModelIndex &parent) const
{
    // A board not yet read has no range, and so no columns.
    return parent.isValid() || !m_board.rows.range.first.isValid() ? 0
                                                                   : FirstDay + m_board.dayCount();
}

QString BoardModel::dayText(int employee, int day) const
{
    const BoardData::Cell &cell = m_board.cell(employee, day);
    const QString &text = m_board.texts.text(cell.text);
    return cell.flags & BoardData::Exchanged ? u'*' + text : text;
}

QString BoardModel::dayCaption(int day) const
{
    const QDate date = m_board.day(day);
    return date.toString(u"MM-dd"_s) + u'\n' + BoardToolTips::weekdayName(date)
           + (date == m_today ? u" 今天"_s : QString());
}

QVariant BoardModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (index.column() < FirstDay)
        return employeeData(index.row(), index.column(), role);
    return dayData(index.row(), index.column() - FirstDay, role);
}

QVariant BoardModel::employeeData(int employee, int column, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ScheduleRows::Employee &who = m_board.rows.employees.at(employee);
    switch (column) {
    case JobNumber:
        return who.jobNumber;
    case Name:
        return who.name;
    default:
        return role == Qt::ToolTipRole
                   ? u"%1 %2"_s.arg(who.deptCode, m_board.departmentName(who.deptCode))
                   : m_board.departmentName(who.deptCode);
    }
}

QVariant BoardModel::dayData(int employee, int day, int role) const
{
    const BoardData::Cell &cell = m_board.cell(employee, day);
    switch (role) {
    case Qt::DisplayRole:
        return dayText(employee, day);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (const QColor colour = BoardPalette::background(cell.flags, m_board.day(day), m_today);
            colour.isValid())
            return QBrush(colour);
        return {};
    case Qt::ForegroundRole:
        if (const QColor colour = BoardPalette::foreground(cell.flags); colour.isValid())
            return QBrush(colour);
        return {};
    case Qt::ToolTipRole:
        return BoardToolTips::cell(m_board, employee, day);
    case FlagsRole:
        return int(cell.flags);
    default:
        return {};
    }
}

QVariant BoardModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < FirstDay) {
        static const QString captions[] = {u"工号"_s, u"姓名"_s, u"部门"_s};
        return role == Qt::DisplayRole ? QVariant(captions[section]) : QVariant();
    }
    const int day = section - FirstDay;
    const QDate date = m_board.day(day);
    switch (role) {
    case Qt::DisplayRole:
        return dayCaption(day);
    case Qt::ToolTipRole:
        return u"%1 星期%2"_s.arg(date.toString(u"yyyy-MM-dd"_s), BoardToolTips::weekdayName(date));
    case Qt::ForegroundRole:
        if (date.dayOfWeek() >= 6)
            return QBrush(BoardPalette::breachText);
        return {};
    case Qt::FontRole:
        if (date == m_today) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::BackgroundRole:
        if (date == m_today)
            return QBrush(BoardPalette::today);
        if (date.dayOfWeek() >= 6)
            return QBrush(BoardPalette::weekend);
        return {};
    default:
        return {};
    }
}
