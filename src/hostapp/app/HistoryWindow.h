#pragma once

#include "hostapp/db/ExchangeHistory.h"

#include <QWidget>

class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;
class TcxDateEdit;

// 修改历史: the changes of shift exchanges that the database recorded, found by
// the days of the change, the operator and the employee, the latest first. The
// chosen change shows the exchange before and after it side by side, with the
// fields that changed marked. The history is only read here, and only the
// changes to employees of the viewing operator's departments.
class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    // Opens on the changes of the last 30 days up to today.
    HistoryWindow(Database &db, const QString &viewerCode, QWidget *parent = nullptr);

    // Lists the changes that the filters select.
    void search();

private:
    void buildLayout();
    void loadOperators();
    void showChange(int row);

    Database &m_db;
    QString m_viewerCode;
    TcxDateEdit *m_from;
    TcxDateEdit *m_to;
    QComboBox *m_operator;
    QLineEdit *m_employee;
    QTableView *m_changes;
    QStandardItemModel *m_changeModel;
    QLabel *m_changeTitle;
    QTableView *m_detail;
    QStandardItemModel *m_detailModel;
    QLabel *m_count;
    QList<ExchangeHistory::Change> m_found;
};
