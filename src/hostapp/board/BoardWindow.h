#pragma once

#include "BoardCell.h"
#include "BoardData.h"

#include <QWidget>

class BoardModel;
class BoardTotalsModel;
class DepartmentTree;
class HostSession;
class QLabel;
class QPushButton;
class QScrollBar;
class QTableView;
class TcxDateEdit;

// 排班总览: every current employee of a department by the days of a range, each
// day as plan, rotating shift and exchanges make it, exchanged days and days
// that break a working-time rule marked, and the employees working per day
// under the grid. It follows every save of the register.
class BoardWindow : public QWidget
{
    Q_OBJECT
public:
    // The longest range the board shows.
    static constexpr int maxDays = 62;

    // Opens on the whole scope of the session's operator for the current month.
    explicit BoardWindow(HostSession &session, QWidget *parent = nullptr);

    // The chosen cells, employee by employee, day by day.
    BoardCells selectedCells() const;
    const BoardModel &model() const { return *m_model; }

public Q_SLOTS:
    // Reads the department and range shown again.
    void refresh();

Q_SIGNALS:
    void batchRequested(const BoardCells &cells);
    void swapRequested(const BoardCell &a, const BoardCell &b);

private:
    void buildLayout();
    void buildGrid(QWidget *area);
    QWidget *buildLegend();
    // Takes the department and the dates as chosen and shows them; a range that
    // is reversed or too long is refused with a message and changes nothing.
    void query();
    void load(const BoardData::Selection &selection);
    void updateButtons();
    void requestBatch();
    void requestSwap();
    void exportExcel();
    void printPreview();
    QString title() const;

    HostSession &m_session;
    QString m_scope;
    BoardData::Selection m_shown;
    BoardModel *m_model;
    BoardTotalsModel *m_totals;
    DepartmentTree *m_departments;
    TcxDateEdit *m_from;
    TcxDateEdit *m_to;
    QTableView *m_names;
    QTableView *m_days;
    QTableView *m_totalsView;
    QScrollBar *m_vertical;
    QScrollBar *m_horizontal;
    QPushButton *m_batch;
    QPushButton *m_swap;
    QLabel *m_count;
};
