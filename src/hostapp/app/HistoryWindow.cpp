#include "HistoryWindow.h"

#include "hostapp/db/Database.h"
#include "runtime/application.h"
#include "runtime/dataset.h"
#include "runtime/editors/dateedit.h"
#include "runtime/form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The captions the register's grid gives the same fields.
QString captionOf(const QString &field)
{
    static const QHash<QString, QString> captions = {
        {u"ID"_s, u"ID号"_s},
        {u"EmployeeCode"_s, u"员工编号"_s},
        {u"ExchgDate"_s, u"调班日期"_s},
        {u"period1Beg"_s, u"上班时间一"_s},
        {u"period1End"_s, u"下班时间一"_s},
        {u"period2Beg"_s, u"上班时间二"_s},
        {u"period2End"_s, u"下班时间二"_s},
        {u"period3Beg"_s, u"开始时段3"_s},
        {u"period3End"_s, u"结束时段3"_s},
        {u"SubClassType"_s, u"跨天标志"_s},
        {u"WorkTime"_s, u"上班时长(分钟)"_s},
        {u"WorkFlag"_s, u"上班标志"_s},
        {u"ExchgType"_s, u"调班类型"_s},
        {u"ExchgeReason"_s, u"调班理由"_s},
        {u"OptorCode"_s, u"操作员"_s},
        {u"Remark"_s, u"备注"_s},
        {u"CREATE_TIME"_s, u"创建时间"_s},
        {u"MODIFIED_TIME"_s, u"修改时间"_s},
        {u"deleted"_s, u"删除标志"_s},
    };
    return captions.value(field, field);
}

// Coded fields read as the register's grid shows them.
QString displayed(const QString &field, const QString &value)
{
    static const QHash<QString, QHash<QString, QString>> descriptions = {
        {u"WorkFlag"_s, {{u"0"_s, u"休息"_s}, {u"1"_s, u"上班"_s}}},
        {u"ExchgType"_s, {{u"0"_s, u"调休"_s}, {u"1"_s, u"调班"_s}}},
        {u"SubClassType"_s, {{u"0"_s, u"不跨天"_s}, {u"1"_s, u"跨天"_s}}},
    };
    return descriptions.value(field).value(value, value);
}

QString kindText(const QString &kind)
{
    if (kind == u"INSERT"_s)
        return u"新增"_s;
    if (kind == u"UPDATE"_s)
        return u"修改"_s;
    if (kind == u"DELETE"_s)
        return u"删除"_s;
    return kind;
}

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

void prepareTable(QTableView *table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setHighlightSections(false);
    table->setFocusPolicy(Qt::StrongFocus);
}

} // namespace

HistoryWindow::HistoryWindow(Database &db, const QString &viewerCode, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_db(db)
    , m_viewerCode(viewerCode)
    , m_from(new TcxDateEdit)
    , m_to(new TcxDateEdit)
    , m_operator(new QComboBox)
    , m_employee(new QLineEdit)
    , m_changes(new QTableView)
    , m_changeModel(new QStandardItemModel(this))
    , m_changeTitle(new QLabel)
    , m_detail(new QTableView)
    , m_detailModel(new QStandardItemModel(this))
    , m_count(new QLabel)
{
    setWindowTitle(u"修改历史"_s);
    setObjectName(u"HistoryWindow"_s);
    setFont(Rt::formFont());
    resize(980, 720);
    buildLayout();
    loadOperators();

    const QDate today = QDate::currentDate();
    m_from->setDate(today.addDays(-30));
    m_to->setDate(today);
    search();
    m_changes->setFocus();
}

void HistoryWindow::buildLayout()
{
    // The runtime's date boxes, as in the register: typed dates in every
    // everyday form, a refused impossible date, the Chinese calendar.
    m_from->setObjectName(u"edtFrom"_s);
    m_to->setObjectName(u"edtTo"_s);
    m_operator->setObjectName(u"cbOperator"_s);
    m_operator->setMinimumWidth(140);
    m_employee->setObjectName(u"edtEmployee"_s);
    m_employee->setPlaceholderText(u"员工编号、工号或姓名"_s);
    m_employee->setClearButtonEnabled(true);
    m_employee->setMinimumWidth(160);
    auto *searchButton = new QPushButton(u"查询(&Q)"_s);
    searchButton->setObjectName(u"btnSearch"_s);

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"修改日期从："_s));
    filters->addWidget(m_from);
    filters->addWidget(new QLabel(u"至"_s));
    filters->addWidget(m_to);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(u"操作员："_s));
    filters->addWidget(m_operator);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(u"员工："_s));
    filters->addWidget(m_employee);
    filters->addSpacing(12);
    filters->addWidget(searchButton);
    filters->addStretch();

    m_changes->setObjectName(u"tvChanges"_s);
    prepareTable(m_changes);
    m_changes->setModel(m_changeModel);
    m_changeModel->setHorizontalHeaderLabels({u"修改时间"_s, u"修改类型"_s, u"操作员"_s,
                                              u"员工编号"_s, u"员工姓名"_s, u"调班日期"_s,
                                              u"ID号"_s, u"调班理由"_s});
    m_changes->horizontalHeader()->setStretchLastSection(true);

    m_detail->setObjectName(u"tvDetail"_s);
    prepareTable(m_detail);
    m_detail->setModel(m_detailModel);
    m_detail->setSelectionMode(QAbstractItemView::NoSelection);
    m_detailModel->setHorizontalHeaderLabels({u"字段"_s, u"修改前"_s, u"修改后"_s});
    m_detail->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_detail->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    m_detail->setColumnWidth(0, 130);

    auto *detailPane = new QWidget;
    auto *detailLayout = new QVBoxLayout(detailPane);
    detailLayout->setContentsMargins(0, 4, 0, 0);
    m_changeTitle->setObjectName(u"lblChange"_s);
    detailLayout->addWidget(m_changeTitle);
    detailLayout->addWidget(m_detail);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_changes);
    splitter->addWidget(detailPane);
    // The detail shows all of a row's fields without scrolling.
    splitter->setSizes({190, 470});
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);

    m_count->setObjectName(u"lblCount"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_count);

    connect(searchButton, &QPushButton::clicked, this, Rt::guarded(this, &HistoryWindow::search));
    connect(m_employee, &QLineEdit::returnPressed, this, Rt::guarded(this, &HistoryWindow::search));
    connect(m_changes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showChange(current.row()); });
}

