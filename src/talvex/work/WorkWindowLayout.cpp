// The designed layout of the shift-exchange window: positions, sizes, captions,
// columns and tab order.

#include "WorkIcons.h"
#include "WorkWindow.h"

#include "runtime/accessibility.h"
#include "runtime/barmanager.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/treelist/cxtreelist.h"

#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

struct ColumnDesign
{
    const char16_t *name;
    const char16_t *caption;
    const char16_t *field;
    bool visible;
    int minWidth;
    bool centred;
};

// The list's columns in display order.
constexpr ColumnDesign columnDesigns[] = {
    {u"colID", u"ID号", u"ID", false, 100, false},
    {u"ColEmployeeCode", u"员工编号", u"EmployeeCode", true, 80, false},
    {u"ColPersonName", u"员工姓名", u"employeecode", true, 90, false},
    {u"ColExchgDate", u"调班日期", u"ExchgDate", true, 80, true},
    {u"ColWorkTime", u"上班时长(分钟)", u"WorkTime", true, 105, false},
    {u"ColWorkFlag", u"上班标志", u"WorkFlag", true, 80, true},
    {u"ColExchgType", u"调班类型", u"ExchgType", true, 80, false},
    {u"Colperiod1Beg", u"上班时间一", u"period1Beg", true, 85, true},
    {u"Colperiod1End", u"下班时间一", u"period1End", true, 85, true},
    {u"Colperiod2Beg", u"上班时间二", u"period2Beg", true, 85, true},
    {u"Colperiod2End", u"下班时间二", u"period2End", true, 85, true},
    {u"Colperiod3Beg", u"开始时段3", u"period3Beg", false, 100, false},
    {u"Colperiod3End", u"结束时段3", u"period3End", false, 100, false},
    {u"ColSubClassType", u"跨天标志", u"SubClassType", false, 100, false},
    {u"ColExchgeReason", u"调班理由", u"ExchgeReason", true, 200, false},
    {u"ColOptorCode", u"操作员", u"OptorCode", false, 100, false},
    {u"ColRemark", u"备注", u"Remark", true, 200, false},
    {u"ColCREATE_TIME", u"创建时间", u"CREATE_TIME", false, 100, false},
    {u"ColMODIFIED_TIME", u"修改时间", u"MODIFIED_TIME", false, 80, false},
    {u"Coldeleted", u"删除标志", u"deleted", false, 80, false},
};

} // namespace

