#include "BoardWindow.h"

#include "BoardCellDelegate.h"
#include "BoardModel.h"
#include "BoardPalette.h"
#include "BoardPrint.h"
#include "BoardTotalsModel.h"
#include "BoardWorkbook.h"
#include "DepartmentTree.h"

#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "hostapp/services/PrintPreview.h"
#include "hostapp/services/WaitNotice.h"
#include "runtime/application.h"
#include "runtime/dialogs.h"
#include "runtime/editors/dateedit.h"
#include "runtime/form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int RowHeight = 22;
constexpr int HeaderHeight = 40;
constexpr int MinimumDayWidth = 64;
constexpr int NameColumnWidths[] = {72, 72, 130};

QString dayText(const QDate &day)
{
    return day.toString(u"yyyy-MM-dd"_s);
}

// Fixed sizes on both headers: nothing ever measures the rows.
void prepareView(QTableView *view)
{
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(RowHeight);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setDefaultSectionSize(MinimumDayWidth);
    view->horizontalHeader()->setFixedHeight(HeaderHeight);
    view->horizontalHeader()->setHighlightSections(false);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
}

// Both ways: a scroll bar outside the views stands for theirs.
void follow(QScrollBar *outside, QScrollBar *inside)
{
    QObject::connect(inside, &QScrollBar::rangeChanged, outside,
                     [outside, inside](int min, int max) {
                         outside->setRange(min, max);
                         outside->setPageStep(inside->pageStep());
                         outside->setSingleStep(inside->singleStep());
                     });
    QObject::connect(outside, &QScrollBar::valueChanged, inside, &QScrollBar::setValue);
    QObject::connect(inside, &QScrollBar::valueChanged, outside, &QScrollBar::setValue);
}

bool sameSelection(const BoardData::Selection &a, const BoardData::Selection &b)
{
    return a.scope == b.scope && a.department == b.department && a.range == b.range;
}

} // namespace

BoardWindow::BoardWindow(HostSession &session, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_session(session)
    , m_scope(session.deptScope(session.currentOperator()->ID))
    , m_model(new BoardModel(QDate::currentDate(), this))
    , m_totals(new BoardTotalsModel(*m_model, this))
    , m_departments(new DepartmentTree)
    , m_from(new TcxDateEdit)
    , m_to(new TcxDateEdit)
    , m_names(new QTableView)
    , m_days(new QTableView)
    , m_totalsView(new QTableView)
    , m_vertical(new QScrollBar(Qt::Vertical))
    , m_horizontal(new QScrollBar(Qt::Horizontal))
    , m_batch(new QPushButton(u"批量调班"_s))
    , m_swap(new QPushButton(u"对调"_s))
    , m_count(new QLabel)
{
    setWindowTitle(u"排班总览"_s);
    setObjectName(u"BoardWindow"_s);
    setFont(Rt::formFont());
    resize(1280, 760);
    buildLayout();

    const QDate today = QDate::currentDate();
    m_from->setDate(QDate(today.year(), today.month(), 1));
    m_to->setDate(QDate(today.year(), today.month(), today.daysInMonth()));
    m_departments->load(session.database(), m_scope);
    connect(m_departments, &DepartmentTree::departmentChosen, this,
            Rt::guarded(this, &BoardWindow::query));
    connect(&session, &HostSession::dataSaved, this, Rt::guarded(this, &BoardWindow::refresh));
    query();
}

void BoardWindow::buildLayout()
{
    m_from->setObjectName(u"edtFrom"_s);
    m_to->setObjectName(u"edtTo"_s);
    auto *refreshButton = new QPushButton(u"刷新"_s);
    refreshButton->setObjectName(u"btnRefresh"_s);
    m_batch->setObjectName(u"btnBatch"_s);
    m_batch->setToolTip(u"给选中的员工和日期批量调班或调休"_s);
    m_swap->setObjectName(u"btnSwap"_s);
    m_swap->setToolTip(u"选中两名员工的各一天，互换这两天的班次"_s);
    auto *exportButton = new QPushButton(u"导出Excel"_s);
    exportButton->setObjectName(u"btnExport"_s);
    auto *printButton = new QPushButton(u"打印预览"_s);
    printButton->setObjectName(u"btnPrint"_s);
    m_count->setObjectName(u"lblCount"_s);

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"日期从："_s));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(u"至"_s));
    filters->addWidget(m_to);
    filters->addWidget(refreshButton);
    filters->addSpacing(16);
    filters->addWidget(m_batch);
    filters->addWidget(m_swap);
    filters->addSpacing(16);
    filters->addWidget(exportButton);
    filters->addWidget(printButton);
    filters->addSpacing(16);
    filters->addWidget(m_count, 1);

    auto *gridArea = new QWidget;
    buildGrid(gridArea);
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(filters);
    rightLayout->addWidget(gridArea, 1);
    rightLayout->addWidget(buildLegend());

    m_departments->setMinimumWidth(180);
    auto *splitter = new QSplitter;
    splitter->addWidget(m_departments);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 1060});
    splitter->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    connect(refreshButton, &QPushButton::clicked, this, Rt::guarded(this, &BoardWindow::query));
    // Whoever writes the exchanges runs inside the guard as well.
    connect(m_batch, &QPushButton::clicked, this, Rt::guarded(this, &BoardWindow::requestBatch));
    connect(m_swap, &QPushButton::clicked, this, Rt::guarded(this, &BoardWindow::requestSwap));
    connect(exportButton, &QPushButton::clicked, this,
            Rt::guarded(this, &BoardWindow::exportExcel));
    connect(printButton, &QPushButton::clicked, this,
            Rt::guarded(this, &BoardWindow::printPreview));
    updateButtons();
}

