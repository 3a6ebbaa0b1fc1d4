#include "excelexport.h"

#include "boundcells_p.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/progress.h"
#include "runtime/treelist/cxtreelist.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/writer.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QRegularExpression>

#include <array>
#include <cmath>

using namespace Rt::Xls;
using Rt::Internal::BoundCells;
using Rt::Internal::ColumnStyles;
using namespace Qt::StringLiterals;

// The switches and the unit code of both routines are accepted and have no
// effect: every export writes all records of the view, expanded or not, as a
// native .xls file, and the file name alone says where it goes.

namespace {

const QString DateFormat = u"yyyy-mm-dd"_s;
const QString DateTimeFormat = u"yyyy-mm-dd hh:mm:ss"_s;
// A sheet holds a header row and this many records.
constexpr int RecordsPerSheet = MaxRows - 1;

struct ExportColumn
{
    QString caption;
    int widthPixels;
    Qt::Alignment alignment;
};

HorizontalAlignment horizontalOf(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return HorizontalAlignment::Centre;
    if (alignment & Qt::AlignRight)
        return HorizontalAlignment::Right;
    return HorizontalAlignment::General;
}

// A column's width in characters of the digit width, as the file counts them; a
// cell's padding is about five pixels.
double widthInCharacters(int pixels, const QFont &font)
{
    const int digit = std::max(1, QFontMetrics(font).horizontalAdvance(u'0'));
    return std::min(std::max(1.0, (pixels - 5) / double(digit)), 255.0);
}

// Records laid out over as many sheets as they need, each sheet starting with the
// columns' captions in bold.
class SheetSeries
{
public:
    SheetSeries(Workbook &book, const QList<ExportColumn> &columns, const QFont &font)
        : m_book(book)
        , m_columns(columns)
    {
        CellStyle header;
        header.bold = true;
        m_headerStyle = quint16(book.styles().add(header));
        for (const ExportColumn &column : columns)
            m_widths << widthInCharacters(column.widthPixels, font);
    }

    // The sheet and row of record n, the sheet made when first reached.
    std::pair<Sheet *, int> rowOf(qint64 record)
    {
        const int sheetIndex = int(record / RecordsPerSheet);
        while (m_book.sheetCount() <= sheetIndex)
            addSheet();
        return {&m_book.sheet(sheetIndex), int(record % RecordsPerSheet) + 1};
    }

private:
    void addSheet()
    {
        Sheet &sheet = m_book.addSheet(u"Sheet%1"_s.arg(m_book.sheetCount() + 1));
        for (int c = 0; c < m_columns.size(); ++c) {
            Cell &cell = sheet.cellAt(0, c);
            cell.value = Value::text(m_columns.at(c).caption);
            cell.style = m_headerStyle;
            sheet.setColumnWidth(c, m_widths.at(c));
        }
    }

    Workbook &m_book;
    QList<ExportColumn> m_columns;
    QList<double> m_widths;
    quint16 m_headerStyle;
};

// How a column's values go into cells.
using Rt::ValueKind;

ValueKind kindOfField(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer:
    case TFieldType::Float:
        return ValueKind::Number;
    case TFieldType::DateTime:
        return ValueKind::DateTime;
    case TFieldType::String:
        break;
    }
    return ValueKind::Text;
}

// The kind of a bound column follows its field; an unbound one's follows each
// value. A column that shows descriptions from a value list is text.
std::optional<ValueKind> columnKind(const TcxGridTableView *view, const TcxGridColumn *column)
{
    if (column->valueList().count() > 0)
        return ValueKind::Text;
    const auto *bound = qobject_cast<const TcxGridDBDataController *>(view->dataController());
    if (!bound)
        return std::nullopt;
    const TDataSet *dataSet = bound->dataSet();
    const int field = dataSet ? dataSet->findField(column->fieldName()) : -1;
    return field < 0 ? ValueKind::Text : kindOfField(dataSet->fieldType(field));
}

ColumnStyles stylesFor(StyleTable &table, Qt::Alignment alignment)
{
    CellStyle style;
    style.alignment = horizontalOf(alignment);
    ColumnStyles styles;
    styles.plain = quint16(table.add(style));
    style.numberFormat = DateFormat;
    styles.date = quint16(table.add(style));
    style.numberFormat = DateTimeFormat;
    styles.dateTime = quint16(table.add(style));
    return styles;
}

