#include "FrmKqExchgClassEdt.h"

#include "runtime/application.h"
#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "schedule/Periods.h"
#include "talvex/base/framebottom2.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/picker/FrmQryEmployeeList.h"
#include "talvex/project/HostFactory.h"

#include <memory>

using namespace Qt::StringLiterals;

TKqExchgClassEdtFrm::TKqExchgClassEdtFrm(QWidget *parent)
    : TForm(parent)
{
    buildLayout();
    connectHandlers();
}

TKqExchgClassEdtFrm::~TKqExchgClassEdtFrm() = default;

void TKqExchgClassEdtFrm::connectHandlers()
{
    connect(Frame21->bbtnOK, &QPushButton::clicked, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::Frame21bbtnOKClick));
    connect(Frame21->bbtnClose, &QPushButton::clicked, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::Frame21bbtnCloseClick));
    // Esc leaves the dialog as the cancel button does.
    setCancelButton(Frame21->bbtnClose);
    connect(cxTimeEdit5, &TcxTimeEdit::changed, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxTimeEdit5PropertiesChange));
    connect(cxTimeEdit6, &TcxTimeEdit::changed, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxTimeEdit6PropertiesChange));
    connect(cxTimeEdit7, &TcxTimeEdit::changed, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxTimeEdit7PropertiesChange));
    connect(cxTimeEdit8, &TcxTimeEdit::changed, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxTimeEdit8PropertiesChange));
    connect(cxCheckBox1, &QCheckBox::clicked, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxCheckBox1Click));
    connect(edtPersonName, &TcxButtonEdit::buttonClick, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::edtPersonNamePropertiesButtonClick));
    connect(edtPersonName, &QLineEdit::textEdited, this, &TKqExchgClassEdtFrm::forgetEmployee);
    // The lookup may ask a question: it waits until the calendar popup is gone.
    connect(edtExchgDate, &TcxDateEdit::closeUp, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::edtExchgDatePropertiesCloseUp),
            Qt::QueuedConnection);
    connect(cxExchgeReason, &TcxMemo::entered, this,
            Rt::guarded(this, &TKqExchgClassEdtFrm::cxExchgeReasonEnter));
    connectWarnings();
}

void TKqExchgClassEdtFrm::openNew()
{
    FID.clear();
    edtExchgDate->setDate(Rt::DateTime::toDate(Host::main()->GetSysDate()));
}

void TKqExchgClassEdtFrm::openRecord(const QString &id)
{
    // The ID stands unquoted in the statements of this dialog: only a number may.
    if (!EditorStatements::isRecordId(id))
        Host::raiseError(u"调班记录编号[%1]无效，无法修改！"_s.arg(id));
    FID = id;
    {
        const std::unique_ptr<TDataSet> row(
            Host::db()->OpenQuery(EditorStatements::loadExchange(id)));
        if (!row->isEmpty()) {
            edtPersonName->setEnabled(false);
            loadRecord(*row);
        }
    }
    // Without a row there is no employee, and the lookup ends the opening.
    LoadPlanTime(m_employeeCode, edtExchgDate->text());
}

void TKqExchgClassEdtFrm::loadRecord(const TDataSet &row)
{
    auto text = [&row](const QString &field) { return row.fieldByName(field).asString(); };
    edtPersonName->setText(text(u"personname"_s));
    m_employeeCode = text(u"employeecode"_s);
    const std::optional<double> day = Rt::DateTime::parse(text(u"exchgdate"_s));
    edtExchgDate->setDate(day ? Rt::DateTime::toDate(*day) : QDate());
    cxExchgeReason->setText(text(u"ExchgeReason"_s));
    cxTimeEdit5->setText(text(u"period1Beg"_s));
    cxTimeEdit6->setText(text(u"period1end"_s));
    cxTimeEdit7->setText(text(u"period2Beg"_s));
    cxTimeEdit8->setText(text(u"period2end"_s));
    // The stored work time wins over the computed one; a missing one (or one that
    // is no number) would break the statement, so the computed one stays then.
    bool stored = false;
    text(u"worktime"_s).toInt(&stored);
    if (stored)
        edtWorkTime->setText(text(u"worktime"_s));
    mmRemark->setText(text(u"remark"_s));
    const bool restDay = text(u"WorkFlag"_s) == u"0"_s;
    cxCheckBox1->setChecked(restDay);
    for (TcxTimeEdit *box : afterExchangeBoxes())
        box->setEnabled(!restDay);
}

