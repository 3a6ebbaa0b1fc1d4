#include "PgDataSetLoader.h"

#include "ColumnCaches.h"
#include "PgConnection.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"

#include <charconv>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The OIDs of the built-in types, fixed in every PostgreSQL.
namespace PgTypes {
constexpr unsigned boolean = 16;
constexpr unsigned int8 = 20;
constexpr unsigned int2 = 21;
constexpr unsigned int4 = 23;
constexpr unsigned oid = 26;
constexpr unsigned float4 = 700;
constexpr unsigned float8 = 701;
constexpr unsigned numeric = 1700;
constexpr unsigned date = 1082;
constexpr unsigned timestamp = 1114;
constexpr unsigned timestamptz = 1184;
} // namespace PgTypes

enum class Reading { Integer, Boolean, Float, DateTime, Text };

bool isWhole(std::string_view text)
{
    qint64 value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool wholeNumbersOnly(const PgResult &result, int column)
{
    for (int row = 0; row < result.rowCount(); ++row) {
        if (!result.isNull(row, column) && !isWhole(result.value(row, column)))
            return false;
    }
    return true;
}

Reading readingOf(const PgResult &result, int column)
{
    switch (result.columnType(column)) {
    case PgTypes::int2:
    case PgTypes::int4:
    case PgTypes::int8:
    case PgTypes::oid:
        return Reading::Integer;
    case PgTypes::boolean:
        return Reading::Boolean;
    case PgTypes::numeric:
        return wholeNumbersOnly(result, column) ? Reading::Integer : Reading::Float;
    case PgTypes::float4:
    case PgTypes::float8:
        return Reading::Float;
    case PgTypes::date:
    case PgTypes::timestamp:
    case PgTypes::timestamptz:
        return result.tableOf(column) != 0 ? Reading::DateTime : Reading::Text;
    default:
        return Reading::Text;
    }
}

TFieldType fieldTypeOf(Reading reading)
{
    switch (reading) {
    case Reading::Integer:
    case Reading::Boolean:
        return TFieldType::Integer;
    case Reading::Float:
        return TFieldType::Float;
    case Reading::DateTime:
        return TFieldType::DateTime;
    case Reading::Text:
        break;
    }
    return TFieldType::String;
}

[[noreturn]] void unreadable(std::string_view text, const QString &field)
{
    throw DbError(u"Cannot read '%1' of column %2"_s.arg(
                      QString::fromUtf8(text.data(), qsizetype(text.size())), field),
                  DbFailure::Statement);
}

} // namespace

std::unique_ptr<TDataSet> loadDataSet(const PgResult &result,
                                      const std::function<QString(int column)> &fieldName)
{
    auto dataSet = std::make_unique<TDataSet>();
    const int columns = result.columnCount();
    std::vector<Reading> readings;
    for (int c = 0; c < columns; ++c) {
        readings.push_back(readingOf(result, c));
        dataSet->addField(fieldName(c), fieldTypeOf(readings.back()));
    }
    std::vector<TextInterner> texts(result.columnCount());
    std::vector<DateReader> dates(result.columnCount());

    const int rows = result.rowCount();
    dataSet->reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const int record = dataSet->appendRecord();
        for (int c = 0; c < columns; ++c) {
            if (result.isNull(row, c))
                continue;
            const std::string_view text = result.value(row, c);
            switch (readings[size_t(c)]) {
            case Reading::Integer: {
                qint64 value = 0;
                if (std::from_chars(text.data(), text.data() + text.size(), value).ec
                    != std::errc())
                    unreadable(text, dataSet->fieldName(c));
                dataSet->setInteger(record, c, value);
                break;
            }
            case Reading::Boolean:
                dataSet->setInteger(record, c, text == "t" ? 1 : 0);
                break;
            case Reading::Float: {
                double value = 0.0;
                if (std::from_chars(text.data(), text.data() + text.size(), value).ec
                    != std::errc())
                    unreadable(text, dataSet->fieldName(c));
                dataSet->setFloat(record, c, value);
                break;
            }
            case Reading::DateTime: {
                const std::optional<double> value =
                    dates[size_t(c)].read(text.data(), qsizetype(text.size()));
                if (!value)
                    unreadable(text, dataSet->fieldName(c));
                dataSet->setDateTime(record, c, *value);
                break;
            }
            case Reading::Text: {
                const int first =
                    texts[size_t(c)].firstHolder(text.data(), qsizetype(text.size()), record);
                if (first == record)
                    dataSet->setString(record, c,
                                       QString::fromUtf8(text.data(), qsizetype(text.size())));
                else
                    dataSet->shareString(record, c, first);
                break;
            }
            }
        }
    }
    dataSet->finishLoading();
    return dataSet;
}
