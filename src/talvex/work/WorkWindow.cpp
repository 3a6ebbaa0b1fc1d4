#include "WorkWindow.h"
#include "ExchangeQueries.h"

#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/picker/FrmQryEmployeeList.h"
#include "talvex/project/HostFactory.h"
#include "talvex/project/HostScopes.h"

using namespace Qt::StringLiterals;

namespace {
const QString waitText = u"正在读取数据，请稍候..."_s;
} // namespace

TWorkWindowForm::TWorkWindowForm(QWidget *parent)
    : TDllWindowForm(parent)
{
    buildLayout();
    for (TcxStyle *&style : m_restDayStyles)
        style = new TcxStyle(this);
    connectHandlers();
}

TWorkWindowForm::~TWorkWindowForm()
{
    delete FDataSet;
}

void TWorkWindowForm::connectHandlers()
{
    connect(this, &TForm::formShown, this, Rt::guarded(this, &TWorkWindowForm::FormShow));
    connect(btnQry, &QPushButton::clicked, this, Rt::guarded(this, &TWorkWindowForm::btnQryClick));
    // Enter in the search text searches, as the button does.
    connect(edtEmployeeCode, &QLineEdit::returnPressed, btnQry, &QAbstractButton::click);
    connect(edtEmployeeCode, &TcxButtonEdit::buttonClick, this,
            Rt::guarded(this, &TWorkWindowForm::edtEmployeeCodePropertiesButtonClick));
    connect(btnAdd, &TdxBarItem::clicked, this, Rt::guarded(this, &TWorkWindowForm::btnAddClick));
    connect(btnUpdate, &TdxBarItem::clicked, this,
            Rt::guarded(this, &TWorkWindowForm::btnUpdateClick));
    connect(btnDelete, &TdxBarItem::clicked, this,
            Rt::guarded(this, &TWorkWindowForm::btnDeleteClick));
    connect(TableKQExchangeClass, &TcxGridTableView::cellDblClick, this,
            Rt::guarded(this, &TWorkWindowForm::TableKQExchangeClassCellDblClick));
    connect(tlTypeList, &TcxTreeList::clicked, this,
            Rt::guarded(this, &TWorkWindowForm::tlTypeListClick));
    connect(tlTypeList, &TcxTreeList::focusedNodeChanged, this,
            Rt::guarded(this, &TWorkWindowForm::tlTypeListFocusedNodeChanged));
    ColWorkFlag->setContentStyleHandler(
        [this](TcxCustomGridView *view, int record, TcxGridColumn *column) {
            return ColWorkFlagStylesGetContentStyle(view, record, column);
        });
}

void TWorkWindowForm::InitWindow()
{
    TDllWindowForm::InitWindow();
    // A failure is logged and the window goes on with whatever the dates hold.
    try {
        const Host::WaitMessage waitNotice(waitText);
        const double today = Host::main()->GetSysDate();
        edtBeginDate->setDate(Rt::DateTime::toDate(today - 30));
        edtEndDate->setDate(Rt::DateTime::toDate(today));
    } catch (...) {
        Host::log()->WriteErrorLog(Rt::messageOf(std::current_exception()), 0);
    }
}

void TWorkWindowForm::RefreshData()
{
    TDllWindowForm::RefreshData();
    const Host::WaitMessage waitNotice(waitText);
    try {
        OpenExchangeQuery(FQuerySql);
    } catch (...) {
        // A refresh fails quietly: the grid keeps what it showed.
    }
}

void TWorkWindowForm::FreeWindow()
{
    TDllWindowForm::FreeWindow();
    DataSource1->setDataSet(nullptr);
    delete std::exchange(FDataSet, nullptr);
}

// The host may show the window before InitWindow has set the dates; the lists then
// still cover the default range rather than running with empty dates.
void TWorkWindowForm::fillDefaultDateRange()
{
    if (!edtBeginDate->text().isEmpty() && !edtEndDate->text().isEmpty())
        return;
    const double today = Host::main()->GetSysDate();
    if (edtBeginDate->text().isEmpty())
        edtBeginDate->setDate(Rt::DateTime::toDate(today - 30));
    if (edtEndDate->text().isEmpty())
        edtEndDate->setDate(Rt::DateTime::toDate(today));
}

void TWorkWindowForm::FormShow()
{
    const Host::WaitMessage waitNotice(waitText);
    TableKQExchangeClass->styles()->setStyleSheet(
        Host::main()->GetStyleRepository()->styleSheet(0));

    TcxImageComboBoxItems names;
    names.assign(
        Host::dict()->GetDictCombo(ExchangeQueries::employeeNames(Host::deptScope()))->items());
    ColPersonName->setValueList(names);

    auto *empty = new TDataSet;
    empty->finishLoading();
    replaceDataSet(empty);

    fillDefaultDateRange();
    LoadDeptTree();
    if (tlTypeList->count() > 0)
        tlTypeList->setFocusedNode(tlTypeList->topNode(0));
    btnQryClick();
}

void TWorkWindowForm::btnQryClick()
{
    ExchangeQueries::SearchFilter filter;
    filter.beginDate = edtBeginDate->text();
    filter.endDate = edtEndDate->text();
    filter.exchangeType = cxExchgType->editValue();
    filter.employeeText = edtEmployeeCode->text();
    FQuerySql = ExchangeQueries::search(filter, Host::deptScope());
    OpenExchangeQuery(FQuerySql);
}

// Picks an active employee and searches for him. The search matches job numbers
// and names, not employee codes, so the edit receives the job number, as its hint
// asks for.
void TWorkWindowForm::edtEmployeeCodePropertiesButtonClick()
{
    const std::unique_ptr<THR_Employee> chosen = pickEmployee(edtEmployeeCode->text().trimmed());
    if (!chosen)
        return;
    edtEmployeeCode->setText(chosen->JobNumber);
    btnQry->click();
}

void TWorkWindowForm::OpenExchangeQuery(const QString &sql)
{
    const QString text = sql.isEmpty() ? ExchangeQueries::defaultList(
                             edtBeginDate->text(), edtEndDate->text(), Host::deptScope())
                                       : sql;
    const Host::WaitMessage waitNotice(waitText);
    replaceDataSet(Host::db()->OpenQuery(text));
}

// The grid shows the new rows before the old ones are released.
void TWorkWindowForm::replaceDataSet(TDataSet *dataSet)
{
    TDataSet *previous = std::exchange(FDataSet, dataSet);
    DataSource1->setDataSet(FDataSet);
    TableKQExchangeClass->dataController()->setDataSource(DataSource1);
    delete previous;
}

// Rest days show bold on green in the row's own font; work days keep the grid's
// style.
TcxStyle *TWorkWindowForm::ColWorkFlagStylesGetContentStyle(TcxCustomGridView *, int recordIndex,
                                                            TcxGridColumn *)
{
    const TcxGridDataController *data = TableKQExchangeClass->dataController();
    if (data->recordCount() == 0)
        return nullptr;
    const QVariant value = data->value(recordIndex, ColWorkFlag->index());
    if (!value.isValid() || value.toString() != u"0"_s)
        return nullptr;

    const bool even = recordIndex % 2 == 0;
    const TcxStyle *base =
        even ? TableKQExchangeClass->contentEvenStyle() : TableKQExchangeClass->contentOddStyle();
    TcxStyle *style = m_restDayStyles[even ? 0 : 1];
    QFont font = base && base->hasFont() ? base->font() : this->font();
    if (base)
        style->setTextColor(base->textColor());
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    style->setFont(font);
    style->setColor(QColor(0, 128, 0));
    return style;
}
