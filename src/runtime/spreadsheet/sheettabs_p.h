#pragma once

#include "runtime/xls/workbook.h"

#include <QAbstractTableModel>
#include <QTabWidget>

class QTableView;

namespace Rt::Internal {

// One sheet of a workbook as an item model: the texts its cells show, with
// their fonts and alignment. At least a screenful of empty cells shows, as in
// any spreadsheet.
class SheetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    SheetModel(const Rt::Xls::Workbook *book, int sheet, QObject *parent);

    void reload();
    void refreshCell(int row, int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const Rt::Xls::Workbook *m_book;
    int m_sheet;
    int m_rows = 0;
    int m_columns = 0;
};

// A tab per sheet of a workbook, each a table of its cells.
class SheetTabs : public QTabWidget
{
    Q_OBJECT
public:
    explicit SheetTabs(QWidget *parent);
    // Tabs that fill owner, which shows nothing else, to its edges.
    static SheetTabs *filling(QWidget *owner);

    // Shows book anew, its active sheet current.
    void setWorkbook(const Rt::Xls::Workbook *book);
    // The cells changed: every sheet shows them anew.
    void reload();
    void refreshCell(int sheet, int row, int column);

    QTableView *view(int sheet) const;
    const Rt::Xls::Workbook *workbook() const { return m_book; }

private:
    void applyWidths(int sheet);

    const Rt::Xls::Workbook *m_book = nullptr;
    QList<SheetModel *> m_models;
};

} // namespace Rt::Internal
