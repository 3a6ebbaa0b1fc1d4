#include "sheettabs_p.h"

#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"

#include <QFont>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

using namespace Rt::Xls;
using namespace Qt::StringLiterals;

namespace Rt::Internal {

namespace {

constexpr int MinRows = 100;
constexpr int MinColumns = 26;
constexpr int IndentSpaces = 3;

} // namespace

SheetModel::SheetModel(const Workbook *book, int sheet, QObject *parent)
    : QAbstractTableModel(parent)
    , m_book(book)
    , m_sheet(sheet)
{
    reload();
}

void SheetModel::reload()
{
    beginResetModel();
    const Sheet &sheet = m_book->sheet(m_sheet);
    m_rows = std::max(sheet.rowCount(), MinRows);
    m_columns = std::max(sheet.columnCount(), MinColumns);
    endResetModel();
}

void SheetModel::refreshCell(int row, int column)
{
    const Sheet &sheet = m_book->sheet(m_sheet);
    if (sheet.rowCount() > m_rows || sheet.columnCount() > m_columns) {
        reload();
        return;
    }
    Q_EMIT dataChanged(index(row, column), index(row, column));
}

int SheetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SheetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant SheetModel::data(const QModelIndex &index, int role) const
{
    const Cell *cell = m_book->sheet(m_sheet).cell(index.row(), index.column());
    if (!cell)
        return {};
    const CellStyle &style = m_book->styles().at(cell->style);
    switch (role) {
    case Qt::DisplayRole:
        return QString(QString(style.indent * IndentSpaces, u' ')
                       + formatValue(cell->value, style.numberFormat));
    case Qt::EditRole:
        return cell->formula ? QString(u"="_s + cell->formula->text())
                             : formatValue(cell->value, style.numberFormat);
    case Qt::FontRole:
        if (style.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole: {
        Qt::Alignment horizontal = Qt::AlignLeft;
        switch (style.alignment) {
        case HorizontalAlignment::General:
            // Numbers line up on the right, everything else on the left.
            if (cell->value.kind == Value::Kind::Number)
                horizontal = Qt::AlignRight;
            else if (cell->value.kind == Value::Kind::Boolean
                     || cell->value.kind == Value::Kind::Error)
                horizontal = Qt::AlignHCenter;
            break;
        case HorizontalAlignment::Left:
            break;
        case HorizontalAlignment::Centre:
            horizontal = Qt::AlignHCenter;
            break;
        case HorizontalAlignment::Right:
            horizontal = Qt::AlignRight;
            break;
        }
        return int(horizontal | (style.wrap ? Qt::AlignTop : Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return cellName(0, section).chopped(1);
}

SheetTabs::SheetTabs(QWidget *parent)
    : QTabWidget(parent)
{
    setTabPosition(QTabWidget::South);
    setDocumentMode(true);
}

SheetTabs *SheetTabs::filling(QWidget *owner)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *tabs = new SheetTabs(owner);
    layout->addWidget(tabs);
    return tabs;
}

void SheetTabs::setWorkbook(const Workbook *book)
{
    m_book = book;
    // The tab widget deletes nothing itself: the pages and models go here.
    while (count() > 0) {
        QWidget *page = widget(0);
        removeTab(0);
        delete page;
    }
    m_models.clear();
    for (int i = 0; i < book->sheetCount(); ++i) {
        auto *view = new QTableView;
        auto *model = new SheetModel(book, i, view);
        view->setModel(model);
        view->setWordWrap(true);
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        m_models.append(model);
        addTab(view, book->sheet(i).name());
        applyWidths(i);
    }
    setCurrentIndex(std::clamp(book->activeSheet(), 0, std::max(0, count() - 1)));
}

void SheetTabs::reload()
{
    if (!m_book)
        return;
    if (m_models.size() != m_book->sheetCount()) {
        const int current = currentIndex();
        setWorkbook(m_book);
        setCurrentIndex(std::min(current, count() - 1));
        return;
    }
    for (int i = 0; i < m_models.size(); ++i) {
        setTabText(i, m_book->sheet(i).name());
        m_models.at(i)->reload();
        applyWidths(i);
    }
}

void SheetTabs::refreshCell(int sheet, int row, int column)
{
    if (sheet >= 0 && sheet < m_models.size())
        m_models.at(sheet)->refreshCell(row, column);
}

QTableView *SheetTabs::view(int sheet) const
{
    return qobject_cast<QTableView *>(widget(sheet));
}

void SheetTabs::applyWidths(int sheet)
{
    QTableView *table = view(sheet);
    const int digit = table->fontMetrics().horizontalAdvance(u'0');
    const auto &widths = m_book->sheet(sheet).columnWidths();
    for (auto it = widths.cbegin(); it != widths.cend(); ++it)
        table->setColumnWidth(it.key(), int(it.value() * digit) + 5);
}

} // namespace Rt::Internal
