#include "workbook.h"

#include "formula.h"
#include "runtime/exceptions.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include <sys/mman.h>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

QString errorText(ErrorCode code)
{
    switch (code) {
    case ErrorCode::Null:
        return u"#NULL!"_s;
    case ErrorCode::Div0:
        return u"#DIV/0!"_s;
    case ErrorCode::Value:
        return u"#VALUE!"_s;
    case ErrorCode::Ref:
        return u"#REF!"_s;
    case ErrorCode::Name:
        return u"#NAME?"_s;
    case ErrorCode::Num:
        return u"#NUM!"_s;
    case ErrorCode::NA:
        return u"#N/A"_s;
    }
    return u"#VALUE!"_s;
}

QString truncatedText(const QString &text)
{
    if (text.size() <= MaxTextLength)
        return text;
    const bool splitsPair = text.at(MaxTextLength - 1).isHighSurrogate();
    return text.left(splitsPair ? MaxTextLength - 1 : MaxTextLength);
}

Value::Value(const Value &other)
    : kind(other.kind)
{
    if (kind == Kind::Text)
        new (&m_str) QString(other.m_str);
    else
        m_num = other.m_num;
}

Value::Value(Value &&other) noexcept
    : kind(other.kind)
{
    if (kind == Kind::Text)
        new (&m_str) QString(std::move(other.m_str));
    else
        m_num = other.m_num;
}

Value &Value::operator=(const Value &other)
{
    if (this != &other) {
        Value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Value &Value::operator=(Value &&other) noexcept
{
    if (this == &other)
        return *this;
    if (kind == Kind::Text && other.kind == Kind::Text) {
        m_str = std::move(other.m_str);
        return *this;
    }
    release();
    kind = other.kind;
    if (kind == Kind::Text)
        new (&m_str) QString(std::move(other.m_str));
    else
        m_num = other.m_num;
    return *this;
}

Value::~Value()
{
    release();
}

void Value::release() noexcept
{
    if (kind == Kind::Text) {
        m_str.~QString();
        kind = Kind::Empty;
        m_num = 0;
    }
}

Value Value::number(double v)
{
    Value value;
    value.kind = Kind::Number;
    value.m_num = v;
    return value;
}

Value Value::text(const QString &t)
{
    Value value;
    value.kind = Kind::Text;
    new (&value.m_str) QString(t);
    return value;
}

Value Value::boolean(bool b)
{
    Value value;
    value.kind = Kind::Boolean;
    value.m_num = b ? 1 : 0;
    return value;
}

Value Value::error(ErrorCode code)
{
    Value value;
    value.kind = Kind::Error;
    value.m_num = double(code);
    return value;
}

const QString &Value::str() const
{
    static const QString none;
    return kind == Kind::Text ? m_str : none;
}

bool Value::operator==(const Value &other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case Kind::Empty:
        return true;
    case Kind::Text:
        return m_str == other.m_str;
    default:
        return m_num == other.m_num;
    }
}

size_t qHash(const CellStyle &style, size_t seed)
{
    return qHashMulti(seed, style.bold, style.wrap, style.indent, quint8(style.alignment),
                      style.numberFormat, style.fill);
}

StyleTable::StyleTable()
{
    add(CellStyle());
}

int StyleTable::add(const CellStyle &style)
{
    if (const auto it = m_lookup.constFind(style); it != m_lookup.cend())
        return *it;
    // Cells keep their style's index in 16 bits.
    if (m_styles.size() >= 0xFFFF)
        throw Exception(u"工作簿中的单元格格式太多。"_s);
    const int index = int(m_styles.size());
    m_styles.append(style);
    m_lookup.insert(style, index);
    return index;
}

void StyleTable::setDefaultStyle(const CellStyle &style)
{
    // Another style equal to the new default stays where it is: cells keep their
    // indexes, and lookups find the default first.
    m_styles[0] = style;
    m_lookup.clear();
    for (int i = int(m_styles.size()) - 1; i >= 0; --i)
        m_lookup.insert(m_styles.at(i), i);
}

void checkSheetName(const QString &name)
{
    if (name.isEmpty() || name.size() > 31)
        throw Exception(u"工作表名称“%1”无效：名称须有 1 到 31 个字符。"_s.arg(name));
    static const QString forbidden = u":\\/?*[]"_s;
    for (QChar c : name) {
        if (forbidden.contains(c))
            throw Exception(u"工作表名称“%1”无效：名称中不能有 %2。"_s.arg(name, c));
    }
}

namespace {

// Hands out blocks for the sheets' cells; blocks of 2 MB and more are aligned to
// huge pages and marked for them.
class CellBlocks : public std::pmr::memory_resource
{
    static constexpr size_t HugePage = 2 * 1024 * 1024;

    void *do_allocate(size_t bytes, size_t alignment) override
    {
        if (bytes < HugePage)
            return std::pmr::new_delete_resource()->allocate(bytes, alignment);
        const size_t size = (bytes + HugePage - 1) / HugePage * HugePage;
        void *block = std::aligned_alloc(HugePage, size);
        if (!block)
            throw std::bad_alloc();
        madvise(block, size, MADV_HUGEPAGE);
        return block;
    }
    void do_deallocate(void *block, size_t bytes, size_t alignment) override
    {
        if (bytes < HugePage)
            std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
        else
            std::free(block);
    }
    bool do_is_equal(const memory_resource &other) const noexcept override
    {
        return this == &other;
    }
};

CellBlocks cellBlocks;

} // namespace

// Rows only grow, and a sheet's cells go when the sheet goes: a monotonic
// resource serves them from growing blocks without bookkeeping per cell.
Sheet::Sheet(const QString &name)
    : m_name(name)
    , m_memory(std::make_unique<std::pmr::monotonic_buffer_resource>(64 * 1024, &cellBlocks))
{}

Sheet::~Sheet() = default;

namespace {

template <typename Cells> auto findColumn(Cells &cells, int column)
{
    return std::lower_bound(cells.begin(), cells.end(), column,
                            [](const Cell &cell, int c) { return cell.column < c; });
}

const CellRow noCells;

} // namespace

const Cell *Sheet::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const CellRow &cells = m_rows[size_t(row)];
    const auto it = findColumn(cells, column);
    return it != cells.end() && it->column == column ? &*it : nullptr;
}

