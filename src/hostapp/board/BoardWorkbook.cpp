#include "BoardWorkbook.h"

#include "BoardModel.h"
#include "BoardPalette.h"

#include "runtime/xls/formula.h"
#include "runtime/xls/writer.h"

#include <QHash>

using namespace Qt::StringLiterals;
using Rt::Xls::CellStyle;
using Rt::Xls::HorizontalAlignment;
using Rt::Xls::Value;

namespace {

constexpr int TitleRow = 0;
constexpr int CaptionRow = 1;
constexpr int FirstEmployeeRow = 2;

// The legend's entries a workbook can show: its cells have backgrounds, not
// text colours.
QList<BoardPalette::LegendEntry> workbookLegend()
{
    QList<BoardPalette::LegendEntry> entries;
    for (const BoardPalette::LegendEntry &entry : BoardPalette::legend()) {
        if (entry.background.isValid() || !entry.foreground.isValid())
            entries << entry;
    }
    return entries;
}

// The rows after the last employee: totals, a blank row, the legend.
int tailRows()
{
    return 2 + int(workbookLegend().size());
}

quint32 fillOf(const QColor &colour)
{
    return colour.isValid() ? colour.rgb() : CellStyle::NoFill;
}

class BoardRows : public Rt::Xls::RowSource
{
public:
    BoardRows(const BoardModel &model, const QString &title, int employeesPerSheet)
        : m_model(model)
        , m_board(model.board())
        , m_title(title)
        , m_perSheet(employeesPerSheet)
        , m_sheets(qMax(1, (m_board.employeeCount() + employeesPerSheet - 1) / employeesPerSheet))
        , m_legend(workbookLegend())
    {}

    const Rt::Xls::StyleTable &styles() const override { return m_styles; }
    int sheetCount() const override { return m_sheets; }
    QString sheetName(int sheet) const override
    {
        return m_sheets == 1 ? u"排班总览"_s : u"排班总览%1"_s.arg(sheet + 1);
    }

    QHash<int, double> columnWidths(int) const override
    {
        // Day columns as wide as the longest text of the board.
        qsizetype longest = 5;
        for (int t = 0; t < m_board.texts.size(); ++t)
            longest = qMax(longest, m_board.texts.text(t).size() + 1);
        QHash<int, double> widths{
            {BoardModel::JobNumber, 10}, {BoardModel::Name, 10}, {BoardModel::Department, 16}};
        for (int d = 0; d < m_board.dayCount(); ++d)
            widths.insert(BoardModel::FirstDay + d, double(longest) + 1);
        return widths;
    }

    void forEachRow(int sheet,
                    const std::function<void(int, std::span<const Rt::Xls::Cell>)> &visit) override
    {
        const QString title =
            m_sheets == 1 ? m_title
                          : u"%1（第 %2 页，共 %3 页）"_s.arg(m_title).arg(sheet + 1).arg(m_sheets);
        m_row.clear();
        put(0, Value::text(title), style(true, HorizontalAlignment::General));
        visit(TitleRow, m_row);

        m_row.clear();
        for (int c = 0; c < BoardModel::FirstDay; ++c) {
            put(c, Value::text(m_model.headerData(c, Qt::Horizontal).toString()),
                style(true, HorizontalAlignment::Centre));
        }
        for (int d = 0; d < m_board.dayCount(); ++d) {
            const QDate day = m_board.day(d);
            put(BoardModel::FirstDay + d, Value::text(m_model.dayCaption(d).replace(u'\n', u' ')),
                style(true, HorizontalAlignment::Centre,
                      BoardPalette::background(0, day, m_model.today())));
        }
        visit(CaptionRow, m_row);

        const int first = sheet * m_perSheet;
        const int last = qMin(m_board.employeeCount(), first + m_perSheet);
        for (int e = first; e < last; ++e) {
            m_row.clear();
            for (int c = 0; c < BoardModel::FirstDay; ++c)
                put(c, Value::text(m_model.index(e, c).data().toString()), style(false));
            for (int d = 0; d < m_board.dayCount(); ++d) {
                const QString text = m_model.dayText(e, d);
                const QColor fill = BoardPalette::background(m_board.cell(e, d).flags,
                                                             m_board.day(d), m_model.today());
                if (!text.isEmpty() || fill.isValid()) {
                    put(BoardModel::FirstDay + d, Value::text(text),
                        style(false, HorizontalAlignment::Centre, fill));
                }
            }
            visit(FirstEmployeeRow + e - first, m_row);
        }
        if (sheet == m_sheets - 1)
            writeTail(FirstEmployeeRow + last - first, visit);
    }

private:
    void writeTail(int row, const std::function<void(int, std::span<const Rt::Xls::Cell>)> &visit)
    {
        m_row.clear();
        put(0, Value::text(u"在岗人数"_s), style(true));
        for (int d = 0; d < m_board.dayCount(); ++d) {
            const bool isShort = m_board.coverageBreaches.contains(d);
            put(BoardModel::FirstDay + d, Value::number(m_board.workingCounts.at(size_t(d))),
                style(true, HorizontalAlignment::Centre,
                      isShort ? BoardPalette::shortDay : QColor()));
        }
        visit(row, m_row);
        row += 2;
        for (qsizetype i = 0; i < m_legend.size(); ++i, ++row) {
            const BoardPalette::LegendEntry &entry = m_legend.at(i);
            m_row.clear();
            if (i == 0)
                put(0, Value::text(u"图例"_s), style(true));
            put(BoardModel::Department, Value::text(entry.sample),
                style(false, HorizontalAlignment::Centre, entry.background));
            put(BoardModel::FirstDay, Value::text(entry.meaning), style(false));
            visit(row, m_row);
        }
    }

    void put(int column, Value value, int styleIndex)
    {
        Rt::Xls::Cell cell;
        cell.column = quint16(column);
        cell.style = quint16(styleIndex);
        cell.value = std::move(value);
        m_row.push_back(std::move(cell));
    }

    // Every style the board uses is added before the writer reads the table.
    int style(bool bold, HorizontalAlignment alignment = HorizontalAlignment::General,
              const QColor &fill = {})
    {
        CellStyle s;
        s.bold = bold;
        s.alignment = alignment;
        s.fill = fillOf(fill);
        return m_styles.add(s);
    }

    const BoardModel &m_model;
    const BoardData &m_board;
    const QString m_title;
    const int m_perSheet;
    const int m_sheets;
    const QList<BoardPalette::LegendEntry> m_legend;
    Rt::Xls::StyleTable m_styles;
    std::vector<Rt::Xls::Cell> m_row;
};

// The writer reads the style table before the rows: a first pass over the rows
// adds every style they use.
void collectStyles(BoardRows &rows)
{
    for (int s = 0; s < rows.sheetCount(); ++s)
        rows.forEachRow(s, [](int, std::span<const Rt::Xls::Cell>) {});
}

} // namespace

namespace BoardWorkbook {

int defaultEmployeesPerSheet()
{
    return Rt::Xls::MaxRows - FirstEmployeeRow - tailRows();
}

void write(const BoardModel &model, const QString &title, const QString &fileName,
           int employeesPerSheet)
{
    BoardRows rows(model, title, qMax(1, employeesPerSheet));
    collectStyles(rows);
    Rt::Xls::writeWorkbook(rows, fileName);
}

} // namespace BoardWorkbook