// The names stay at the left while the days scroll; the totals stay under the
// days and scroll with them. The scroll bars outside the three views drive them.
void BoardWindow::buildGrid(QWidget *area)
{
    m_names->setObjectName(u"tvNames"_s);
    m_days->setObjectName(u"tvBoard"_s);
    m_totalsView->setObjectName(u"tvTotals"_s);
    for (QTableView *view : {m_names, m_days})
        prepareView(view);
    m_names->setModel(m_model);
    m_days->setModel(m_model);
    m_names->setSelectionMode(QAbstractItemView::NoSelection);
    m_names->setFocusPolicy(Qt::NoFocus);
    int namesWidth = 2 * m_names->frameWidth();
    for (const int width : NameColumnWidths)
        namesWidth += width;
    m_names->setFixedWidth(namesWidth);
    m_days->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_days->setItemDelegate(new BoardCellDelegate(m_days));

    prepareView(m_totalsView);
    m_totalsView->setModel(m_totals);
    m_totalsView->horizontalHeader()->hide();
    m_totalsView->setSelectionMode(QAbstractItemView::NoSelection);
    m_totalsView->setFocusPolicy(Qt::NoFocus);
    m_totalsView->setFixedHeight(RowHeight + 2 * m_totalsView->frameWidth());
    auto *totalsLabel = new QLabel(u"在岗人数"_s);
    totalsLabel->setObjectName(u"lblTotals"_s);
    totalsLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalsLabel->setContentsMargins(0, 0, 8, 0);
    QFont bold = totalsLabel->font();
    bold.setBold(true);
    totalsLabel->setFont(bold);
    totalsLabel->setFixedWidth(namesWidth);

    // Each view shows its own columns of the one model, the days as wide as the
    // board's longest text: a few dozen distinct texts are measured, never the rows.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        const CellText::Table &texts = m_model->board().texts;
        int width = MinimumDayWidth;
        for (int t = 0; t < texts.size(); ++t)
            width = qMax(width, m_days->fontMetrics().horizontalAdvance(u'*' + texts.text(t)) + 14);
        for (QTableView *view : {m_days, m_totalsView})
            view->horizontalHeader()->setDefaultSectionSize(width);
        for (int c = 0; c < m_model->columnCount(); ++c) {
            m_names->setColumnHidden(c, c >= BoardModel::FirstDay);
            m_days->setColumnHidden(c, c < BoardModel::FirstDay);
        }
        for (int c = 0; c < BoardModel::FirstDay; ++c)
            m_names->setColumnWidth(c, NameColumnWidths[c]);
        updateButtons();
    });
    connect(m_days->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BoardWindow::updateButtons);

    follow(m_vertical, m_days->verticalScrollBar());
    connect(m_names->verticalScrollBar(), &QScrollBar::valueChanged, m_vertical,
            &QScrollBar::setValue);
    connect(m_days->verticalScrollBar(), &QScrollBar::valueChanged, m_names->verticalScrollBar(),
            &QScrollBar::setValue);
    follow(m_horizontal, m_days->horizontalScrollBar());
    connect(m_days->horizontalScrollBar(), &QScrollBar::valueChanged,
            m_totalsView->horizontalScrollBar(), &QScrollBar::setValue);

    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(m_names, 0, 0);
    grid->addWidget(m_days, 0, 1);
    grid->addWidget(m_vertical, 0, 2);
    grid->addWidget(totalsLabel, 1, 0);
    grid->addWidget(m_totalsView, 1, 1);
    grid->addWidget(m_horizontal, 2, 1);
}

QWidget *BoardWindow::buildLegend()
{
    auto *legend = new QWidget;
    legend->setObjectName(u"legend"_s);
    auto *layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(new QLabel(u"图例："_s));
    for (const BoardPalette::LegendEntry &entry : BoardPalette::legend()) {
        auto *sample = new QLabel(entry.sample);
        sample->setAlignment(Qt::AlignCenter);
        sample->setMinimumWidth(entry.sample.isEmpty() ? 24 : 0);
        sample->setStyleSheet(
            u"QLabel { border: 1px solid #b0b0b0; padding: 1px 4px; background: %1; color: %2; }"_s
                .arg(entry.background.isValid() ? entry.background.name() : u"white"_s,
                     entry.foreground.isValid() ? entry.foreground.name() : u"black"_s));
        layout->addWidget(sample);
        layout->addWidget(new QLabel(entry.meaning));
        layout->addSpacing(10);
    }
    layout->addStretch();
    return legend;
}

