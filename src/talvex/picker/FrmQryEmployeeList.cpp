#include "FrmQryEmployeeList.h"
#include "EmployeeSearch.h"

#include "runtime/application.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"
#include "talvex/base/framebottom3.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/project/HostFactory.h"

#include <QKeyEvent>

#include <utility>

using namespace Qt::StringLiterals;

TQryEmployeeListFrm::TQryEmployeeListFrm(QWidget *parent)
    : TForm(parent)
{
    buildLayout();
    connectHandlers();
    // A dialog that cannot be set up is torn down before the error passes on.
    try {
        FormCreate();
    } catch (...) {
        FormDestroy();
        throw;
    }
}

TQryEmployeeListFrm::~TQryEmployeeListFrm()
{
    FormDestroy();
}

void TQryEmployeeListFrm::connectHandlers()
{
    connect(this, &TForm::formShown, this, Rt::guarded(this, &TQryEmployeeListFrm::FormShow));
    connect(BtnQry, &QPushButton::clicked, this,
            Rt::guarded(this, &TQryEmployeeListFrm::BtnQryClick));
    connect(Frame31->bbtnEnter, &QPushButton::clicked, this,
            Rt::guarded(this, &TQryEmployeeListFrm::Frame31bbtnEnterClick));
    connect(Frame31->bbtnClose, &QPushButton::clicked, this,
            Rt::guarded(this, &TQryEmployeeListFrm::Frame31bbtnCloseClick));
    connect(TableEmployeeList, &TcxGridTableView::cellDblClick, this,
            Rt::guarded(this, &TQryEmployeeListFrm::TableEmployeeListCellDblClick));
    // Enter on a row chooses it, as a double click does.
    connect(TableEmployeeList, &TcxGridTableView::recordEntered, this,
            Rt::guarded(this, &TQryEmployeeListFrm::TableEmployeeListCellDblClick));
    setCancelButton(Frame31->bbtnClose);
    // Tab reaches a widget's focus handling before its key handler: only a filter
    // sees it first.
    edtCondition->installEventFilter(this);
}

bool TQryEmployeeListFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtCondition && event->type() == QEvent::KeyPress)
        return edtConditionKeyDown(static_cast<QKeyEvent *>(event));
    return TForm::eventFilter(watched, event);
}

void TQryEmployeeListFrm::FormCreate()
{
    TableEmployeeList->styles()->setStyleSheet(Host::main()->GetStyleRepository()->styleSheet(0));

    FDataSet = new TDataSet;
    FDataSet->setActive(false);
    FDataSource = new TDataSource;
    FEmployee = std::make_unique<THR_Employee>();

    // The host keeps its combos; only their items are copied.
    TcxImageComboBoxItems departments;
    departments.assign(Host::dict()->GetDictCombo(EmployeeSearch::departments())->items());
    colDeptCode->setValueList(departments);
    TcxImageComboBoxItems stations;
    stations.assign(Host::dict()->GetDictCombo(EmployeeSearch::stations())->items());
    ColStationCode->setValueList(stations);
}

void TQryEmployeeListFrm::FormShow()
{
    if (!FDataSet->isEmpty())
        cxGrid->setFocus();
    else
        edtCondition->setFocus();
}

void TQryEmployeeListFrm::FormDestroy()
{
    delete std::exchange(FDataSource, nullptr);
    delete std::exchange(FDataSet, nullptr);
}

// Tab runs the query instead of moving on, and goes no further even when the query
// fails. Shift+Tab is the same key. Enter is left to the edit: the condition box
// queries on Tab and on its button only.
bool TQryEmployeeListFrm::edtConditionKeyDown(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)
        return false;
    Rt::runGuarded([this] { BtnQryClick(); });
    return true;
}

void TQryEmployeeListFrm::BtnQryClick()
{
    const QString condition = EmployeeSearch::trimmed(edtCondition->text());
    if (condition.isEmpty()) {
        Rt::messageBox(u"请输入查询条件!"_s, u"提示"_s);
        edtCondition->setFocus();
        return;
    }
    RunQuery(condition, FWorkStatusMode);
    if (!FDataSet->isEmpty()) {
        cxGrid->setFocus();
        return;
    }
    // Selected, the failed condition is typed over rather than edited.
    edtCondition->selectAll();
    edtCondition->setFocus();
    Rt::messageBox(u"未查询到员工信息!"_s, u"提示"_s, Rt::Buttons::Ok, Rt::Icon::Information);
}

void TQryEmployeeListFrm::Frame31bbtnEnterClick()
{
    if (FDataSet->isEmpty())
        return;
    EmployeeSearch::fill(*FEmployee, *FDataSet);
    FSelected = true;
    close();
}

void TQryEmployeeListFrm::Frame31bbtnCloseClick()
{
    FSelected = false;
    close();
}

void TQryEmployeeListFrm::TableEmployeeListCellDblClick()
{
    Frame31bbtnEnterClick();
}

// An empty condition leaves the list as it is. The grid takes the new result before
// the old one is freed.
void TQryEmployeeListFrm::RunQuery(const QString &condition, int mode)
{
    if (EmployeeSearch::trimmed(condition).isEmpty())
        return;
    TDataSet *previous =
        std::exchange(FDataSet, Host::db()->OpenQuery(EmployeeSearch::statement(condition, mode)));
    FDataSource->setDataSet(FDataSet);
    TableEmployeeList->dataController()->setDataSource(FDataSource);
    delete previous;
}

bool QryEmployee(const QString &condition, THR_Employee *&employee)
{
    const auto dialog = std::make_unique<TQryEmployeeListFrm>();
    dialog->edtCondition->setText(condition);
    dialog->FWorkStatusMode = employee ? employee->WorkStatus : 0;
    if (dialog->FWorkStatusMode == EmployeeSearch::allStatuses)
        dialog->ColWorkStatus->setVisible(true);
    dialog->RunQuery(condition, dialog->FWorkStatusMode);
    dialog->showModal();
    employee = dialog->FEmployee.release();
    return dialog->FSelected;
}

std::unique_ptr<THR_Employee> pickEmployee(const QString &condition)
{
    auto employee = std::make_unique<THR_Employee>();
    THR_Employee *chosen = employee.get();
    const bool picked = QryEmployee(condition, chosen);
    if (chosen != employee.get())
        employee.reset(chosen);
    return picked ? std::move(employee) : nullptr;
}
