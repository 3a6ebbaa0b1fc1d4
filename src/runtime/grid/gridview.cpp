#include "gridview.h"

#include "gridcolumn.h"
#include "griddatacontroller.h"
#include "gridtablemodel_p.h"
#include "runtime/styles.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The footer text: format with its first run of digit placeholders replaced by the
// value as a whole number; an empty format shows the number alone.
QString summaryText(const QString &format, double value)
{
    static const QRegularExpression placeholder(u"[0#](?:[0#,.]*[0#])?"_s);
    const QString number = QString::number(qRound64(value));
    if (format.isEmpty())
        return number;
    QString text = format;
    const QRegularExpressionMatch match = placeholder.match(format);
    if (match.hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(), number);
    return text;
}

} // namespace

TcxCustomGridView::TcxCustomGridView(QObject *parent)
    : QObject(parent)
    , m_styles(std::make_unique<TcxViewStyles>())
{}

TcxCustomGridView::~TcxCustomGridView() = default;

TcxGridTableView::TcxGridTableView(QObject *parent)
    : TcxGridTableView(std::make_unique<TcxGridDataController>(), parent)
{}

TcxGridTableView::TcxGridTableView(std::unique_ptr<TcxGridDataController> controller,
                                   QObject *parent)
    : TcxCustomGridView(parent)
    , m_controller(std::move(controller))
    , m_model(std::make_unique<Rt::Internal::GridTableModel>(this))
{
    m_controller->m_view = this;
    connect(m_controller.get(), &TcxGridDataController::recordsReset, this,
            &TcxGridTableView::recordsReset);
    connect(m_controller.get(), &TcxGridDataController::recordChanged, this,
            &TcxGridTableView::recordChanged);
    connect(m_controller.get(), &TcxGridDataController::focusedRecordChanged, this,
            &TcxGridTableView::focusedRecordChanged);
    connect(styles(), &TcxViewStyles::changed, this, [this] {
        m_model->refreshCells();
        m_model->refreshHeader();
        notifyLayoutChanged();
    });
}

TcxGridTableView::~TcxGridTableView()
{
    // The columns are QObject children, deleted once this view is gone.
    for (TcxGridColumn *column : std::as_const(m_columns))
        column->m_view = nullptr;
}

TcxGridColumn *TcxGridTableView::createColumn()
{
    auto *column = new TcxGridColumn(this);
    addColumn(column);
    return column;
}

void TcxGridTableView::addColumn(TcxGridColumn *column)
{
    column->m_index = int(m_columns.size());
    m_columns.append(column);
    m_controller->columnsChanged();
    m_model->reload();
}

void TcxGridTableView::removeColumn(TcxGridColumn *column)
{
    const int index = column->m_index;
    m_columns.removeAt(index);
    for (int i = index; i < m_columns.size(); ++i)
        m_columns[i]->m_index = i;
    m_summaries.removeIf([column](const FooterSummary &s) { return s.column == column; });
    m_controller->columnRemoved(index);
    m_model->reload();
}

QList<TcxGridColumn *> TcxGridTableView::visibleColumns() const
{
    QList<TcxGridColumn *> visible;
    for (TcxGridColumn *column : m_columns) {
        if (column->isVisible())
            visible.append(column);
    }
    return visible;
}

QAbstractItemModel *TcxGridTableView::itemModel() const
{
    return m_model.get();
}

void TcxGridTableView::setFooterVisible(bool visible)
{
    if (m_footerVisible == visible)
        return;
    m_footerVisible = visible;
    notifyLayoutChanged();
}

void TcxGridTableView::setColumnAutoWidth(bool autoWidth)
{
    if (m_columnAutoWidth == autoWidth)
        return;
    m_columnAutoWidth = autoWidth;
    notifyLayoutChanged();
}

void TcxGridTableView::setCellAutoHeight(bool autoHeight)
{
    if (m_cellAutoHeight == autoHeight)
        return;
    m_cellAutoHeight = autoHeight;
    notifyLayoutChanged();
}

void TcxGridTableView::setCellSelect(bool cellSelect)
{
    if (m_cellSelect == cellSelect)
        return;
    m_cellSelect = cellSelect;
    notifyLayoutChanged();
}

void TcxGridTableView::setColumnHeadersCentred(bool centred)
{
    if (m_headersCentred == centred)
        return;
    m_headersCentred = centred;
    m_model->refreshHeader();
}

void TcxGridTableView::addFooterSummary(TcxGridColumn *column, Rt::SummaryKind kind,
                                        const QString &format)
{
    m_summaries.append({column, kind, format, QString()});
    m_summariesStale = true;
    notifyLayoutChanged();
}

QString TcxGridTableView::footerText(const TcxGridColumn *column) const
{
    if (m_summariesStale)
        computeSummaries();
    for (const FooterSummary &summary : std::as_const(m_summaries)) {
        if (summary.column == column)
            return summary.text;
    }
    return {};
}

std::optional<Rt::FooterSummaryDesign>
TcxGridTableView::footerSummary(const TcxGridColumn *column) const
{
    for (const FooterSummary &summary : m_summaries) {
        if (summary.column == column)
            return Rt::FooterSummaryDesign{summary.kind, summary.format};
    }
    return std::nullopt;
}

void TcxGridTableView::computeSummaries() const
{
    const int count = m_controller->recordCount();
    for (FooterSummary &summary : m_summaries) {
        double total = count;
        if (summary.kind == Rt::SummaryKind::Sum) {
            total = 0;
            const int column = summary.column ? summary.column->index() : -1;
            for (int record = 0; record < count; ++record)
                total += m_controller->value(record, column).toDouble();
        }
        summary.text = summaryText(summary.format, total);
    }
    m_summariesStale = false;
}

TcxStyle *TcxGridTableView::contentEvenStyle() const
{
    return styles()->style(Rt::StyleRole::ContentEven);
}

TcxStyle *TcxGridTableView::contentOddStyle() const
{
    return styles()->style(Rt::StyleRole::ContentOdd);
}

void TcxGridTableView::rearrangeColumns()
{
    m_model->reload();
}

void TcxGridTableView::notifyLayoutChanged()
{
    Q_EMIT layoutChanged(QPrivateSignal());
}

void TcxGridTableView::columnChanged(ColumnChange change)
{
    switch (change) {
    case ColumnChange::Header:
        m_model->refreshHeader();
        break;
    case ColumnChange::Cells:
        m_model->refreshCells();
        break;
    case ColumnChange::Binding:
        m_controller->columnsChanged();
        m_summariesStale = true;
        m_model->refreshCells();
        notifyLayoutChanged();
        break;
    case ColumnChange::Arrangement:
        rearrangeColumns();
        break;
    case ColumnChange::Size:
        notifyLayoutChanged();
        break;
    }
}

void TcxGridTableView::recordsReset()
{
    m_summariesStale = true;
    m_model->reload();
}

void TcxGridTableView::recordChanged(int record)
{
    m_summariesStale = true;
    m_model->refreshRecord(record);
}

TcxGridDBTableView::TcxGridDBTableView(QObject *parent)
    : TcxGridTableView(std::make_unique<TcxGridDBDataController>(), parent)
{}

TcxGridDBDataController *TcxGridDBTableView::dataController() const
{
    return static_cast<TcxGridDBDataController *>(TcxGridTableView::dataController());
}
