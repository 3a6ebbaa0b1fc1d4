#include "FindPattern.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/grid/cxgrid.h"

#include <QDateTime>

#include <cmath>

namespace {

double daysOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QDate ? Rt::DateTime::fromDate(value.toDate())
                                              : Rt::DateTime::fromDateTime(value.toDateTime());
}

// Date-times compare to the millisecond, the finest step their texts can give.
qint64 msecsOf(double days)
{
    return std::llround(days * 86400000.0);
}

} // namespace

FindPattern::FindPattern(const QString &text, bool wholeValue)
    : m_text(text)
    , m_wholeValue(wholeValue)
{
    if (!wholeValue || text.isEmpty() || text != text.trimmed())
        return;
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    if (isNumber)
        m_number = number;
    if (const std::optional<double> days = Rt::DateTime::parse(text))
        m_msecs = msecsOf(*days);
}

bool FindPattern::matches(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return false;
    if (!m_wholeValue)
        return textOf(value).contains(m_text, Qt::CaseSensitive);
    switch (Rt::kindOfValue(value)) {
    case Rt::ValueKind::Number:
        return m_number && value.toDouble() == *m_number;
    case Rt::ValueKind::DateTime:
        return m_msecs && msecsOf(daysOf(value)) == *m_msecs;
    default:
        return value.toString() == m_text;
    }
}

QString FindPattern::textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Rt::DateTime::toText(daysOf(value));
    default:
        return value.toString();
    }
}

GridCellReader::GridCellReader(const TcxGridTableView *view)
    : m_view(view)
{
    const auto *bound = qobject_cast<const TcxGridDBDataController *>(view->dataController());
    m_dataSet = bound ? bound->dataSet() : nullptr;
    if (!m_dataSet)
        return;
    for (const TcxGridColumn *column : view->columns()) {
        const int field = m_dataSet->findField(column->fieldName());
        if (field >= 0 && m_dataSet->fieldType(field) == TFieldType::DateTime)
            m_dateFields.insert(column->index(), field);
    }
}

QVariant GridCellReader::value(int record, const TcxGridColumn *column) const
{
    if (const auto field = m_dateFields.constFind(column->index()); field != m_dateFields.cend()) {
        if (m_dataSet->isNull(record, *field))
            return {};
        return Rt::DateTime::toDateTime(m_dataSet->asDateTime(record, *field));
    }
    return m_view->dataController()->value(record, column->index());
}
