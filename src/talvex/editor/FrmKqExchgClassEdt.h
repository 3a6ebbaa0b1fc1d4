#pragma once

#include "EditorStatements.h"

#include "schedule/Periods.h"

#include "runtime/form.h"

#include <array>

class TBevel;
class TcxButtonEdit;
class TcxCheckBox;
class TcxDateEdit;
class TcxGroupBox;
class TcxImageComboBox;
class TcxLabel;
class TcxMemo;
class TcxTextEdit;
class TcxTimeEdit;
class TDataSet;
class TFrame2;
class THR_Employee;
class WarningsPanel;
struct ExchangeDraft;

// The exchange editor: the modal dialog in which the user enters a new shift
// exchange or changes one. Beside the periods he enters it shows the periods the
// attendance plan foresees for that day, and it keeps the work time in minutes up
// to date while the periods change. It exists only inside one call of
// ShowKqExchgClassEdt, which creates, fills, shows and destroys it.
class TKqExchgClassEdtFrm : public TForm
{
    Q_OBJECT
public:
    explicit TKqExchgClassEdtFrm(QWidget *parent = nullptr);
    ~TKqExchgClassEdtFrm() override;

    // Shows in the planned-time boxes what the plan foresees for the employee on
    // that day, projecting his last rotating shift when the plan has no row for it.
    void LoadPlanTime(const QString &EmployeeCode, const QString &ExchgDate);
    // The work time of the entered periods, into the work-time box.
    void CalcWorkTime();
    // Refuses, through the host's error report, a second exchange of the employee
    // on that day and periods out of order or overlapping; true otherwise.
    bool CheckData();

private:
    friend bool ShowKqExchgClassEdt(const QString &Caption, const QString &ID);

    void buildLayout();
    void buildExchangeBox();
    // The four time boxes of a group, numbered from first.
    std::array<TcxTimeEdit *, 4> buildTimeBox(TcxGroupBox *box, int first);
    void buildWorkTimeBox();
    void connectHandlers();
    // The working-time warnings under the designed controls: new beside the
    // module's own behaviour, which they never change.
    void buildWarningsPanel();
    void connectWarnings();
    void showWarnings();
    ExchangeDraft draft() const;
    Schedule::Periods enteredPeriods() const;

    void openNew();
    void openRecord(const QString &id);
    void loadRecord(const TDataSet &row);
    void takeEmployee(const THR_Employee &employee);
    void forgetEmployee();
    void setPlannedTimes(const std::array<QString, 4> &times);
    void projectRotatingShift(const TDataSet &lastDay, const QString &exchgDate);
    bool askToGoOn(const QString &question);
    void closeWithoutSaving();
    std::array<TcxTimeEdit *, 4> afterExchangeBoxes() const;
    EditorStatements::Entry entry() const;

    void Frame21bbtnOKClick();
    void Frame21bbtnCloseClick();
    void cxTimeEdit5PropertiesChange();
    void cxTimeEdit6PropertiesChange();
    void cxTimeEdit7PropertiesChange();
    void cxTimeEdit8PropertiesChange();
    void cxCheckBox1Click();
    void edtPersonNamePropertiesButtonClick();
    void edtExchgDatePropertiesCloseUp();
    void cxExchgeReasonEnter();
    bool InsertData();
    bool UpdateData();

    TcxGroupBox *cxGroupBox1;
    // "调班信息"
    TcxGroupBox *cxGroupBox2;
    TcxLabel *Label1;
    TcxButtonEdit *edtPersonName;
    TcxLabel *Label2;
    TcxDateEdit *edtExchgDate;
    TcxLabel *Label3;
    TcxTextEdit *edtEmployeeName;
    TcxLabel *Label4;
    TcxImageComboBox *cbbdeptname;
    TcxLabel *Label5;
    TcxMemo *cxExchgeReason;
    // "计划上班时间": read only, written by LoadPlanTime alone.
    TcxGroupBox *cxGroupBox3;
    TcxTimeEdit *cxTimeEdit1;
    TcxTimeEdit *cxTimeEdit2;
    TcxTimeEdit *cxTimeEdit3;
    TcxTimeEdit *cxTimeEdit4;
    // "调班后上班时间"
    TcxGroupBox *cxGroupBox4;
    TcxTimeEdit *cxTimeEdit5;
    TcxTimeEdit *cxTimeEdit6;
    TcxTimeEdit *cxTimeEdit7;
    TcxTimeEdit *cxTimeEdit8;
    // Rest day and work time.
    TcxGroupBox *cxGroupBox5;
    TcxCheckBox *cxCheckBox1;
    TcxLabel *Label6;
    TcxTextEdit *edtWorkTime;
    TcxLabel *Label7;
    // "说明"
    TcxGroupBox *cxGroupBox6;
    TcxMemo *mmRemark;
    TFrame2 *Frame21;
    WarningsPanel *m_warnings;

    // True once a save succeeded: the result of ShowKqExchgClassEdt.
    bool FSaved = false;
    // The ID of the exchange being changed; empty while a new one is entered.
    QString FID;
    // The employee the exchange is for (HR_Employee.EmployeeCode): every statement
    // uses it, the box shows only his job number or name.
    QString m_employeeCode;
    // The user declined to go on before the dialog was shown: it is not shown.
    bool m_declined = false;
};

// Opens the exchange editor modally with Caption: for the stored exchange ID, or
// for a new one when ID is empty. True when an exchange was saved.
bool ShowKqExchgClassEdt(const QString &Caption, const QString &ID);
