#pragma once

#include "runtime/form.h"

#include <memory>

class QKeyEvent;
class TBevel;
class TcxButton;
class TcxGrid;
class TcxGridColumn;
class TcxGridDBTableView;
class TcxLabel;
class TcxTextEdit;
class TDataSet;
class TDataSource;
class TFrame3;
class THR_Employee;
class TPanel;

// The employee picker: the user searches HR_Employee by part of a job number, a
// name or its pinyin initials and chooses one employee from the list. It exists
// only inside one call of QryEmployee, which creates, shows and destroys it.
class TQryEmployeeListFrm : public TForm
{
    Q_OBJECT
public:
    explicit TQryEmployeeListFrm(QWidget *parent = nullptr);
    ~TQryEmployeeListFrm() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend bool QryEmployee(const QString &condition, THR_Employee *&employee);

    void buildLayout();
    void buildGrid();
    void connectHandlers();

    void FormCreate();
    void FormShow();
    void FormDestroy();
    bool edtConditionKeyDown(const QKeyEvent *event);
    void BtnQryClick();
    void Frame31bbtnEnterClick();
    void Frame31bbtnCloseClick();
    void TableEmployeeListCellDblClick();
    void RunQuery(const QString &condition, int mode);

    TPanel *Panel1;
    TcxLabel *Label1;
    TcxLabel *Label2;
    TBevel *Bevel1;
    TPanel *Panel2;
    TcxLabel *Label3;
    TcxTextEdit *edtCondition;
    TcxButton *BtnQry;
    TcxGrid *cxGrid;
    TcxGridDBTableView *TableEmployeeList;
    TcxGridColumn *colJobNumber;
    TcxGridColumn *colPersonName;
    TcxGridColumn *ColSex;
    TcxGridColumn *ColWorkStatus;
    TcxGridColumn *colDeptCode;
    TcxGridColumn *ColStationCode;
    TFrame3 *Frame31;

    // True once the user has chosen a row.
    bool FSelected = false;
    // Filled from the chosen row; QryEmployee hands it to its caller whatever the
    // outcome. Freed with the dialog only when a failure kept it from being handed on.
    std::unique_ptr<THR_Employee> FEmployee;
    // What the grid shows: an empty, unopened placeholder until the first query.
    TDataSet *FDataSet = nullptr;
    TDataSource *FDataSource = nullptr;
    // EmployeeSearch::allStatuses or any other value for the active employees only.
    int FWorkStatusMode = 0;
};

// Lets the user pick an employee, starting with a query for condition. employee,
// when given, is only read: WorkStatus -1 lists employees of every status, anything
// else (or no object) the active ones. Whatever the result, employee is then
// replaced by a new object that the caller owns: the chosen employee when the
// result is true, otherwise empty (or part-filled when a choice failed half-way);
// the object passed in is neither freed nor kept. An error while creating the
// dialog or during the first query leaves employee as it was and passes on.
bool QryEmployee(const QString &condition, THR_Employee *&employee);

// QryEmployee for active employees, the object it hands back owned: the chosen
// employee, or none when the user chose no one.
std::unique_ptr<THR_Employee> pickEmployee(const QString &condition);
