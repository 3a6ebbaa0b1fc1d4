#include "textcolumn.h"

#include "exceptions.h"

using namespace Qt::StringLiterals;

namespace Rt {

void TextColumn::set(size_t cell, QStringView text)
{
    if (cell > 0 && !isNull(cell - 1) && view(cell - 1) == text) {
        m_cells[cell] = m_cells[cell - 1];
        return;
    }
    // Offsets are 32 bits: 4 G characters (8 GB) a column is more than a
    // result set of this system ever holds.
    if (m_chars.size() + size_t(text.size()) >= nullLength)
        throw Rt::Exception(u"查询结果太大，一列的文字超过了 40 亿个字符。"_s);
    const auto offset = std::uint32_t(m_chars.size());
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + text.size());
    m_cells[cell] = Cell{offset, std::uint32_t(text.size())};
}

void TextColumn::shrinkToFit()
{
    m_chars.shrink_to_fit();
    m_cells.shrink_to_fit();
}

QStringView TextColumn::view(size_t cell) const
{
    const Cell c = m_cells[cell];
    if (c.length == nullLength || c.length == 0)
        return {};
    return QStringView(m_chars.data() + c.offset, qsizetype(c.length));
}

QString TextColumn::text(size_t cell) const
{
    if (isNull(cell))
        return QString();
    const QStringView characters = view(cell);
    // An empty text is not null: "" and null read differently.
    return characters.isEmpty() ? QString(u""_s) : characters.toString();
}

} // namespace Rt
