// The designed layout of the employee picker: positions, sizes, captions, columns
// and tab order.

#include "FrmQryEmployeeList.h"

#include "runtime/accessibility.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/base/framebottom3.h"

#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

TPanel *strip(QWidget *parent, const QString &name, int height)
{
    auto *panel = new TPanel(parent);
    panel->setObjectName(name);
    panel->setBevelOuter(Rt::BevelCut::None);
    panel->setFixedHeight(height);
    return panel;
}

// 16 x 16 magnifier of the query button.
QIcon magnifier()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x2F, 0x74, 0xC0);
    p.setPen(QPen(blue, 2));
    p.drawEllipse(QRectF(2, 2, 8, 8));
    p.setPen(QPen(blue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return QIcon(pixmap);
}

struct ColumnDesign
{
    TcxGridColumn *TQryEmployeeListFrm::*column;
    const char16_t *name;
    const char16_t *caption;
    const char16_t *field;
    int width;
    int minWidth;
    bool centred;
};

} // namespace

void TQryEmployeeListFrm::buildLayout()
{
    setObjectName(u"QryEmployeeListFrm"_s);
    setCaption(u"员工检索"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(485, 442);

    auto *docks = new QVBoxLayout(this);
    docks->setContentsMargins(0, 0, 0, 0);
    docks->setSpacing(0);

    // Heading strip.
    Panel1 = strip(this, u"Panel1"_s, 41);
    Panel1->setColor(palette().color(QPalette::Highlight));
    docks->addWidget(Panel1);
    Label1 = TcxLabel::place(Panel1, u"Label1"_s, u"【员工选择】"_s, {5, 14});
    Label1->setFont(Rt::formFont(14, true));
    Label1->adjustSize();
    Label2 = TcxLabel::place(Panel1, u"Label2"_s, u"输入工号或员工姓名、简拼，检索员工信息。"_s, {111, 15});
    // Text in the highlight's own text colour stays readable on the strip.
    for (TcxLabel *heading : {Label1, Label2})
        heading->setTextColor(palette().color(QPalette::HighlightedText));
    Bevel1 = new TBevel(Panel1);
    Bevel1->setObjectName(u"Bevel1"_s);
    Bevel1->setShape(TBevel::Shape::BottomLine);
    Bevel1->setGeometry(0, 39, width(), 2);

    // Condition row.
    Panel2 = strip(this, u"Panel2"_s, 41);
    docks->addWidget(Panel2);
    Label3 = TcxLabel::place(Panel2, u"Label3"_s, u"输入检索条件："_s, {17, 15});
    edtCondition = new TcxTextEdit(Panel2);
    edtCondition->setObjectName(u"edtCondition"_s);
    edtCondition->setFont(Rt::formFont(16));
    edtCondition->setCharCase(Rt::CharCase::Upper);
    edtCondition->setGeometry(103, 9, 234, 24);
    BtnQry = new TcxButton(u"查询(&Q)"_s, Panel2);
    BtnQry->setObjectName(u"BtnQry"_s);
    BtnQry->setGlyph(magnifier());
    BtnQry->setGeometry(345, 7, 75, 27);

    cxGrid = new TcxGrid(this);
    cxGrid->setObjectName(u"cxGrid"_s);
    Rt::setAccessibleName(cxGrid, u"员工列表"_s);
    docks->addWidget(cxGrid, 1);
    buildGrid();

    Frame31 = new TFrame3(this);
    Frame31->setObjectName(u"Frame31"_s);
    Frame31->setFixedHeight(49);
    docks->addWidget(Frame31);

    setTabOrder(BtnQry, edtCondition);
    setTabOrder(edtCondition, cxGrid);
    setTabOrder(cxGrid, Frame31->bbtnEnter);
    setTabOrder(Frame31->bbtnEnter, Frame31->bbtnClose);
}

void TQryEmployeeListFrm::buildGrid()
{
    TcxGridLevel *level = cxGrid->addLevel();
    level->setObjectName(u"cxGridLevel1"_s);
    TableEmployeeList = new TcxGridDBTableView(cxGrid);
    TableEmployeeList->setObjectName(u"TableEmployeeList"_s);
    level->setGridView(TableEmployeeList);

    TableEmployeeList->setEditing(false);
    TableEmployeeList->setInserting(false);
    TableEmployeeList->setDeleting(false);
    TableEmployeeList->setCellSelect(false);
    TableEmployeeList->setColumnAutoWidth(true);
    TableEmployeeList->setCellAutoHeight(true);
    TableEmployeeList->setGroupByBoxVisible(false);
    TableEmployeeList->setFooterVisible(true);
    TableEmployeeList->setColumnHeadersCentred(true);

    static constexpr ColumnDesign designs[] = {
        {&TQryEmployeeListFrm::colJobNumber, u"colJobNumber", u"工号", u"JobNumber", 81, 60, true},
        {&TQryEmployeeListFrm::colPersonName, u"colPersonName", u"姓名", u"PersonName", 75, 40,
         true},
        {&TQryEmployeeListFrm::ColSex, u"ColSex", u"性别", u"Sex", 52, 20, false},
        {&TQryEmployeeListFrm::ColWorkStatus, u"ColWorkStatus", u"人员状态", u"WorkStatus", 68, 20,
         false},
        {&TQryEmployeeListFrm::colDeptCode, u"colDeptCode", u"所在部门", u"DeptCode", 87, 20,
         false},
        {&TQryEmployeeListFrm::ColStationCode, u"ColStationCode", u"岗位", u"StationCode", 69, 20,
         false},
    };
    for (const ColumnDesign &design : designs) {
        TcxGridColumn *column = TableEmployeeList->createColumn();
        column->setObjectName(QString::fromUtf16(design.name));
        column->setCaption(QString::fromUtf16(design.caption));
        column->setFieldName(QString::fromUtf16(design.field));
        column->setWidth(design.width);
        column->setMinWidth(design.minWidth);
        column->setHeaderAlignment(Qt::AlignCenter);
        if (design.centred)
            column->setAlignment(Qt::AlignHCenter);
        this->*design.column = column;
    }
    ColSex->setValueList(TcxImageComboBoxItems({{u"0"_s, u"女"_s}, {u"1"_s, u"男"_s}}));
    // Shown only when the caller asks for every status.
    ColWorkStatus->setVisible(false);
    ColWorkStatus->setValueList(TcxImageComboBoxItems({{u"0"_s, u"在职"_s},
                                           {u"1"_s, u"离职"_s},
                                           {u"2"_s, u"离休"_s},
                                           {u"3"_s, u"退休"_s},
                                           {u"4"_s, u"试用"_s}}));

    TableEmployeeList->addFooterSummary(colJobNumber, Rt::SummaryKind::Count, u"0 条记录"_s);
}
