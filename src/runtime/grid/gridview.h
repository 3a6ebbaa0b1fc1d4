#pragma once

#include "runtime/rtglobal.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class QAbstractItemModel;
class TcxGridColumn;
class TcxGridDataController;
class TcxGridDBDataController;
class TcxStyle;
class TcxViewStyles;

namespace Rt {
// What a footer summary computes over a column.
enum class SummaryKind { Sum, Count };
// A footer summary as designed: what it computes and the text that shows it.
struct FooterSummaryDesign
{
    SummaryKind kind;
    QString format;
};
namespace Internal {
class GridTableModel;
}
} // namespace Rt

// A view a grid level shows: the styles every kind of view has.
class RT_EXPORT TcxCustomGridView : public QObject
{
    Q_OBJECT
public:
    explicit TcxCustomGridView(QObject *parent = nullptr);
    ~TcxCustomGridView() override;

    TcxViewStyles *styles() const { return m_styles.get(); }

private:
    // Owned without a QObject parent: styles are part of the view, not a component.
    std::unique_ptr<TcxViewStyles> m_styles;
};

// A table of records under column headers, with an optional footer. Unbound: its
// data controller holds the values set in code. Read-only.
class RT_EXPORT TcxGridTableView : public TcxCustomGridView
{
    Q_OBJECT
public:
    explicit TcxGridTableView(QObject *parent = nullptr);
    ~TcxGridTableView() override;

    TcxGridColumn *createColumn();
    const QList<TcxGridColumn *> &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    TcxGridColumn *column(int index) const { return m_columns.value(index); }
    // The visible columns in the order the view shows them.
    virtual QList<TcxGridColumn *> visibleColumns() const;

    TcxGridDataController *dataController() const { return m_controller.get(); }
    // The records as an item model: a row per record, a column per visible column,
    // display texts and the cells' styles; the raw value under Qt::EditRole.
    QAbstractItemModel *itemModel() const;

    bool footerVisible() const { return m_footerVisible; }
    void setFooterVisible(bool visible);
    // Records are never grouped, so the box never shows; the flag is kept for callers.
    bool groupByBoxVisible() const { return m_groupByBoxVisible; }
    void setGroupByBoxVisible(bool visible) { m_groupByBoxVisible = visible; }
    // Columns share the view's width, none below its minimum width; otherwise they
    // keep their widths and the view scrolls sideways.
    bool columnAutoWidth() const { return m_columnAutoWidth; }
    void setColumnAutoWidth(bool autoWidth);
    // Rows grow to fit wrapped text.
    bool cellAutoHeight() const { return m_cellAutoHeight; }
    void setCellAutoHeight(bool autoHeight);
    // Selects single cells; otherwise whole rows.
    bool cellSelect() const { return m_cellSelect; }
    void setCellSelect(bool cellSelect);
    // Centres every column's caption, whatever its own header alignment.
    bool columnHeadersCentred() const { return m_headersCentred; }
    void setColumnHeadersCentred(bool centred);
    // The view never edits; these keep what the caller allows for code that asks.
    bool editing() const { return m_editing; }
    void setEditing(bool editing) { m_editing = editing; }
    bool inserting() const { return m_inserting; }
    void setInserting(bool inserting) { m_inserting = inserting; }
    bool deleting() const { return m_deleting; }
    void setDeleting(bool deleting) { m_deleting = deleting; }

    // Shows a summary of column's values under it in the footer. format is the text
    // shown, its first run of digit placeholders ("0", "#") standing for the value as
    // a whole number: "合计：0".
    void addFooterSummary(TcxGridColumn *column, Rt::SummaryKind kind, const QString &format);
    // The footer text under column; empty when it has no summary. Summaries are
    // computed once after the records change, not each time they are read.
    QString footerText(const TcxGridColumn *column) const;
    // The summary under column as designed; none when it has none.
    std::optional<Rt::FooterSummaryDesign> footerSummary(const TcxGridColumn *column) const;

    TcxStyle *contentEvenStyle() const;
    TcxStyle *contentOddStyle() const;

Q_SIGNALS:
    void cellDblClick(int recordIndex, TcxGridColumn *column);
    // Enter was pressed on the focused record.
    void recordEntered(int recordIndex);
    void focusedRecordChanged(int previous, int current);
    // Column sizes, bands or display options changed: whoever shows the view lays it
    // out anew.
    void layoutChanged(QPrivateSignal);

protected:
    TcxGridTableView(std::unique_ptr<TcxGridDataController> controller, QObject *parent);
    // Takes a column a subclass has just created into the view.
    void addColumn(TcxGridColumn *column);
    // The order or set of visible columns changed.
    void rearrangeColumns();
    void notifyLayoutChanged();

private:
    friend class TcxGridColumn;
    friend class TcxGridBandedColumn;
    enum class ColumnChange { Header, Cells, Binding, Arrangement, Size };

    void columnChanged(ColumnChange change);
    void removeColumn(TcxGridColumn *column);
    void recordsReset();
    void recordChanged(int record);
    void computeSummaries() const;

    struct FooterSummary
    {
        QPointer<TcxGridColumn> column;
        Rt::SummaryKind kind;
        QString format;
        QString text;
    };

    std::unique_ptr<TcxGridDataController> m_controller;
    std::unique_ptr<Rt::Internal::GridTableModel> m_model;
    QList<TcxGridColumn *> m_columns;
    mutable QList<FooterSummary> m_summaries;
    mutable bool m_summariesStale = true;
    bool m_footerVisible = false;
    bool m_groupByBoxVisible = true;
    bool m_columnAutoWidth = false;
    bool m_cellAutoHeight = false;
    bool m_cellSelect = true;
    bool m_headersCentred = false;
    bool m_editing = true;
    bool m_inserting = true;
    bool m_deleting = true;
};

// A table view showing the data set of a data source.
class RT_EXPORT TcxGridDBTableView : public TcxGridTableView
{
    Q_OBJECT
public:
    explicit TcxGridDBTableView(QObject *parent = nullptr);

    TcxGridDBDataController *dataController() const;
};
