#include "SqliteDataSetLoader.h"

#include "ColumnCaches.h"
#include "SqliteStatement.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"

#include <QByteArray>
#include <optional>
#include <sqlite3.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A value as SQLite hands it out; text points into the statement's row or into a
// buffered copy.
struct Cell
{
    int type = SQLITE_NULL;
    qint64 integer = 0;
    double real = 0.0;
    const char *text = nullptr;
    int length = 0;

    static Cell read(sqlite3_stmt *statement, int column)
    {
        Cell cell;
        cell.type = sqlite3_column_type(statement, column);
        switch (cell.type) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_column_int64(statement, column);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_column_double(statement, column);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB:
            cell.type = SQLITE_TEXT;
            cell.text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
            cell.length = sqlite3_column_bytes(statement, column);
            break;
        }
        return cell;
    }
};

// A row kept while the type of an expression column is still unknown.
struct BufferedRow
{
    std::vector<Cell> cells;
    std::vector<QByteArray> texts; // owns what the cells' text points to
};

std::optional<TFieldType> typeOfDeclaration(const char *declared)
{
    if (!declared)
        return std::nullopt;
    QByteArray type = QByteArray(declared).trimmed().toUpper();
    if (const qsizetype paren = type.indexOf('('); paren >= 0)
        type = type.left(paren).trimmed();
    if (type == "INTEGER" || type == "INT" || type == "BIGINT" || type == "SMALLINT"
        || type == "NUMBER")
        return TFieldType::Integer;
    if (type == "REAL" || type == "FLOAT" || type == "DOUBLE")
        return TFieldType::Float;
    if (type == "DATE" || type == "DATETIME" || type == "TIMESTAMP")
        return TFieldType::DateTime;
    return TFieldType::String;
}

TFieldType typeOfStorage(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER:
        return TFieldType::Integer;
    case SQLITE_FLOAT:
        return TFieldType::Float;
    default:
        return TFieldType::String;
    }
}

class Loader
{
public:
    Loader(SqliteStatement &query, int expectedRows)
        : m_query(query)
        , m_expectedRows(qMax(expectedRows, minimumCapacity))
        , m_statement(query.handle())
        , m_dataSet(std::make_unique<TDataSet>())
    {
        const int count = query.columnCount();
        m_columns.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            Column &column = m_columns[size_t(i)];
            column.type = typeOfDeclaration(sqlite3_column_decltype(m_statement, i));
            column.holdsText =
                column.type == TFieldType::String || column.type == TFieldType::DateTime;
        }
    }

    std::unique_ptr<TDataSet> run()
    {
        // Rows wait in a buffer only until every expression column has shown a
        // value; a data set takes its fields before its first record.
        std::vector<BufferedRow> buffered;
        while (m_query.step()) {
            if (m_fieldsAdded) {
                storeRow();
                continue;
            }
            buffered.push_back(bufferRow());
            if (allTyped())
                flush(buffered);
        }
        flush(buffered);
        m_dataSet->finishLoading();
        return std::move(m_dataSet);
    }

private:
    struct Column
    {
        std::optional<TFieldType> type;
        // A table's column of texts or dates: its value is read as text straight
        // away, NULL being no text, which spares a call a value on a large list.
        bool holdsText = false;
        TextInterner texts;
        DateReader dates;
    };

    bool allTyped() const
    {
        for (const Column &column : m_columns) {
            if (!column.type)
                return false;
        }
        return true;
    }

    BufferedRow bufferRow()
    {
        BufferedRow row;
        row.cells.reserve(m_columns.size());
        row.texts.reserve(m_columns.size());
        for (size_t i = 0; i < m_columns.size(); ++i) {
            Cell cell = Cell::read(m_statement, int(i));
            if (cell.type == SQLITE_TEXT) {
                row.texts.emplace_back(cell.text, cell.length);
                cell.text = row.texts.back().constData();
            }
            if (!m_columns[i].type && cell.type != SQLITE_NULL)
                m_columns[i].type = typeOfStorage(cell.type);
            row.cells.push_back(cell);
        }
        return row;
    }

    void flush(std::vector<BufferedRow> &buffered)
    {
        if (!m_fieldsAdded) {
            for (size_t i = 0; i < m_columns.size(); ++i) {
                m_dataSet->addField(m_query.columnName(int(i)),
                                    m_columns[i].type.value_or(TFieldType::String));
            }
            // Columns grow by doubling, moving every value each time: room for
            // the rows expected spares that.
            m_dataSet->reserve(m_expectedRows);
            m_fieldsAdded = true;
        }
        for (const BufferedRow &row : buffered) {
            const int record = m_dataSet->appendRecord();
            for (size_t i = 0; i < row.cells.size(); ++i)
                store(record, int(i), row.cells[i]);
        }
        buffered.clear();
    }

    void storeRow()
    {
        const int record = m_dataSet->appendRecord();
        for (size_t i = 0; i < m_columns.size(); ++i) {
            const int field = int(i);
            if (!m_columns[i].holdsText) {
                store(record, field, Cell::read(m_statement, field));
                continue;
            }
            Cell cell;
            cell.text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, field));
            if (!cell.text)
                continue;
            cell.length = sqlite3_column_bytes(m_statement, field);
            storeText(record, field, cell);
        }
    }

    // A new record's fields are null already, so NULL needs no store.
    void store(int record, int field, const Cell &cell)
    {
        switch (cell.type) {
        case SQLITE_INTEGER:
            m_dataSet->setInteger(record, field, cell.integer);
            return;
        case SQLITE_FLOAT:
            m_dataSet->setFloat(record, field, cell.real);
            return;
        case SQLITE_TEXT:
            storeText(record, field, cell);
            return;
        }
    }

    void storeText(int record, int field, const Cell &cell)
    {
        Column &column = m_columns[size_t(field)];
        if (column.type == TFieldType::DateTime) {
            if (const std::optional<double> value = column.dates.read(cell.text, cell.length)) {
                m_dataSet->setDateTime(record, field, *value);
                return;
            }
        }
        if (m_dataSet->fieldType(field) != TFieldType::String) {
            m_dataSet->setString(record, field, QString::fromUtf8(cell.text, cell.length));
            return;
        }
        const int first = column.texts.firstHolder(cell.text, cell.length, record);
        if (first == record)
            m_dataSet->setString(record, field, QString::fromUtf8(cell.text, cell.length));
        else
            m_dataSet->shareString(record, field, first);
    }

    static constexpr int minimumCapacity = 256;

    SqliteStatement &m_query;
    const int m_expectedRows;
    sqlite3_stmt *m_statement;
    std::unique_ptr<TDataSet> m_dataSet;
    std::vector<Column> m_columns;
    bool m_fieldsAdded = false;
};

} // namespace

std::unique_ptr<TDataSet> loadDataSet(SqliteStatement &query, int expectedRows)
{
    return Loader(query, expectedRows).run();
}
