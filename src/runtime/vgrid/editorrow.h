#pragma once

#include "runtime/rtglobal.h"

#include <QObject>
#include <QVariant>

class TcxVerticalGrid;

// A row of a vertical grid: a caption and a value. An unbound grid shows the value
// set here; a bound grid shows the field named fieldName() of the current record.
class RT_EXPORT TcxEditorRow : public QObject
{
    Q_OBJECT
public:
    ~TcxEditorRow() override;

    TcxVerticalGrid *verticalGrid() const { return m_grid; }
    int index() const { return m_index; }

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QVariant value() const { return m_value; }
    void setValue(const QVariant &value);
    // Found regardless of case.
    QString fieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);

private:
    friend class TcxVerticalGrid;
    TcxEditorRow(TcxVerticalGrid *grid, int index);

    TcxVerticalGrid *m_grid;
    int m_index;
    QString m_caption;
    QVariant m_value;
    QString m_fieldName;
};
