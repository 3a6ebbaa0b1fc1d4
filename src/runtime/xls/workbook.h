#pragma once

#include "runtime/rtglobal.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QSharedData>
#include <QString>

#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>

// The in-memory form of an Excel 97-2003 workbook: sheets of cells with values,
// formulas and styles. The writer saves it as BIFF8, the reader fills it from a
// file; the spreadsheet book and the grid exports build on it.
namespace Rt::Xls {

// Rows and columns of one BIFF8 sheet, and the longest text a cell may hold.
inline constexpr int MaxRows = 65536;
inline constexpr int MaxColumns = 256;
inline constexpr int MaxTextLength = 32767;
inline constexpr int MaxSheets = 1024;
// The colours a workbook's palette can hold besides its fixed eight.
inline constexpr int MaxFillColours = 56;

// The error values of the format, by their codes in the file.
enum class ErrorCode : quint8 {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A,
};
RT_EXPORT QString errorText(ErrorCode code);

// text cut to the longest a cell holds, never between the two halves of a
// character outside the Basic Multilingual Plane.
RT_EXPORT QString truncatedText(const QString &text);

// A constant or the result of a formula. The number and the text share their
// room: a sheet holds a million of these.
class RT_EXPORT Value
{
public:
    enum class Kind : quint8 { Empty, Number, Text, Boolean, Error };

    Value() noexcept
        : m_num(0)
    {}
    Value(const Value &other);
    Value(Value &&other) noexcept;
    Value &operator=(const Value &other);
    Value &operator=(Value &&other) noexcept;
    ~Value();

    static Value number(double v);
    static Value text(const QString &t);
    static Value boolean(bool b);
    static Value error(ErrorCode code);

    bool isEmpty() const { return kind == Kind::Empty; }
    // The number; 0 or 1 for a Boolean; the code of an error; 0 for a text.
    double num() const { return kind == Kind::Text ? 0 : m_num; }
    // The text; empty for anything else.
    const QString &str() const;
    ErrorCode errorCode() const { return ErrorCode(quint8(num())); }
    bool operator==(const Value &other) const;

    Kind kind = Kind::Empty;

private:
    void release() noexcept;

    union
    {
        double m_num;
        QString m_str;
    };
};

enum class HorizontalAlignment : quint8 { General, Left, Centre, Right };

// How a cell looks: font weight, wrapping, indentation, alignment, the number
// format ("" is General) and the background. Dates are numbers shown through a
// date format.
struct RT_EXPORT CellStyle
{
    bool bold = false;
    bool wrap = false;
    quint8 indent = 0; // levels of about three characters each, 0-15
    HorizontalAlignment alignment = HorizontalAlignment::General;
    QString numberFormat;
    // A solid background as 0xAARRGGBB with alpha 0xFF, as QColor::rgb() gives
    // it; NoFill for none. A workbook holds at most MaxFillColours of them.
    quint32 fill = NoFill;

    static constexpr quint32 NoFill = 0;

    bool operator==(const CellStyle &other) const = default;
};
RT_EXPORT size_t qHash(const CellStyle &style, size_t seed = 0);

// The styles of a workbook, each stored once. Style 0 is the default style, used
// by every cell that has none of its own; changing it changes all of them.
class RT_EXPORT StyleTable
{
public:
    StyleTable();

    int count() const { return int(m_styles.size()); }
    const CellStyle &at(int index) const { return m_styles.at(index); }
    // The index of style, added when new.
    int add(const CellStyle &style);
    void setDefaultStyle(const CellStyle &style);

private:
    QList<CellStyle> m_styles;
    QHash<CellStyle, int> m_lookup;
};

class Formula;
// Formulas are shared by the cells that hold the same one, and cost a pointer.
using FormulaRef = QExplicitlySharedDataPointer<const Formula>;

// One cell of a sheet. A formula cell keeps its formula and its last result.
struct RT_EXPORT Cell
{
    quint16 column = 0;
    quint16 style = 0;
    Value value;
    FormulaRef formula;
};

// The cells of one row, sorted by column.
using CellRow = std::pmr::vector<Cell>;

// One sheet: rows of cells, each row sorted by column, and the column widths.
// Cells live in large blocks of the sheet's own, freed with the sheet: a sheet of
// a million cells is then a few dozen allocations, backed by huge pages where
// the system offers them, instead of a page fault every few cells.
class RT_EXPORT Sheet
{
public:
    explicit Sheet(const QString &name = {});
    ~Sheet();
    Sheet(const Sheet &) = delete;
    Sheet &operator=(const Sheet &) = delete;

    QString name() const { return m_name; }

    // The cell at (row, column), or none.
    const Cell *cell(int row, int column) const;
    Cell *cell(int row, int column)
    {
        return const_cast<Cell *>(std::as_const(*this).cell(row, column));
    }
    // The cell at (row, column), made empty when there is none. Raises
    // Rt::Exception outside the sheet's 65,536 rows and 256 columns.
    Cell &cellAt(int row, int column);
    void removeCell(int row, int column);

    // One past the last row and column that hold a cell.
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    // The cells of one row, sorted by column. Changing them keeps their columns.
    const CellRow &row(int row) const;
    CellRow &row(int row) { return m_rows.at(size_t(row)); }

    // Column width in characters of the default font's digit width; 0 when the
    // column keeps the sheet's default.
    double columnWidth(int column) const { return m_widths.value(column); }
    void setColumnWidth(int column, double characters);
    const QHash<int, double> &columnWidths() const { return m_widths; }

    void reserveRows(int rows);

private:
    QString m_name;
    // Declared before the rows, so that the rows, and the texts and formulas of
    // their cells, go first.
    std::unique_ptr<std::pmr::memory_resource> m_memory;
    // Rows past rowCount() are empty; they keep their room for cells, which the
    // monotonic memory could not take back, for when cells come again.
    std::vector<CellRow> m_rows;
    // A bit per row that holds cells, and the cells in each column: the last row
    // and column are found again at once when cells go.
    std::vector<quint64> m_filledRows;
    std::vector<int> m_cellsInColumn;
    QHash<int, double> m_widths;
    int m_rowCount = 0;
    int m_columnCount = 0;
};

// A workbook: its sheets in tab order and the styles their cells use.
class RT_EXPORT Workbook
{
public:
    Workbook();
    Workbook(Workbook &&) noexcept;
    Workbook &operator=(Workbook &&) noexcept;
    ~Workbook();

    int sheetCount() const { return int(m_sheets.size()); }
    Sheet &sheet(int index) { return *m_sheets.at(size_t(index)); }
    const Sheet &sheet(int index) const { return *m_sheets.at(size_t(index)); }
    // Index of the sheet of that name, regardless of case; -1 when none.
    int sheetIndex(const QString &name) const;
    // Appends a sheet; raises Rt::Exception when the name is not a valid, unused
    // sheet name.
    Sheet &addSheet(const QString &name);
    void removeSheet(int index);
    // A name for a new sheet: "Sheet" and the first free number.
    QString freeSheetName(const QString &stem) const;

    StyleTable &styles() { return m_styles; }
    const StyleTable &styles() const { return m_styles; }

    int activeSheet() const { return m_active; }
    void setActiveSheet(int index) { m_active = index; }

private:
    std::vector<std::unique_ptr<Sheet>> m_sheets;
    StyleTable m_styles;
    int m_active = 0;
};

// Raises Rt::Exception with a reason when name cannot name a sheet: 1-31
// characters, none of : \ / ? * [ ].
RT_EXPORT void checkSheetName(const QString &name);

} // namespace Rt::Xls

Q_DECLARE_METATYPE(Rt::Xls::Value)
