#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace Rt {

// The texts of one data-set column, packed: the characters of every cell in one
// buffer and 8 bytes a cell to find them, where a QString a cell costs 24 bytes
// and an allocation of its own. A cell equal to the one before it shares its
// characters, since columns of names, codes and departments often repeat.
//
// A cell written again gets new characters at the end; the old ones stay unused,
// or in use by the cells that share them.
// Results are filled once and rarely written again, so that costs little.
class TextColumn
{
public:
    // Cells added are null.
    void resize(size_t cells) { m_cells.resize(cells, Cell{0, nullLength}); }
    void setNull(size_t cell) { m_cells[cell] = Cell{0, nullLength}; }
    // Stores the text; a null QString is stored as an empty text, not as null.
    void set(size_t cell, QStringView text);
    // Gives cell the text of an earlier one, sharing its characters.
    void share(size_t cell, size_t earlier) { m_cells[cell] = m_cells[earlier]; }
    void shrinkToFit();

    bool isNull(size_t cell) const { return m_cells[cell].length == nullLength; }
    // The characters of a cell, valid until the column is written again.
    QStringView view(size_t cell) const;
    QString text(size_t cell) const;

private:
    struct Cell
    {
        std::uint32_t offset;
        std::uint32_t length;
    };
    static constexpr std::uint32_t nullLength = 0xffffffffu;

    std::vector<char16_t> m_chars;
    std::vector<Cell> m_cells;
};

} // namespace Rt