std::array<TcxTimeEdit *, 4> TKqExchgClassEdtFrm::afterExchangeBoxes() const
{
    return {cxTimeEdit5, cxTimeEdit6, cxTimeEdit7, cxTimeEdit8};
}

void TKqExchgClassEdtFrm::Frame21bbtnCloseClick()
{
    close();
}

void TKqExchgClassEdtFrm::cxTimeEdit5PropertiesChange()
{
    CalcWorkTime();
}

void TKqExchgClassEdtFrm::cxTimeEdit6PropertiesChange()
{
    CalcWorkTime();
}

void TKqExchgClassEdtFrm::cxTimeEdit7PropertiesChange()
{
    CalcWorkTime();
}

void TKqExchgClassEdtFrm::cxTimeEdit8PropertiesChange()
{
    CalcWorkTime();
}

// Period 1 end minus begin plus period 2 end minus begin, in whole minutes. A
// period that crosses midnight counts negative; validation refuses it later.
void TKqExchgClassEdtFrm::CalcWorkTime()
{
    edtWorkTime->setText(QString::number(Schedule::workingMinutes(enteredPeriods())));
}

Schedule::Periods TKqExchgClassEdtFrm::enteredPeriods() const
{
    auto minutes = [](const TcxTimeEdit *box) {
        return qint16(box->time().hour() * 60 + box->time().minute());
    };
    return {minutes(cxTimeEdit5), minutes(cxTimeEdit6), minutes(cxTimeEdit7), minutes(cxTimeEdit8)};
}

void TKqExchgClassEdtFrm::cxCheckBox1Click()
{
    const bool restDay = cxCheckBox1->isChecked();
    if (restDay) {
        for (TcxTimeEdit *box : afterExchangeBoxes())
            box->setText(u"00:00"_s);
        edtWorkTime->setText(u"0"_s);
    }
    for (TcxTimeEdit *box : afterExchangeBoxes())
        box->setEnabled(!restDay);
}

void TKqExchgClassEdtFrm::edtPersonNamePropertiesButtonClick()
{
    const std::unique_ptr<THR_Employee> chosen = pickEmployee(edtPersonName->text().trimmed());
    if (!chosen)
        return;
    takeEmployee(*chosen);
    LoadPlanTime(m_employeeCode, edtExchgDate->text());
}

void TKqExchgClassEdtFrm::takeEmployee(const THR_Employee &employee)
{
    edtPersonName->setText(employee.JobNumber);
    m_employeeCode = employee.EmployeeCode;
    edtEmployeeName->setText(employee.PersonName);
    cbbdeptname->setEditValue(employee.DeptCode);
    showWarnings();
}

// Typing over a picked employee must not leave the exchange saved against him
// while the box shows someone else: the pick is forgotten, name and department
// empty, and OK asks for an employee until one is picked again. Looking the typed
// job number up when the box is left was the other choice; it would run queries
// and ask plan questions whenever the focus moves on, also on the way to cancel.
void TKqExchgClassEdtFrm::forgetEmployee()
{
    if (m_employeeCode.isEmpty())
        return;
    m_employeeCode.clear();
    edtEmployeeName->clear();
    cbbdeptname->setEditValue(QString());
    showWarnings();
}

void TKqExchgClassEdtFrm::edtExchgDatePropertiesCloseUp()
{
    LoadPlanTime(m_employeeCode, edtExchgDate->text());
}

// Nothing in the module reads the mark; it tells the host which field has the
// focus.
void TKqExchgClassEdtFrm::cxExchgeReasonEnter()
{
    if (QWidget *active = Rt::screen() ? Rt::screen()->activeControl() : nullptr)
        Rt::setTag(active, 1001);
}

bool ShowKqExchgClassEdt(const QString &Caption, const QString &ID)
{
    const auto dialog = std::make_unique<TKqExchgClassEdtFrm>();
    dialog->Frame21->cbContinue->setChecked(false);
    dialog->Frame21->cbContinue->setVisible(false);
    // The host keeps its combo; only the items are copied.
    TcxImageComboBoxItems departments;
    departments.assign(Host::dict()->GetDictCombo(EditorStatements::departments())->items());
    dialog->cbbdeptname->setItems(departments);
    dialog->setCaption(Caption);
    if (ID.isEmpty())
        dialog->openNew();
    else
        dialog->openRecord(ID);
    if (!dialog->m_declined)
        dialog->showModal();
    return dialog->FSaved;
}