void setDisplayed(Cell &cell, ValueKind kind, const QVariant &raw, const QString &shown,
                  const ColumnStyles &styles)
{
    cell.style = styles.plain;
    if (kind == ValueKind::Number && raw.isValid()) {
        bool ok = false;
        const double v = raw.toDouble(&ok);
        if (ok && std::isfinite(v)) {
            cell.value = Value::number(v);
            return;
        }
    }
    if (kind == ValueKind::DateTime) {
        double serial = 0;
        if (raw.typeId() == QMetaType::QDate)
            serial = Rt::DateTime::fromDate(raw.toDate());
        else if (raw.typeId() == QMetaType::QDateTime)
            serial = Rt::DateTime::fromDateTime(raw.toDateTime());
        else
            serial = Rt::DateTime::parse(shown).value_or(-1);
        if (serial > 0) {
            cell.value = Value::number(serial);
            cell.style = Rt::DateTime::isDateOnly(serial) ? styles.date : styles.dateTime;
            return;
        }
    }
    cell.value = Value::text(truncatedText(shown));
}

// The grid's summary format ("合计：0") as a number format: the text around the
// digit placeholders quoted, the placeholders kept.
QString numberFormatOf(const QString &summaryFormat)
{
    static const QRegularExpression placeholder(u"[0#](?:[0#,.]*[0#])?"_s);
    const QRegularExpressionMatch match = placeholder.match(summaryFormat);
    if (!match.hasMatch())
        return u"0"_s;
    auto quoted = [](QString text) {
        return text.isEmpty() ? text : u"\""_s + text.remove(u'"') + u"\""_s;
    };
    return quoted(summaryFormat.left(match.capturedStart())) + match.captured()
           + quoted(summaryFormat.mid(match.capturedEnd()));
}

QString sheetNameOf(int sheet)
{
    return u"Sheet%1"_s.arg(sheet + 1);
}

// A column's summary below the records: its formula over the records of every
// sheet, and the result it gives, added up as the rows go by.
struct FooterSummary
{
    int column;
    Rt::SummaryKind kind;
    quint16 style;
    FormulaRef formula; // none when there are no records
    // The sums of runs of MaxArguments sheets, each begun at 0 and added to in
    // row order, as SUM adds up its arguments; sumFormula() nests by those runs.
    std::vector<double> runSums;

    Value result(qint64 records) const
    {
        if (kind != Rt::SummaryKind::Sum)
            return Value::number(double(records));
        std::vector<double> level = runSums;
        while (level.size() > size_t(MaxArguments)) {
            std::vector<double> sums;
            for (size_t i = 0; i < level.size(); i += MaxArguments) {
                double sum = 0;
                for (size_t k = i; k < std::min(level.size(), i + MaxArguments); ++k)
                    sum += level[k];
                sums.push_back(sum);
            }
            level = std::move(sums);
        }
        double sum = 0;
        for (double run : level)
            sum += run;
        return std::isfinite(sum) ? Value::number(sum) : Value::error(ErrorCode::Num);
    }
};

// The grid's records as rows of cells for the writer, read from the view's model
// as the writer asks for them: over as many sheets as they need, each sheet
// starting with the columns' captions in bold, the footer below the last record.
class GridRows : public RowSource
{
public:
    GridRows(const TcxGridTableView *view, const QList<TcxGridColumn *> &columns, const QFont &font,
             Rt::ProgressScope &progress)
        : m_model(view->itemModel())
        , m_records(m_model->rowCount())
        , m_progress(progress)
    {
        // The styles in the order the file lists them: each column's, the header's,
        // the footer's.
        const auto *bound = qobject_cast<const TcxGridDBDataController *>(view->dataController());
        const TDataSet *dataSet = bound ? bound->dataSet() : nullptr;
        m_bound.reserve(size_t(columns.size()));
        for (const TcxGridColumn *column : columns) {
            m_kinds.push_back(columnKind(view, column));
            m_styles.push_back(stylesFor(m_book, column->alignment()));
            const int field = dataSet ? dataSet->findField(column->fieldName()) : -1;
            if (field >= 0)
                m_bound.emplace_back(std::in_place, *dataSet, field, column->valueList(),
                                     m_styles.back());
            else
                m_bound.emplace_back();
        }
        CellStyle header;
        header.bold = true;
        m_headerStyle = quint16(m_book.add(header));
        for (int c = 0; c < columns.size(); ++c) {
            const TcxGridColumn *column = columns.at(c);
            m_captions << column->caption();
            m_widths.insert(c,
                            widthInCharacters(std::max(column->width(), column->minWidth()), font));
        }
        m_dataSheets = std::max<qint64>(1, (m_records + RecordsPerSheet - 1) / RecordsPerSheet);
        m_footerSheet = -1;
        if (view->footerVisible()) {
            const bool lastFull = m_records > 0 && m_records % RecordsPerSheet == 0;
            m_footerSheet = lastFull ? int(m_dataSheets) : int(m_records / RecordsPerSheet);
            m_footerRow = lastFull ? 1 : int(m_records % RecordsPerSheet) + 1;
            addFooter(view, columns);
        }
    }