void TWorkWindowForm::buildLayout()
{
    setObjectName(u"WorkWindowForm"_s);
    setCaption(u"WorkWindowForm"_s);
    resize(989, 449);

    // Toolbar: one bar on its own row, large icons with captions.
    dxToolBar->setCaption(u"工具栏"_s);
    dxToolBar->setWholeRow(true);
    dxToolBar->setIconSize(QSize(32, 32));
    struct Item
    {
        TdxBarLargeButton *&button;
        const char16_t *name;
        const char16_t *caption;
        const char16_t *hint;
        WorkIcons::Command icon;
    };
    for (const Item &item : {
             Item{btnAdd, u"btnAdd", u"增加调班(&L)", u"增加(&A)", WorkIcons::Command::Add},
             Item{btnUpdate, u"btnUpdate", u"修改调班", u"修改调班", WorkIcons::Command::Update},
             Item{btnDelete, u"btnDelete", u"删除调班", u"删除调班", WorkIcons::Command::Delete},
         }) {
        item.button = new TdxBarLargeButton(this);
        item.button->setObjectName(QString::fromUtf16(item.name));
        item.button->setCaption(QString::fromUtf16(item.caption));
        item.button->setHint(QString::fromUtf16(item.hint));
        item.button->setLargeGlyph(WorkIcons::command(item.icon));
        dxToolBar->addItem(item.button);
    }

    // Body: department panel, splitter, filter bar over the grid.
    cxSplitter1 = new TcxSplitter(this);
    cxSplitter1->setObjectName(u"cxSplitter1"_s);
    cxSplitter1->setHandleWidth(8);
    static_cast<QVBoxLayout *>(layout())->addWidget(cxSplitter1, 1);

    Panel1 = new TPanel(cxSplitter1);
    Panel1->setObjectName(u"Panel1"_s);
    auto *left = new QVBoxLayout(Panel1);
    left->setContentsMargins(0, 0, 0, 0);
    cxPageControl1 = new TcxPageControl(Panel1);
    cxPageControl1->setObjectName(u"cxPageControl1"_s);
    left->addWidget(cxPageControl1);
    cxTabSheet1 = cxPageControl1->addPage(u"部门列表"_s);
    cxTabSheet1->setObjectName(u"cxTabSheet1"_s);
    buildDeptTree();

    Panel2 = new TPanel(cxSplitter1);
    Panel2->setObjectName(u"Panel2"_s);
    auto *right = new QVBoxLayout(Panel2);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    cxTabControl1 = new TcxTabControl(Panel2);
    cxTabControl1->setObjectName(u"cxTabControl1"_s);
    cxTabControl1->setFixedHeight(43);
    right->addWidget(cxTabControl1);

    cxSplitter1->setResizedSide(TcxSplitter::Side::Left);
    cxSplitter1->setSizes({250, width() - 250 - cxSplitter1->handleWidth()});

    // Filter bar, left to right.
    Label7 = TcxLabel::place(cxTabControl1, u"Label7"_s, u"查询时间从："_s, {12, 14});
    edtBeginDate = new TcxDateEdit(cxTabControl1);
    edtBeginDate->setObjectName(u"edtBeginDate"_s);
    edtBeginDate->setGeometry(85, 11, 88, 21);
    Label3 = TcxLabel::place(cxTabControl1, u"Label3"_s, u"至"_s, {175, 14});
    edtEndDate = new TcxDateEdit(cxTabControl1);
    edtEndDate->setObjectName(u"edtEndDate"_s);
    edtEndDate->setGeometry(191, 11, 88, 21);
    Label6 = TcxLabel::place(cxTabControl1, u"Label6"_s, u"调班类型："_s, {284, 14});
    cxExchgType = new TcxImageComboBox(cxTabControl1);
    cxExchgType->setObjectName(u"cxExchgType"_s);
    cxExchgType->setGeometry(346, 11, 80, 21);
    cxExchgType->setItems(TcxImageComboBoxItems({{u"-1"_s, u"全部"_s}, {u"0"_s, u"调休"_s}, {u"1"_s, u"调班"_s}}));
    cxExchgType->setEditValue(u"-1"_s);
    Label1 = TcxLabel::place(cxTabControl1, u"Label1"_s, u"查询条件："_s, {441, 20});
    Label2 = TcxLabel::place(cxTabControl1, u"Label2"_s, u"可输入工号或姓名进行模糊搜索"_s, {439, 3});
    Label2->setTextColor(Qt::blue);
    Label2->setFont(Rt::formFont(12));
    Label2->adjustSize();
    // The hint above the search edit is no label of it: Label1 names the edit,
    // the hint describes it.
    Label2->setFocusControl(nullptr);
    edtEmployeeCode = new TcxButtonEdit(cxTabControl1);
    edtEmployeeCode->setObjectName(u"edtEmployeeCode"_s);
    edtEmployeeCode->setGeometry(501, 17, 120, 21);
    edtEmployeeCode->setCharCase(Rt::CharCase::Upper);
    edtEmployeeCode->setAccessibleDescription(Label2->caption());
    btnQry = new TcxButton(u"检索(&Q)"_s, cxTabControl1);
    btnQry->setObjectName(u"btnQry"_s);
    btnQry->setGlyph(WorkIcons::search());
    btnQry->setGeometry(636, 11, 70, 22);

    setTabOrder(edtEmployeeCode, btnQry);
    setTabOrder(btnQry, cxExchgType);
    setTabOrder(cxExchgType, edtBeginDate);
    setTabOrder(edtBeginDate, edtEndDate);

    cxGrid3 = new TcxGrid(Panel2);
    cxGrid3->setObjectName(u"cxGrid3"_s);
    Rt::setAccessibleName(cxGrid3, u"调班记录"_s);
    right->addWidget(cxGrid3, 1);
    buildGrid();

    // The generic commands act on the first eligible control in the order the
    // window owns its components, where the design lists the list of exchanges
    // before the department tree: export and preview take the list. Qt keeps a
    // parent's children in stacking order, so raising the department panel (the
    // panels never overlap) puts it after the list without moving it on screen.
    Panel1->raise();

    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(u"DataSource1"_s);
}

