#include "griddatacontroller.h"

#include "gridcolumn.h"
#include "gridview.h"
#include "runtime/dataset.h"

#include <utility>

TcxGridDataController::TcxGridDataController() = default;

TcxGridDataController::~TcxGridDataController() = default;

QVariant TcxGridDataController::value(int record, int column) const
{
    if (column < 0 || size_t(column) >= m_values.size())
        return {};
    const std::vector<QVariant> &values = m_values[size_t(column)];
    if (record < 0 || size_t(record) >= values.size())
        return {};
    return values[size_t(record)];
}

QString TcxGridDataController::text(int record, int column) const
{
    return value(record, column).toString();
}

QString TcxGridDataController::displayText(int record, int column) const
{
    const QString valueText = text(record, column);
    const TcxGridColumn *item = m_view ? m_view->column(column) : nullptr;
    if (!item || item->valueList().count() == 0)
        return valueText;
    return item->valueList().displayText(valueText);
}

void TcxGridDataController::setFocusedRecordIndex(int record)
{
    moveFocus(record);
}

void TcxGridDataController::setRecordCount(int count)
{
    count = qMax(count, 0);
    for (std::vector<QVariant> &values : m_values)
        values.resize(size_t(count));
    resetRecords(count, m_focused, false);
}

void TcxGridDataController::setValue(int record, int column, const QVariant &value)
{
    if (record < 0 || record >= m_recordCount || column < 0)
        return;
    if (size_t(column) >= m_values.size())
        m_values.resize(size_t(column) + 1);
    std::vector<QVariant> &values = m_values[size_t(column)];
    values.resize(size_t(m_recordCount));
    values[size_t(record)] = value;
    Q_EMIT recordChanged(record);
}

void TcxGridDataController::moveFocus(int record)
{
    const int target = m_recordCount == 0 ? -1 : qBound(-1, record, m_recordCount - 1);
    if (target == m_focused)
        return;
    const int previous = std::exchange(m_focused, target);
    Q_EMIT focusedRecordChanged(previous, target);
}

void TcxGridDataController::resetRecords(int count, int focused, bool newRecords)
{
    const int previous = m_focused;
    m_recordCount = count;
    m_focused = count == 0 ? -1 : qBound(-1, focused, count - 1);
    Q_EMIT recordsReset();
    if (m_focused != previous || (newRecords && m_focused >= 0))
        Q_EMIT focusedRecordChanged(previous, m_focused);
}

void TcxGridDataController::columnRemoved(int column)
{
    if (size_t(column) < m_values.size())
        m_values.erase(m_values.begin() + column);
    columnsChanged();
}

TcxGridDBDataController::TcxGridDBDataController()
{
    connect(&m_link, &TDataLink::dataSetChanged, this, [this](TDataSet *dataSet) {
        m_dataSet = dataSet;
        reload();
    });
    connect(&m_link, &TDataLink::dataReset, this, &TcxGridDBDataController::reload);
    connect(&m_link, &TDataLink::currentChanged, this, [this](int record) { moveFocus(record); });
}

TcxGridDBDataController::~TcxGridDBDataController() = default;

void TcxGridDBDataController::reload()
{
    resolveFields();
    const int count = m_dataSet ? m_dataSet->recordCount() : 0;
    resetRecords(count, m_dataSet ? m_dataSet->recNo() : -1, true);
}

void TcxGridDBDataController::resolveFields()
{
    const TcxGridTableView *view = gridView();
    const int columns = view ? view->columnCount() : 0;
    m_fields.assign(size_t(columns), -1);
    if (!m_dataSet)
        return;
    for (int i = 0; i < columns; ++i)
        m_fields[size_t(i)] = m_dataSet->findField(view->column(i)->fieldName());
}

void TcxGridDBDataController::columnsChanged()
{
    resolveFields();
}

int TcxGridDBDataController::fieldOf(int column) const
{
    return column >= 0 && size_t(column) < m_fields.size() ? m_fields[size_t(column)] : -1;
}

QVariant TcxGridDBDataController::value(int record, int column) const
{
    const int field = fieldOf(column);
    if (field < 0 || !m_dataSet || record < 0 || record >= recordCount())
        return {};
    return m_dataSet->displayValue(record, field);
}

QString TcxGridDBDataController::text(int record, int column) const
{
    const int field = fieldOf(column);
    if (field < 0 || !m_dataSet || record < 0 || record >= recordCount())
        return {};
    return m_dataSet->asString(record, field);
}

void TcxGridDBDataController::setFocusedRecordIndex(int record)
{
    // A data set with records always has a current one, so the focus stays on a record.
    if (m_dataSet && recordCount() > 0) {
        m_dataSet->setRecNo(qBound(0, record, recordCount() - 1));
        moveFocus(m_dataSet->recNo());
        return;
    }
    moveFocus(record);
}
