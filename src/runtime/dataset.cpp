#include "dataset.h"
#include "datetime.h"
#include "exceptions.h"

#include <cmath>

using namespace Qt::StringLiterals;

Rt::ValueKind Rt::kindOfValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return ValueKind::Number;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return ValueKind::DateTime;
    default:
        return ValueKind::Text;
    }
}

QString TField::fieldName() const
{
    return m_dataSet->fieldName(m_index);
}

TFieldType TField::dataType() const
{
    return m_dataSet->fieldType(m_index);
}

bool TField::isNull() const
{
    const int record = m_dataSet->recNo();
    return record < 0 || m_dataSet->isNull(record, m_index);
}

QString TField::asString() const
{
    return isNull() ? QString() : m_dataSet->asString(m_dataSet->recNo(), m_index);
}

qint64 TField::asInteger() const
{
    return isNull() ? 0 : m_dataSet->asInteger(m_dataSet->recNo(), m_index);
}

double TField::asFloat() const
{
    return isNull() ? 0.0 : m_dataSet->asFloat(m_dataSet->recNo(), m_index);
}

double TField::asDateTime() const
{
    return isNull() ? 0.0 : m_dataSet->asDateTime(m_dataSet->recNo(), m_index);
}

QVariant TField::value() const
{
    return isNull() ? QVariant() : m_dataSet->displayValue(m_dataSet->recNo(), m_index);
}

TDataSet::TDataSet(QObject *parent)
    : QObject(parent)
{}

TDataSet::~TDataSet() = default;

int TDataSet::addField(const QString &name, TFieldType type)
{
    Column column;
    column.name = name;
    column.type = type;
    m_columns.push_back(std::move(column));
    if (m_allocated > 0)
        resizeColumns(m_allocated);
    return int(m_columns.size()) - 1;
}