Cell &Sheet::cellAt(int row, int column)
{
    if (row < 0 || row >= MaxRows || column < 0 || column >= MaxColumns) {
        throw Exception(
            u"单元格 (%1, %2) 超出了工作表的范围（最多 65536 行、256 列）。"_s.arg(row + 1).arg(
                column + 1));
    }
    while (row >= int(m_rows.size()))
        m_rows.emplace_back(m_memory.get());
    CellRow &cells = m_rows[size_t(row)];
    // A new row is likely as wide as the sheet so far: room for that at once
    // spares the growing steps.
    if (cells.capacity() == 0)
        cells.reserve(size_t(std::max(m_columnCount, column + 1)));
    // Cells mostly arrive in order: appending needs no search.
    auto it = cells.end();
    if (!cells.empty() && cells.back().column >= column) {
        it = findColumn(cells, column);
        if (it != cells.end() && it->column == column)
            return *it;
    }
    it = cells.insert(it, Cell{quint16(column), 0, {}, {}});
    if (m_cellsInColumn.empty())
        m_cellsInColumn.resize(MaxColumns);
    ++m_cellsInColumn[size_t(column)];
    m_columnCount = std::max(m_columnCount, column + 1);
    const size_t word = size_t(row) / 64;
    if (word >= m_filledRows.size())
        m_filledRows.resize(word + 1);
    m_filledRows[word] |= quint64(1) << (row % 64);
    m_rowCount = std::max(m_rowCount, row + 1);
    return *it;
}

void Sheet::removeCell(int row, int column)
{
    if (row < 0 || row >= rowCount())
        return;
    CellRow &cells = m_rows[size_t(row)];
    const auto it = findColumn(cells, column);
    if (it == cells.end() || it->column != column)
        return;
    cells.erase(it);
    --m_cellsInColumn[size_t(column)];
    while (m_columnCount > 0 && m_cellsInColumn[size_t(m_columnCount - 1)] == 0)
        --m_columnCount;
    if (!cells.empty())
        return;
    const size_t word = size_t(row) / 64;
    m_filledRows[word] &= ~(quint64(1) << (row % 64));
    if (row + 1 < m_rowCount)
        return;
    // The last row went: the new last is the highest bit still set.
    m_rowCount = 0;
    for (size_t w = word + 1; w-- > 0;) {
        if (m_filledRows[w]) {
            m_rowCount = int(w * 64) + std::bit_width(m_filledRows[w]);
            break;
        }
    }
}

const CellRow &Sheet::row(int row) const
{
    return row >= 0 && row < rowCount() ? m_rows[size_t(row)] : noCells;
}

void Sheet::setColumnWidth(int column, double characters)
{
    if (column < 0 || column >= MaxColumns)
        return;
    if (characters <= 0)
        m_widths.remove(column);
    else
        m_widths.insert(column, std::min(characters, 255.0));
}

void Sheet::reserveRows(int rows)
{
    m_rows.reserve(size_t(std::clamp(rows, 0, MaxRows)));
}

Workbook::Workbook() = default;
Workbook::Workbook(Workbook &&) noexcept = default;
Workbook &Workbook::operator=(Workbook &&) noexcept = default;
Workbook::~Workbook() = default;

int Workbook::sheetIndex(const QString &name) const
{
    for (size_t i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets[i]->name().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Sheet &Workbook::addSheet(const QString &name)
{
    checkSheetName(name);
    if (sheetIndex(name) >= 0)
        throw Exception(u"工作表名称“%1”已被使用。"_s.arg(name));
    // Sheets are listed in records of at most 8,224 bytes.
    if (m_sheets.size() >= MaxSheets)
        throw Exception(u"工作簿中的工作表太多。"_s);
    m_sheets.push_back(std::make_unique<Sheet>(name));
    return *m_sheets.back();
}

void Workbook::removeSheet(int index)
{
    if (index >= 0 && index < sheetCount())
        m_sheets.erase(m_sheets.begin() + index);
}

QString Workbook::freeSheetName(const QString &stem) const
{
    for (int n = sheetCount() + 1;; ++n) {
        const QString name = stem + QString::number(n);
        if (sheetIndex(name) < 0)
            return name;
    }
}

} // namespace Rt::Xls
