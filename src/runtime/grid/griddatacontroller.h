#pragma once

#include "runtime/dataset.h"
#include "runtime/rtglobal.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <vector>

class TcxGridTableView;

// The records of a table view and its focused record. Columns are addressed by
// their index among the view's columns (hidden ones included). This one holds the
// values of an unbound view, set in code.
class RT_EXPORT TcxGridDataController : public QObject
{
    Q_OBJECT
public:
    TcxGridDataController();
    ~TcxGridDataController() override;

    TcxGridTableView *gridView() const { return m_view; }

    int recordCount() const { return m_recordCount; }
    // The stored value; invalid when null or out of range.
    virtual QVariant value(int record, int column) const;
    // The text a cell shows: the value's text, or its description in the column's
    // value list.
    QString displayText(int record, int column) const;

    // -1 when no record has the focus.
    int focusedRecordIndex() const { return m_focused; }
    virtual void setFocusedRecordIndex(int record);

    // Records of an unbound view: all values null until set.
    void setRecordCount(int count);
    void setValue(int record, int column, const QVariant &value);

Q_SIGNALS:
    void focusedRecordChanged(int previous, int current);
    // Records came or went, or all of them changed.
    void recordsReset();
    // Values of one record changed in place.
    void recordChanged(int record);

protected:
    // The value as text, as the cell shows it without a value list.
    virtual QString text(int record, int column) const;
    // Columns came, went or changed their field name.
    virtual void columnsChanged() {}
    // Moves the focus to record, clamped to the records there are, and reports it.
    void moveFocus(int record);
    // Takes a new number of records and a focus, and reports both. When the records
    // are new ones, a focus that stays on the same index is reported all the same.
    void resetRecords(int count, int focused, bool newRecords);

private:
    friend class TcxGridTableView;
    void columnRemoved(int column);

    TcxGridTableView *m_view = nullptr;
    // Unbound values, column by column.
    std::vector<std::vector<QVariant>> m_values;
    // The count the views were last told about: a data set still loading must not
    // change the shape of the model behind their back.
    int m_recordCount = 0;
    int m_focused = -1;
};

// The records of a bound view: the data set of its data source. The data set's
// current record follows the focused record and the other way round.
class RT_EXPORT TcxGridDBDataController : public TcxGridDataController
{
    Q_OBJECT
public:
    TcxGridDBDataController();
    ~TcxGridDBDataController() override;

    TDataSource *dataSource() const { return m_link.dataSource(); }
    void setDataSource(TDataSource *source) { m_link.setDataSource(source); }
    TDataSet *dataSet() const { return m_dataSet; }

    QVariant value(int record, int column) const override;
    void setFocusedRecordIndex(int record) override;

    // Records come from the data set.
    void setRecordCount(int count) = delete;
    void setValue(int record, int column, const QVariant &value) = delete;

protected:
    QString text(int record, int column) const override;
    void columnsChanged() override;

private:
    void reload();
    void resolveFields();
    int fieldOf(int column) const;

    TDataLink m_link;
    // The link's data set, kept at hand for the cell reads.
    TDataSet *m_dataSet = nullptr;
    // The data set field each column shows, found once per data set, reset or rename.
    std::vector<int> m_fields;
};