void TWorkWindowForm::buildDeptTree()
{
    auto *sheetLayout = new QVBoxLayout(cxTabSheet1);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    tlTypeList = new TcxTreeList(cxTabSheet1);
    tlTypeList->setObjectName(u"tlTypeList"_s);
    sheetLayout->addWidget(tlTypeList);
    tlTypeList->setHeadersVisible(false);
    tlTypeList->setHorizontalGridLines(true);
    tlTypeList->setVerticalGridLines(true);
    tlTypeList->setColumnAutoWidth(true);
    tlTypeList->setRowSelect(true);
    tlTypeList->setImages(WorkIcons::departmentImages());
    // No label stands before the tree; its tab's caption names it.
    Rt::setAccessibleName(tlTypeList, cxTabSheet1->caption());

    colDeptName_list = tlTypeList->addColumn();
    colDeptName_list->setObjectName(u"colDeptName_list"_s);
    colDeptCode_list = tlTypeList->addColumn();
    colDeptCode_list->setObjectName(u"colDeptCode_list"_s);
    colDeptCode_list->setVisible(false);
}

void TWorkWindowForm::buildGrid()
{
    TcxGridLevel *level = cxGrid3->addLevel();
    level->setObjectName(u"cxGrid3Level1"_s);
    TableKQExchangeClass = new TcxGridDBTableView(cxGrid3);
    TableKQExchangeClass->setObjectName(u"TableKQExchangeClass"_s);
    level->setGridView(TableKQExchangeClass);

    TableKQExchangeClass->setCellSelect(false);
    TableKQExchangeClass->setColumnAutoWidth(true);
    TableKQExchangeClass->setFooterVisible(true);
    TableKQExchangeClass->setGroupByBoxVisible(false);
    TableKQExchangeClass->setColumnHeadersCentred(true);
    TableKQExchangeClass->setEditing(false);
    TableKQExchangeClass->setInserting(false);
    TableKQExchangeClass->setDeleting(false);

    for (const ColumnDesign &design : columnDesigns) {
        TcxGridColumn *column = TableKQExchangeClass->createColumn();
        column->setObjectName(QString::fromUtf16(design.name));
        column->setCaption(QString::fromUtf16(design.caption));
        column->setFieldName(QString::fromUtf16(design.field));
        column->setVisible(design.visible);
        column->setMinWidth(design.minWidth);
        column->setWidth(design.minWidth);
        column->setHeaderAlignment(Qt::AlignHCenter);
        if (design.centred)
            column->setAlignment(Qt::AlignHCenter);
    }
    auto column = [this](const QString &name) {
        return cxGrid3->findChild<TcxGridColumn *>(name);
    };
    ColPersonName = column(u"ColPersonName"_s);
    ColExchgDate = column(u"ColExchgDate"_s);
    ColWorkTime = column(u"ColWorkTime"_s);
    ColWorkFlag = column(u"ColWorkFlag"_s);
    ColWorkTime->setFooterAlignment(Qt::AlignHCenter);
    ColWorkFlag->setValueList(TcxImageComboBoxItems({{u"0"_s, u"休息"_s}, {u"1"_s, u"上班"_s}}));
    column(u"ColExchgType"_s)->setValueList(TcxImageComboBoxItems({{u"0"_s, u"调休"_s}, {u"1"_s, u"调班"_s}}));
    column(u"ColSubClassType"_s)
        ->setValueList(TcxImageComboBoxItems({{u"0"_s, u"不跨天"_s}, {u"1"_s, u"跨天"_s}}));

    TableKQExchangeClass->addFooterSummary(ColWorkTime, Rt::SummaryKind::Sum, u"合计：0"_s);
    TableKQExchangeClass->addFooterSummary(ColExchgDate, Rt::SummaryKind::Count, u"0 条记录"_s);
}