void HistoryWindow::loadOperators()
{
    m_operator->addItem(u"全部"_s, QString());
    const std::unique_ptr<TDataSet> operators =
        m_db.select(u"SELECT OperatorCode, OperatorName FROM Sys_Operator ORDER BY ID"_s);
    for (int r = 0; r < operators->recordCount(); ++r) {
        const QString code = operators->asString(r, 0);
        m_operator->addItem(u"%1 %2"_s.arg(code, operators->asString(r, 1)), code);
    }
}

void HistoryWindow::search()
{
    m_found = ExchangeHistory::find(m_db, {m_from->date(), m_to->date(),
                                           m_operator->currentData().toString(), m_employee->text(),
                                           m_viewerCode});
    const QStringList fields = ExchangeHistory::fields();
    const qsizetype exchgDate = fields.indexOf(u"ExchgDate"_s);
    const qsizetype id = fields.indexOf(u"ID"_s);
    const qsizetype reason = fields.indexOf(u"ExchgeReason"_s);

    m_changeModel->removeRows(0, m_changeModel->rowCount());
    for (const ExchangeHistory::Change &change : std::as_const(m_found)) {
        // What the exchange was after the change, or before a delete.
        const QStringList &row = change.kind == u"DELETE"_s ? change.before : change.after;
        m_changeModel->appendRow({cell(change.changedAt, Qt::AlignHCenter),
                                  cell(kindText(change.kind), Qt::AlignHCenter),
                                  cell(change.operatorCode), cell(change.employeeCode),
                                  cell(change.personName),
                                  cell(row.at(exchgDate), Qt::AlignHCenter),
                                  cell(row.at(id), Qt::AlignRight), cell(row.at(reason))});
    }
    m_changes->resizeColumnsToContents();
    for (int column = 0; column < m_changeModel->columnCount() - 1; ++column)
        m_changes->setColumnWidth(column, m_changes->columnWidth(column) + 16);
    m_count->setText(u"%1 条修改记录"_s.arg(m_found.size()));
    if (m_found.isEmpty())
        showChange(-1);
    else
        m_changes->setCurrentIndex(m_changeModel->index(0, 0));
}

void HistoryWindow::showChange(int row)
{
    m_detailModel->removeRows(0, m_detailModel->rowCount());
    if (row < 0 || row >= m_found.size()) {
        m_changeTitle->setText(u"没有选中的修改记录"_s);
        return;
    }
    const ExchangeHistory::Change &change = m_found.at(row);
    m_changeTitle->setText(u"%1　%2　操作员：%3　员工：%4 %5"_s.arg(
        change.changedAt, kindText(change.kind),
        change.operatorCode.isEmpty() ? u"（未知）"_s : change.operatorCode, change.employeeCode,
        change.personName));

    const QStringList fields = ExchangeHistory::fields();
    QFont marked = font();
    marked.setBold(true);
    const QBrush markedBackground(QColor(255, 236, 179));
    for (int f = 0; f < fields.size(); ++f) {
        const QString &field = fields.at(f);
        QList<QStandardItem *> items{cell(captionOf(field)),
                                     cell(displayed(field, change.before.at(f))),
                                     cell(displayed(field, change.after.at(f)))};
        if (change.changed(f)) {
            for (QStandardItem *item : items) {
                item->setFont(marked);
                item->setBackground(markedBackground);
                item->setToolTip(u"已修改"_s);
            }
        }
        m_detailModel->appendRow(items);
    }
}