    const StyleTable &styles() const override { return m_book; }
    int sheetCount() const override { return std::max(int(m_dataSheets), m_footerSheet + 1); }
    QString sheetName(int sheet) const override { return sheetNameOf(sheet); }
    QHash<int, double> columnWidths(int) const override { return m_widths; }

    void forEachRow(int sheet,
                    const std::function<void(int, std::span<const Cell>)> &visit) override
    {
        if (sheet == 0) {
            ++m_pass;
            for (FooterSummary &summary : m_footer)
                summary.runSums.assign(size_t(m_dataSheets + MaxArguments - 1) / MaxArguments, 0);
        }
        m_row.clear();
        for (int c = 0; c < m_captions.size(); ++c)
            m_row.push_back(Cell{quint16(c), m_headerStyle, Value::text(m_captions.at(c)), {}});
        visit(0, m_row);
        const qint64 first = qint64(sheet) * RecordsPerSheet;
        const qint64 end = std::min(m_records, first + RecordsPerSheet);
        for (qint64 r = first; r < end; ++r) {
            readRecord(int(r), sheet);
            visit(int(r - first) + 1, m_row);
            m_progress.advance((m_pass - 1) * m_records + r + 1);
        }
        if (sheet == m_footerSheet) {
            m_row.clear();
            for (const FooterSummary &summary : m_footer) {
                const Value value = summary.formula ? summary.result(m_records) : Value::number(0);
                m_row.push_back(
                    Cell{quint16(summary.column), summary.style, value, summary.formula});
            }
            visit(m_footerRow, m_row);
        }
    }

private:
    void addFooter(const TcxGridTableView *view, const QList<TcxGridColumn *> &columns)
    {
        for (int c = 0; c < columns.size(); ++c) {
            const std::optional<Rt::FooterSummaryDesign> summary =
                view->footerSummary(columns.at(c));
            if (!summary)
                continue;
            CellStyle style;
            style.alignment = horizontalOf(columns.at(c)->footerAlignment());
            style.numberFormat = numberFormatOf(summary->format);
            FooterSummary footer{c, summary->kind, quint16(m_book.add(style)), {}, {}};
            // Formulas keep the footer live in the file; the result is stored too.
            // They are made before any record is read, so that one the file cannot
            // hold fails at once.
            const QStringList ranges = columnRanges(c);
            if (!ranges.isEmpty()) {
                QString formula;
                if (summary->kind == Rt::SummaryKind::Sum) {
                    formula = sumFormula(ranges);
                } else {
                    QStringList terms;
                    for (const QString &range : ranges)
                        terms << u"ROWS("_s + range + u")"_s;
                    formula = terms.join(u'+');
                }
                footer.formula = Formula::parse(formula);
            }
            m_footer.push_back(std::move(footer));
        }
    }

    // The ranges of a column's records on every sheet, as formula arguments; the
    // footer's own sheet needs no sheet name.
    QStringList columnRanges(int column) const
    {
        QStringList ranges;
        for (int s = 0; s < m_dataSheets; ++s) {
            const qint64 count =
                std::min<qint64>(m_records - qint64(s) * RecordsPerSheet, RecordsPerSheet);
            if (count <= 0)
                break;
            const QString prefix =
                s == m_footerSheet ? QString() : formulaSheetName(sheetNameOf(s)) + u"!"_s;
            ranges << prefix + cellName(1, column) + u":"_s + cellName(int(count), column);
        }
        return ranges;
    }

    // The cells of record r into m_row; numbers in summed columns add to their sums.
    void readRecord(int r, int sheet)
    {
        m_row.clear();
        auto summary = m_footer.begin();
        for (int c = 0; c < m_captions.size(); ++c) {
            Cell &cell = m_row.emplace_back(Cell{quint16(c), 0, {}, {}});
            if (!readCell(r, c, cell)) {
                m_row.pop_back();
                continue;
            }
            while (summary != m_footer.end() && summary->column < c)
                ++summary;
            if (summary != m_footer.end() && summary->column == c
                && cell.value.kind == Value::Kind::Number)
                summary->runSums[size_t(sheet / MaxArguments)] += cell.value.num();
        }
    }