int TDataSet::findField(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

TField TDataSet::fieldByName(const QString &name) const
{
    const int index = findField(name);
    if (index < 0)
        throw Rt::DatabaseError(u"数据集中没有字段 %1。"_s.arg(name));
    return TField(this, index);
}

void TDataSet::reserve(int records)
{
    if (records > m_allocated)
        resizeColumns(records);
}

void TDataSet::resizeColumns(int records)
{
    for (Column &c : m_columns) {
        if (c.type == TFieldType::String) {
            c.texts.resize(size_t(records));
            continue;
        }
        c.nulls.resize(size_t(records), 1);
        if (c.type == TFieldType::Integer)
            c.integers.resize(size_t(records));
        else
            c.reals.resize(size_t(records));
    }
    m_allocated = records;
}

int TDataSet::appendRecord()
{
    if (m_rowCount == m_allocated)
        resizeColumns(std::max(2 * m_allocated, 256));
    return m_rowCount++;
}

void TDataSet::shareString(int record, int field, int from)
{
    Column &c = column(field);
    Q_ASSERT(c.type == TFieldType::String && from < record);
    c.texts.share(size_t(record), size_t(from));
}

void TDataSet::setString(int record, int field, const QString &value)
{
    Column &c = column(field);
    switch (c.type) {
    case TFieldType::String:
        c.texts.set(size_t(record), value);
        return;
    case TFieldType::Integer: {
        bool ok = false;
        const qint64 v = value.trimmed().toLongLong(&ok);
        if (!ok)
            conversionError(value, field, u"整数"_s);
        setInteger(record, field, v);
        return;
    }
    case TFieldType::Float: {
        bool ok = false;
        const double v = value.trimmed().toDouble(&ok);
        if (!ok)
            conversionError(value, field, u"数值"_s);
        setFloat(record, field, v);
        return;
    }
    case TFieldType::DateTime: {
        const std::optional<double> v = Rt::DateTime::parse(value);
        if (!v)
            conversionError(value, field, u"日期"_s);
        setDateTime(record, field, *v);
        return;
    }
    }
}

void TDataSet::setInteger(int record, int field, qint64 value)
{
    Column &c = column(field);
    switch (c.type) {
    case TFieldType::String:
        c.texts.set(size_t(record), QString::number(value));
        return;
    case TFieldType::Integer:
        c.integers[size_t(record)] = value;
        break;
    case TFieldType::Float:
    case TFieldType::DateTime:
        c.reals[size_t(record)] = double(value);
        break;
    }
    c.nulls[size_t(record)] = 0;
}

void TDataSet::setFloat(int record, int field, double value)
{
    Column &c = column(field);
    switch (c.type) {
    case TFieldType::String:
        c.texts.set(size_t(record), QString::number(value, 'g', 15));
        return;
    case TFieldType::Integer:
        c.integers[size_t(record)] = std::llround(value);
        break;
    case TFieldType::Float:
    case TFieldType::DateTime:
        c.reals[size_t(record)] = value;
        break;
    }
    c.nulls[size_t(record)] = 0;
}

void TDataSet::setDateTime(int record, int field, double value)
{
    Column &c = column(field);
    if (c.type == TFieldType::String) {
        c.texts.set(size_t(record), Rt::DateTime::toText(value));
        return;
    }
    setFloat(record, field, value);
}

void TDataSet::setNull(int record, int field)
{
    Column &c = column(field);
    if (c.type == TFieldType::String)
        c.texts.setNull(size_t(record));
    else
        c.nulls[size_t(record)] = 1;
}

void TDataSet::finishLoading()
{
    // Growing by doubling leaves up to half of each column unused; a result is
    // read many times and never grows again, so give the slack back once.
    resizeColumns(m_rowCount);
    for (Column &c : m_columns) {
        c.texts.shrinkToFit();
        c.integers.shrink_to_fit();
        c.reals.shrink_to_fit();
        c.nulls.shrink_to_fit();
    }
    m_current = m_rowCount > 0 ? 0 : -1;
    m_eof = m_rowCount == 0;
    Q_EMIT dataReset();
    Q_EMIT currentChanged(m_current);
}

bool TDataSet::isNull(int record, int field) const
{
    const Column &c = column(field);
    if (c.type == TFieldType::String)
        return c.texts.isNull(size_t(record));
    return c.nulls[size_t(record)] != 0;
}

QString TDataSet::asString(int record, int field) const
{
    if (isNull(record, field))
        return QString();
    const Column &c = column(field);
    switch (c.type) {
    case TFieldType::String:
        return c.texts.text(size_t(record));
    case TFieldType::Integer:
        return QString::number(c.integers[size_t(record)]);
    case TFieldType::Float:
        return QString::number(c.reals[size_t(record)], 'g', 15);
    case TFieldType::DateTime:
        return Rt::DateTime::toText(c.reals[size_t(record)]);
    }
    return QString();
}

QStringView TDataSet::stringView(int record, int field) const
{
    Q_ASSERT(column(field).type == TFieldType::String);
    return column(field).texts.view(size_t(record));
}

qint64 TDataSet::asInteger(int record, int field) const
{
    if (isNull(record, field))
        return 0;
    const Column &c = column(field);
    switch (c.type) {
    case TFieldType::String: {
        bool ok = false;
        const qint64 v = c.texts.view(size_t(record)).trimmed().toLongLong(&ok);
        if (!ok)
            conversionError(c.texts.text(size_t(record)), field, u"整数"_s);
        return v;
    }
    case TFieldType::Integer:
        return c.integers[size_t(record)];
    case TFieldType::Float:
    case TFieldType::DateTime:
        return std::llround(c.reals[size_t(record)]);
    }
    return 0;
}

double TDataSet::asFloat(int record, int field) const
{
    if (isNull(record, field))
        return 0.0;
    const Column &c = column(field);
    switch (c.type) {
    case TFieldType::String: {
        bool ok = false;
        const double v = c.texts.view(size_t(record)).trimmed().toDouble(&ok);
        if (!ok)
            conversionError(c.texts.text(size_t(record)), field, u"数值"_s);
        return v;
    }
    case TFieldType::Integer:
        return double(c.integers[size_t(record)]);
    case TFieldType::Float:
    case TFieldType::DateTime:
        return c.reals[size_t(record)];
    }
    return 0.0;
}

double TDataSet::asDateTime(int record, int field) const
{
    const Column &c = column(field);
    if (c.type != TFieldType::String || isNull(record, field))
        return asFloat(record, field);
    const std::optional<double> v = Rt::DateTime::parse(c.texts.view(size_t(record)));
    if (!v)
        conversionError(c.texts.text(size_t(record)), field, u"日期"_s);
    return *v;
}

QVariant TDataSet::displayValue(int record, int field) const
{
    if (isNull(record, field))
        return QVariant();
    const Column &c = column(field);
    switch (c.type) {
    case TFieldType::String:
        return c.texts.text(size_t(record));
    case TFieldType::Integer:
        return c.integers[size_t(record)];
    case TFieldType::Float:
        return c.reals[size_t(record)];
    case TFieldType::DateTime:
        return Rt::DateTime::toText(c.reals[size_t(record)]);
    }
    return QVariant();
}

void TDataSet::setRecNo(int record)
{
    if (m_rowCount == 0)
        return;
    const int target = qBound(0, record, m_rowCount - 1);
    m_eof = false;
    if (target == m_current)
        return;
    m_current = target;
    Q_EMIT currentChanged(m_current);
}

void TDataSet::next()
{
    if (m_current < 0 || m_current + 1 >= m_rowCount) {
        m_eof = true;
        return;
    }
    setRecNo(m_current + 1);
}

void TDataSet::conversionError(const QString &text, int field, const QString &target) const
{
    throw Rt::DatabaseError(
        u"字段 %1 的值“%2”不是有效的%3。"_s.arg(fieldName(field), text, target));
}

TDataSource::TDataSource(QObject *parent)
    : QObject(parent)
{}

void TDataSource::setDataSet(TDataSet *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    m_dataSet = dataSet;
    Q_EMIT dataSetChanged(dataSet);
}

TDataLink::TDataLink(QObject *parent)
    : QObject(parent)
{}

void TDataLink::setDataSource(TDataSource *source)
{
    if (m_source == source)
        return;
    disconnect(m_sourceConnection);
    m_source = source;
    if (source)
        m_sourceConnection = connect(source, &TDataSource::dataSetChanged, this, &TDataLink::link);
    link(source ? source->dataSet() : nullptr);
}

void TDataLink::link(TDataSet *dataSet)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_dataSetConnections))
        disconnect(connection);
    m_dataSetConnections.clear();
    m_dataSet = dataSet;
    if (dataSet) {
        m_dataSetConnections = {
            connect(dataSet, &TDataSet::dataReset, this, &TDataLink::dataReset),
            connect(dataSet, &TDataSet::currentChanged, this, &TDataLink::currentChanged),
            connect(dataSet, &QObject::destroyed, this, [this] { link(nullptr); }),
        };
    }
    Q_EMIT dataSetChanged(dataSet);
}
