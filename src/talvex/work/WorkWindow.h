#pragma once

#include "talvex/base/DllWindow.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Host {
class WaitMessage;
}

class QWidget;
class TcxButton;
class TcxButtonEdit;
class TcxDateEdit;
class TcxGrid;
class TcxGridColumn;
class TcxGridDBTableView;
class TcxImageComboBox;
class TcxLabel;
class TcxPageControl;
class TcxSplitter;
class TcxStyle;
class TcxTabControl;
class TcxTabSheet;
class TcxTreeList;
class TcxTreeListColumn;
class TcxTreeListNode;
class TcxCustomGridView;
class TDataSet;
class TDataSource;
class TdxBarLargeButton;
class TPanel;

// The shift-exchange register: the one window the plug-in hands to the host. A
// department tree on the left, a filter bar and the list of exchanges on the
// right; every statement is limited to the departments the operator may see.
class TWorkWindowForm : public TDllWindowForm
{
    Q_OBJECT
public:
    explicit TWorkWindowForm(QWidget *parent = nullptr);
    ~TWorkWindowForm() override;

    void RefreshData() override;
    void InitWindow() override;
    void FreeWindow() override;

    // Runs one list query (the default one when sql is empty) and shows its rows.
    void OpenExchangeQuery(const QString &sql);
    // The list query last chosen by the search button or the tree.
    QString querySql() const { return FQuerySql; }
    TDataSet *dataSet() const { return FDataSet; }

private:
    void buildLayout();
    void buildGrid();
    void buildDeptTree();
    void connectHandlers();

    void FormShow();
    void LoadDeptTree();
    QString BuildDeptQuery() const;
    void tlTypeListClick();
    void tlTypeListFocusedNodeChanged();
    void btnQryClick();
    void btnAddClick();
    void btnUpdateClick();
    void btnDeleteClick();
    void TableKQExchangeClassCellDblClick();
    void requireChangeRight();
    bool hasRecord() const;
    void runThenRequery(const std::function<void(const Host::WaitMessage &)> &command);
    // The IDs of the listed exchanges, in the list's order.
    QStringList listedIds() const;
    // The focused exchange's ID; empty when the list is empty.
    QString focusedId() const;
    bool focusExchange(const QString &id);
    void noteSavedOutsideSearch();
    void edtEmployeeCodePropertiesButtonClick();
    TcxStyle *ColWorkFlagStylesGetContentStyle(TcxCustomGridView *sender, int recordIndex,
                                               TcxGridColumn *item);
    void fillDefaultDateRange();
    void replaceDataSet(TDataSet *dataSet);

    // Toolbar.
    TdxBarLargeButton *btnAdd;
    TdxBarLargeButton *btnUpdate;
    TdxBarLargeButton *btnDelete;
    // Left: department tree.
    TcxSplitter *cxSplitter1;
    TPanel *Panel1;
    TcxPageControl *cxPageControl1;
    TcxTabSheet *cxTabSheet1;
    TcxTreeList *tlTypeList;
    TcxTreeListColumn *colDeptName_list;
    TcxTreeListColumn *colDeptCode_list;
    // Right: filter bar and grid.
    TPanel *Panel2;
    TcxTabControl *cxTabControl1;
    TcxLabel *Label7;
    TcxDateEdit *edtBeginDate;
    TcxLabel *Label3;
    TcxDateEdit *edtEndDate;
    TcxLabel *Label6;
    TcxImageComboBox *cxExchgType;
    TcxLabel *Label1;
    TcxLabel *Label2;
    TcxButtonEdit *edtEmployeeCode;
    TcxButton *btnQry;
    TcxGrid *cxGrid3;
    TcxGridDBTableView *TableKQExchangeClass;
    TcxGridColumn *ColPersonName;
    TcxGridColumn *ColWorkTime;
    TcxGridColumn *ColExchgDate;
    TcxGridColumn *ColWorkFlag;
    TDataSource *DataSource1;

    QString FQuerySql;
    TDataSet *FDataSet = nullptr;
    // The rest-day styles handed to the grid, one for even and one for odd rows;
    // they live as long as the window.
    TcxStyle *m_restDayStyles[2];
};
