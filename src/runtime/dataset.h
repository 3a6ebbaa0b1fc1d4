#pragma once

#include "rtglobal.h"
#include "textcolumn.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <vector>

enum class TFieldType { String, Integer, Float, DateTime };

namespace Rt {

// How a cell's value is compared and written out: as a number, as a date-time
// (QDate or QDateTime) or, whatever else it holds, as text.
enum class ValueKind { Text, Number, DateTime };

RT_EXPORT ValueKind kindOfValue(const QVariant &value);

} // namespace Rt

class TDataSet;

// A field of a data set, read at the data set's current record. A data set with
// no current record reads as null everywhere.
class RT_EXPORT TField
{
public:
    TField(const TDataSet *dataSet, int index)
        : m_dataSet(dataSet)
        , m_index(index)
    {}

    int index() const { return m_index; }
    QString fieldName() const;
    TFieldType dataType() const;

    bool isNull() const;
    // Text of the value: dates without time of day read "yyyy-mm-dd"; null reads "".
    QString asString() const;
    // Converted values; null reads 0. A text that is not a number or date raises.
    qint64 asInteger() const;
    double asFloat() const;
    double asDateTime() const;
    QVariant value() const;

private:
    const TDataSet *m_dataSet;
    int m_index;
};

// An in-memory result set: typed columns with nulls, filled once by whoever runs
// the query, then read by field and record. Values are stored column by column so
// that a large result costs little more than its data.
class RT_EXPORT TDataSet : public QObject
{
    Q_OBJECT
public:
    explicit TDataSet(QObject *parent = nullptr);
    ~TDataSet() override;

    // Structure; fields are added before the first record.
    int addField(const QString &name, TFieldType type);
    int fieldCount() const { return int(m_columns.size()); }
    QString fieldName(int field) const { return m_columns[size_t(field)].name; }
    TFieldType fieldType(int field) const { return m_columns[size_t(field)].type; }
    // Index of the field of that name, regardless of case; -1 when there is none.
    int findField(const QString &name) const;
    // The field of that name; raises a database error naming it when there is none.
    TField fieldByName(const QString &name) const;

    // Records.
    int recordCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    bool active() const { return m_active; }
    void setActive(bool active) { m_active = active; }
    void reserve(int records);
    // Appends a record whose fields are all null; returns its index.
    int appendRecord();
    void setString(int record, int field, const QString &value);
    // Gives record the text of the earlier record from, in the same String field,
    // sharing its characters: a loader's way with texts that repeat.
    void shareString(int record, int field, int from);
    void setInteger(int record, int field, qint64 value);
    void setFloat(int record, int field, double value);
    void setDateTime(int record, int field, double value);
    void setNull(int record, int field);
    // Call once the records are in: views bound to the set show them.
    void finishLoading();

    bool isNull(int record, int field) const;
    QString asString(int record, int field) const;
    // The characters of a String field's text, without a copy, valid until the
    // field is written again; empty for null and for an empty text. Records that
    // share their characters give the same view.
    QStringView stringView(int record, int field) const;
    qint64 asInteger(int record, int field) const;
    double asFloat(int record, int field) const;
    double asDateTime(int record, int field) const;
    // The typed value (QString, qint64, double) for display and sorting; null is an
    // invalid QVariant. Date-times come as their text.
    QVariant displayValue(int record, int field) const;

    // The current record, 0-based; -1 when there is none.
    int recNo() const { return m_current; }
    void setRecNo(int record);
    void first() { setRecNo(0); }
    void next();
    bool eof() const { return m_current < 0 || m_eof; }

Q_SIGNALS:
    void currentChanged(int record);
    void dataReset();

private:
    struct Column
    {
        QString name;
        TFieldType type;
        Rt::TextColumn texts;         // String
        std::vector<qint64> integers; // Integer
        std::vector<double> reals;    // Float, DateTime
        std::vector<quint8> nulls;    // Integer, Float, DateTime
    };

    const Column &column(int field) const { return m_columns[size_t(field)]; }
    Column &column(int field) { return m_columns[size_t(field)]; }
    [[noreturn]] void conversionError(const QString &text, int field, const QString &target) const;
    // Gives every column room for records, the new ones null.
    void resizeColumns(int records);

    std::vector<Column> m_columns;
    int m_rowCount = 0;
    // Records the columns hold, null past m_rowCount: appending a record then
    // touches no column.
    int m_allocated = 0;
    int m_current = -1;
    bool m_eof = true;
    bool m_active = true;
};

// Links a data set to the views that show it.
class RT_EXPORT TDataSource : public QObject
{
    Q_OBJECT
public:
    explicit TDataSource(QObject *parent = nullptr);

    TDataSet *dataSet() const { return m_dataSet; }
    void setDataSet(TDataSet *dataSet);

Q_SIGNALS:
    void dataSetChanged(TDataSet *dataSet);

private:
    QPointer<TDataSet> m_dataSet;
};

// Follows whatever data set a data source shows and passes on its signals, so that
// a view bound to the source needs to watch one object only.
class RT_EXPORT TDataLink : public QObject
{
    Q_OBJECT
public:
    explicit TDataLink(QObject *parent = nullptr);

    TDataSource *dataSource() const { return m_source; }
    void setDataSource(TDataSource *source);
    TDataSet *dataSet() const { return m_dataSet; }

Q_SIGNALS:
    // Another data set (or none) is linked now.
    void dataSetChanged(TDataSet *dataSet);
    void dataReset();
    void currentChanged(int record);

private:
    void link(TDataSet *dataSet);

    QPointer<TDataSource> m_source;
    QPointer<TDataSet> m_dataSet;
    QMetaObject::Connection m_sourceConnection;
    QList<QMetaObject::Connection> m_dataSetConnections;
};