    // Record r's cell in column c, as the grid shows it; false when it is empty.
    bool readCell(int r, int c, Cell &cell)
    {
        if (std::optional<BoundCells> &bound = m_bound[size_t(c)])
            return bound->read(r, cell);
        m_model->multiData(m_model->index(r, c), m_roles);
        const QString shown = m_roles[0].data().toString();
        if (shown.isEmpty())
            return false;
        const QVariant &raw = m_roles[1].data();
        const ValueKind kind = m_kinds[size_t(c)].value_or(Rt::kindOfValue(raw));
        setDisplayed(cell, kind, raw, shown, m_styles[size_t(c)]);
        return true;
    }

    const QAbstractItemModel *m_model;
    qint64 m_records;
    Rt::ProgressScope &m_progress;
    StyleTable m_book;
    std::vector<std::optional<ValueKind>> m_kinds;
    std::vector<ColumnStyles> m_styles;
    // Columns bound to a field of the view's data set are read from it directly.
    std::vector<std::optional<BoundCells>> m_bound;
    quint16 m_headerStyle = 0;
    QStringList m_captions;
    QHash<int, double> m_widths;
    qint64 m_dataSheets = 1;
    int m_footerSheet = -1;
    int m_footerRow = 0;
    std::vector<FooterSummary> m_footer;
    std::vector<Cell> m_row;
    std::array<QModelRoleData, 2> m_roles{QModelRoleData(Qt::DisplayRole),
                                          QModelRoleData(Qt::EditRole)};
    int m_pass = 0;
};

} // namespace

void ExportGrid4ToExcel(const QString &fileName, TcxGrid *grid, bool, bool, bool, const QString &,
                        const QString &, bool)
{
    auto *view = grid ? qobject_cast<TcxGridTableView *>(grid->activeView()) : nullptr;
    if (!view)
        throw Rt::Exception(u"导出Excel：表格没有可导出的视图。"_s);
    const QList<TcxGridColumn *> columns = view->visibleColumns();
    if (columns.size() > MaxColumns)
        throw Rt::Exception(u"导出Excel：表格的列超过了 256 列。"_s);
    // The writer reads the records twice: once to lay the file out, once to
    // write it.
    Rt::ProgressScope progress(u"正在导出Excel文件..."_s, 2 * qint64(view->itemModel()->rowCount()),
                               grid->window());
    GridRows rows(view, columns, grid->font(), progress);
    writeWorkbook(rows, fileName);
}

void cxExportTL4ToExcel(const QString &fileName, TcxTreeList *treeList, bool, bool, bool,
                        const QString &)
{
    if (!treeList)
        throw Rt::Exception(u"导出Excel：没有树形列表。"_s);
    QList<TcxTreeListColumn *> columns;
    for (TcxTreeListColumn *column : treeList->columns()) {
        if (column->isVisible())
            columns.append(column);
    }
    if (columns.size() > MaxColumns)
        throw Rt::Exception(u"导出Excel：树形列表的列超过了 256 列。"_s);

    Workbook book;
    QList<ExportColumn> specs;
    for (const TcxTreeListColumn *column : columns)
        specs.append(
            {column->caption(), std::max(column->width(), column->minWidth()), Qt::AlignLeft});
    SheetSeries series(book, specs, treeList->font());
    series.rowOf(0);

    // The first cell of a node is indented by its level; the texts stay texts, as
    // codes such as "0101" must.
    QList<quint16> indentStyles;
    const qint64 nodes = treeList->absoluteCount();
    Rt::ProgressScope progress(u"正在导出Excel文件..."_s, nodes, treeList->window());
    for (qint64 n = 0; n < nodes; ++n) {
        const TcxTreeListNode *node = treeList->absoluteItem(int(n));
        int level = 0;
        for (const TcxTreeListNode *p = node->parent(); p; p = p->parent())
            ++level;
        level = std::min(level, 15);
        while (indentStyles.size() <= level) {
            CellStyle style;
            style.indent = quint8(indentStyles.size());
            indentStyles.append(quint16(book.styles().add(style)));
        }
        auto [sheet, row] = series.rowOf(n);
        for (int c = 0; c < columns.size(); ++c) {
            const QString text = node->texts(columns.at(c)->index());
            if (text.isEmpty() && c > 0)
                continue;
            Cell &cell = sheet->cellAt(row, c);
            cell.value = text.isEmpty() ? Value() : Value::text(truncatedText(text));
            if (c == 0)
                cell.style = indentStyles.at(level);
        }
        progress.advance(n + 1);
    }
    writeWorkbook(book, fileName);
}
