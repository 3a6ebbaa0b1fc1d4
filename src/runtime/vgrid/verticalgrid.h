#pragma once

#include "runtime/dataset.h"
#include "runtime/rtglobal.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class QTableView;
class TcxEditorRow;
class TcxViewStyles;

namespace Rt::Internal {
class VerticalGridModel;
}

// A property grid: one row per item, its caption on the left and its value on the
// right. Read-only.
class RT_EXPORT TcxVerticalGrid : public QWidget
{
    Q_OBJECT
public:
    explicit TcxVerticalGrid(QWidget *parent = nullptr);
    ~TcxVerticalGrid() override;

    TcxEditorRow *addRow(const QString &caption);
    const QList<TcxEditorRow *> &rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    TcxEditorRow *row(int index) const { return m_rows.value(index); }

    // The text the value column shows for row.
    virtual QString displayText(const TcxEditorRow *row) const;

    TcxViewStyles *styles() const { return m_styles.get(); }
    // Width of the caption column.
    int rowHeaderWidth() const { return m_rowHeaderWidth; }
    void setRowHeaderWidth(int width);

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The values changed, all at once.
    void refreshValues();

private:
    friend class TcxEditorRow;
    void rowChanged(TcxEditorRow *row);
    void removeRow(TcxEditorRow *row);

    std::unique_ptr<TcxViewStyles> m_styles;
    QTableView *m_table;
    Rt::Internal::VerticalGridModel *m_model;
    QList<TcxEditorRow *> m_rows;
    int m_rowHeaderWidth = 100;
};

// A vertical grid showing the current record of a data source's data set.
class RT_EXPORT TcxDBVerticalGrid : public TcxVerticalGrid
{
    Q_OBJECT
public:
    explicit TcxDBVerticalGrid(QWidget *parent = nullptr);
    ~TcxDBVerticalGrid() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }

    // The row's field at the current record; empty without one.
    QString displayText(const TcxEditorRow *row) const override;

private:
    TDataLink m_link;
};
