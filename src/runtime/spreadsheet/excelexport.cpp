#include "excelexport.h"

#include "recalc_p.h"

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

#include <cmath>

using namespace Rt::Xls;
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
        // Widths in characters of the digit width, as the file counts them;
        // a cell's padding is about five pixels.
        const int digit = std::max(1, QFontMetrics(font).horizontalAdvance(u'0'));
        for (const ExportColumn &column : columns)
            m_widths << std::max(1.0, (column.widthPixels - 5) / double(digit));
    }

    // The sheet and row of record n, the sheet made when first reached.
    std::pair<Sheet *, int> rowOf(qint64 record)
    {
        const int sheetIndex = int(record / RecordsPerSheet);
        while (m_book.sheetCount() <= sheetIndex)
            addSheet();
        return {&m_book.sheet(sheetIndex), int(record % RecordsPerSheet) + 1};
    }
    // The row after the last record, on a further sheet when the last is full.
    std::pair<Sheet *, int> rowAfter(qint64 records)
    {
        if (records > 0 && records % RecordsPerSheet == 0) {
            addSheet();
            return {&m_book.sheet(m_book.sheetCount() - 1), 1};
        }
        return rowOf(records);
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

// Styles of one column's data cells: plain, date, date and time.
struct ColumnStyles
{
    quint16 plain, date, dateTime;
};

ColumnStyles stylesFor(Workbook &book, Qt::Alignment alignment)
{
    CellStyle style;
    style.alignment = horizontalOf(alignment);
    ColumnStyles styles;
    styles.plain = quint16(book.styles().add(style));
    style.numberFormat = DateFormat;
    styles.date = quint16(book.styles().add(style));
    style.numberFormat = DateTimeFormat;
    styles.dateTime = quint16(book.styles().add(style));
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
    cell.value = Value::text(shown.left(MaxTextLength));
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

// The ranges of a column's records on every sheet, as formula arguments; the
// footer's own sheet needs no sheet name.
QStringList columnRanges(const Workbook &book, int column, qint64 records, int footerSheet)
{
    QStringList ranges;
    for (int s = 0; s < book.sheetCount(); ++s) {
        const qint64 first = qint64(s) * RecordsPerSheet;
        const qint64 count = std::min<qint64>(records - first, RecordsPerSheet);
        if (count <= 0)
            break;
        const QString prefix =
            s == footerSheet ? QString() : formulaSheetName(book.sheet(s).name()) + u"!"_s;
        ranges << prefix + cellName(1, column) + u":"_s + cellName(int(count), column);
    }
    return ranges;
}

void writeFooter(Workbook &book, SheetSeries &series, const TcxGridTableView *view,
                 const QList<TcxGridColumn *> &columns, qint64 records)
{
    if (!view->footerVisible())
        return;
    auto [sheet, row] = series.rowAfter(records);
    const int footerSheet = book.sheetCount() - 1;
    for (int c = 0; c < columns.size(); ++c) {
        const std::optional<Rt::FooterSummaryDesign> summary = view->footerSummary(columns.at(c));
        if (!summary)
            continue;
        Cell &cell = sheet->cellAt(row, c);
        CellStyle style;
        style.alignment = horizontalOf(columns.at(c)->footerAlignment());
        style.numberFormat = numberFormatOf(summary->format);
        cell.style = quint16(book.styles().add(style));
        // Formulas keep the footer live in the file; the result is stored too.
        const QStringList ranges = columnRanges(book, c, records, footerSheet);
        if (ranges.isEmpty()) {
            cell.value = Value::number(0);
            continue;
        }
        QString formula;
        if (summary->kind == Rt::SummaryKind::Sum) {
            formula = u"SUM("_s + ranges.join(u',') + u")"_s;
        } else {
            QStringList terms;
            for (const QString &range : ranges)
                terms << u"ROWS("_s + range + u")"_s;
            formula = terms.join(u'+');
        }
        cell.formula = Formula::parse(formula);
    }
    Rt::Internal::Recalculator(book).recalculate();
}

} // namespace

void ExportGrid4ToExcel(const QString &fileName, TcxGrid *grid, bool, bool, bool, const QString &,
                        const QString &, bool)
{
    auto *view = grid ? qobject_cast<TcxGridTableView *>(grid->activeView()) : nullptr;
    if (!view)
        throw Rt::Exception(u"导出Excel：表格没有可导出的视图。"_s);
    const QAbstractItemModel *model = view->itemModel();
    const QList<TcxGridColumn *> columns = view->visibleColumns();
    if (columns.size() > MaxColumns)
        throw Rt::Exception(u"导出Excel：表格的列超过了 256 列。"_s);

    Workbook book;
    QList<ExportColumn> specs;
    std::vector<std::optional<ValueKind>> kinds;
    std::vector<ColumnStyles> styles;
    for (const TcxGridColumn *column : columns) {
        specs.append({column->caption(), std::max(column->width(), column->minWidth()),
                      column->alignment()});
        kinds.push_back(columnKind(view, column));
        styles.push_back(stylesFor(book, column->alignment()));
    }
    SheetSeries series(book, specs, grid->font());
    const qint64 records = model->rowCount();
    series.rowOf(0);

    Rt::ProgressScope progress(u"正在导出Excel文件..."_s, records, grid->window());
    std::array<QModelRoleData, 2> roles{QModelRoleData(Qt::DisplayRole),
                                        QModelRoleData(Qt::EditRole)};
    for (qint64 r = 0; r < records; ++r) {
        auto [sheet, row] = series.rowOf(r);
        for (int c = 0; c < columns.size(); ++c) {
            model->multiData(model->index(int(r), c), roles);
            const QString shown = roles[0].data().toString();
            if (shown.isEmpty())
                continue;
            const QVariant &raw = roles[1].data();
            const ValueKind kind = kinds[size_t(c)].value_or(Rt::kindOfValue(raw));
            setDisplayed(sheet->cellAt(row, c), kind, raw, shown, styles[size_t(c)]);
        }
        progress.advance(r + 1);
    }
    writeFooter(book, series, view, columns, records);
    writeWorkbook(book, fileName);
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
            cell.value = text.isEmpty() ? Value() : Value::text(text.left(MaxTextLength));
            if (c == 0)
                cell.style = indentStyles.at(level);
        }
        progress.advance(n + 1);
    }
    writeWorkbook(book, fileName);
}