void BoardWindow::query()
{
    const QDate first = m_from->date();
    const QDate last = m_to->date();
    if (!first.isValid() || !last.isValid()) {
        Rt::messageBox(u"请输入起始日期和结束日期。"_s, u"提示"_s);
        return;
    }
    if (first > last) {
        Rt::messageBox(u"起始日期 %1 晚于结束日期 %2。"_s.arg(dayText(first), dayText(last)),
                       u"提示"_s);
        return;
    }
    if (first.daysTo(last) >= maxDays) {
        Rt::messageBox(u"%1 至 %2 共 %3 天，排班总览最多显示 %4 天，请缩短日期范围。"_s
                           .arg(dayText(first), dayText(last))
                           .arg(first.daysTo(last) + 1)
                           .arg(maxDays),
                       u"提示"_s);
        return;
    }
    load({m_scope, m_departments->department(), {first, last}});
}

void BoardWindow::refresh()
{
    if (m_shown.range.first.isValid())
        load(m_shown);
    else
        query();
}

void BoardWindow::load(const BoardData::Selection &selection)
{
    // Reading the same board again keeps the place the operator looks at.
    const bool again = sameSelection(selection, m_shown);
    const int top = m_vertical->value();
    const int left = m_horizontal->value();
    {
        const WaitNotice::Scope wait(m_session.waitNotice(), u"正在读取数据，请稍候..."_s);
        m_model->show(BoardData::read(m_session.database(), selection));
    }
    m_shown = selection;
    if (again) {
        m_vertical->setValue(top);
        m_horizontal->setValue(left);
    }
    m_count->setText(u"%1 名员工，%2 至 %3"_s.arg(m_model->rowCount())
                         .arg(dayText(selection.range.first), dayText(selection.range.last)));
    // The days show before the rules are checked, which a whole office's month
    // takes longer for.
    repaint();
    const WaitNotice::Scope wait(m_session.waitNotice(), u"正在检查工时规则，请稍候..."_s);
    m_model->checkRules(m_session.database(), selection);
}

BoardCells BoardWindow::selectedCells() const
{
    QModelIndexList indexes = m_days->selectionModel()->selectedIndexes();
    std::sort(indexes.begin(), indexes.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return std::pair(a.row(), a.column()) < std::pair(b.row(), b.column());
    });
    const BoardData &board = m_model->board();
    BoardCells cells;
    for (const QModelIndex &index : std::as_const(indexes)) {
        if (index.column() >= BoardModel::FirstDay) {
            cells.append({board.rows.employees.at(index.row()).code,
                          board.day(index.column() - BoardModel::FirstDay)});
        }
    }
    return cells;
}

// Counted from the selection's ranges: a whole board chosen at once is 600,000
// cells, listed only when they are asked for.
void BoardWindow::updateButtons()
{
    qint64 count = 0;
    for (const QItemSelectionRange &range : m_days->selectionModel()->selection())
        count += qint64(qMax(0, range.right() - qMax(range.left(), int(BoardModel::FirstDay)) + 1))
                 * range.height();
    m_batch->setEnabled(count > 0);
    const BoardCells two = count == 2 ? selectedCells() : BoardCells();
    m_swap->setEnabled(two.size() == 2 && two[0].employeeCode != two[1].employeeCode);
}

void BoardWindow::requestBatch()
{
    const BoardCells cells = selectedCells();
    if (!cells.isEmpty())
        Q_EMIT batchRequested(cells);
}

void BoardWindow::requestSwap()
{
    const BoardCells cells = selectedCells();
    if (cells.size() == 2)
        Q_EMIT swapRequested(cells[0], cells[1]);
}

QString BoardWindow::title() const
{
    const QString department = m_shown.department.isEmpty()
                                   ? u"全部部门"_s
                                   : m_model->board().departmentName(m_shown.department);
    return u"排班总览 %1 %2 至 %3"_s.arg(department, dayText(m_shown.range.first),
                                         dayText(m_shown.range.last));
}

void BoardWindow::exportExcel()
{
    TSaveDialog dialog;
    dialog.setTitle(u"导出Excel"_s);
    dialog.setFilter(u"Excel 文件 (*.xls)|*.xls"_s);
    dialog.setDefaultExt(u"xls"_s);
    dialog.setFileName(title().replace(u' ', u'_') + u".xls"_s);
    if (!dialog.execute())
        return;
    {
        const WaitNotice::Scope wait(m_session.waitNotice(), u"正在导出，请稍候..."_s);
        BoardWorkbook::write(*m_model, title(), dialog.fileName());
    }
    Q_EMIT m_session.notice(u"排班总览已导出到 %1"_s.arg(dialog.fileName()));
}

void BoardWindow::printPreview()
{
    previewTables(m_session, {boardPrintTable(*m_model, title())}, title(), true);
}
