// The designed layout of the exchange editor: positions, sizes, captions and tab
// order.

#include "FrmKqExchgClassEdt.h"

#include "runtime/accessibility.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/formborder.h"
#include "talvex/base/framebottom2.h"

#include <QTextDocument>
#include <QVBoxLayout>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

TcxGroupBox *groupBox(QWidget *parent, const QString &name, const QString &caption, QRect at)
{
    auto *box = new TcxGroupBox(parent);
    box->setObjectName(name);
    box->setCaption(caption);
    box->setGeometry(at);
    return box;
}

template <typename Editor> Editor *editor(QWidget *parent, const QString &name, QRect at)
{
    auto *edit = new Editor(parent);
    edit->setObjectName(name);
    edit->setGeometry(at);
    return edit;
}

} // namespace

void TKqExchgClassEdtFrm::buildLayout()
{
    setObjectName(u"KqExchgClassEdtFrm"_s);
    Rt::setDialogBorder(this, {481, 572});

    auto *docks = new QVBoxLayout(this);
    docks->setContentsMargins(0, 0, 0, 0);
    docks->setSpacing(0);
    cxGroupBox1 = new TcxGroupBox(this);
    cxGroupBox1->setObjectName(u"cxGroupBox1"_s);
    cxGroupBox1->setBorderless(true);
    docks->addWidget(cxGroupBox1, 1);
    Frame21 = new TFrame2(this);
    Frame21->setObjectName(u"Frame21"_s);
    Frame21->setFixedHeight(45);
    docks->addWidget(Frame21);

    buildExchangeBox();

    cxGroupBox3 = groupBox(cxGroupBox1, u"cxGroupBox3"_s, u"计划上班时间"_s, {24, 138, 431, 101});
    const auto planned = buildTimeBox(cxGroupBox3, 1);
    std::tie(cxTimeEdit1, cxTimeEdit2, cxTimeEdit3, cxTimeEdit4) = std::tuple_cat(planned);
    for (TcxTimeEdit *edit : planned)
        edit->setReadOnly(true);

    cxGroupBox4 = groupBox(cxGroupBox1, u"cxGroupBox4"_s, u"调班后上班时间"_s, {24, 253, 433, 102});
    std::tie(cxTimeEdit5, cxTimeEdit6, cxTimeEdit7, cxTimeEdit8) =
        std::tuple_cat(buildTimeBox(cxGroupBox4, 5));

    buildWorkTimeBox();

    cxGroupBox6 = groupBox(cxGroupBox1, u"cxGroupBox6"_s, u"说明"_s, {24, 416, 435, 41});
    auto *remarkFill = new QVBoxLayout(cxGroupBox6);
    remarkFill->setContentsMargins(4, 0, 4, 1);
    mmRemark = new TcxMemo(cxGroupBox6);
    mmRemark->setObjectName(u"mmRemark"_s);
    // One line of text fits the designed height without a scroll bar.
    mmRemark->document()->setDocumentMargin(1);
    remarkFill->addWidget(mmRemark);
    // No label stands before the remark: its box's caption names it.
    Rt::setAccessibleName(mmRemark, cxGroupBox6->caption());

    buildWarningsPanel();

    const QList<QWidget *> tabOrder = {
        edtPersonName, edtExchgDate,    cxExchgeReason,     edtEmployeeName,     cbbdeptname,
        cxTimeEdit1,   cxTimeEdit2,     cxTimeEdit3,        cxTimeEdit4,         cxTimeEdit5,
        cxTimeEdit6,   cxTimeEdit7,     cxTimeEdit8,        cxCheckBox1,         edtWorkTime,
        mmRemark,      Frame21->bbtnOK, Frame21->bbtnClose, Frame21->cbContinue,
    };
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

// Employee, day, name, department and reason: three rows of two columns.
void TKqExchgClassEdtFrm::buildExchangeBox()
{
    cxGroupBox2 = groupBox(cxGroupBox1, u"cxGroupBox2"_s, u"调班信息"_s, {25, 6, 431, 131});

    Label1 = TcxLabel::place(cxGroupBox2, u"Label1"_s, u"员工工号："_s, {14, 27});
    edtPersonName = editor<TcxButtonEdit>(cxGroupBox2, u"edtPersonName"_s, {78, 23, 120, 21});
    edtPersonName->setCharCase(Rt::CharCase::Upper);
    // Disabled in modify mode, where it still tells whose exchange it is.
    Rt::keepTextReadableWhenDisabled(edtPersonName);
    Label2 = TcxLabel::place(cxGroupBox2, u"Label2"_s, u"调班时间："_s, {222, 27});
    edtExchgDate = editor<TcxDateEdit>(cxGroupBox2, u"edtExchgDate"_s, {286, 23, 120, 21});

    Label3 = TcxLabel::place(cxGroupBox2, u"Label3"_s, u"姓    名："_s, {14, 55});
    edtEmployeeName = editor<TcxTextEdit>(cxGroupBox2, u"edtEmployeeName"_s, {78, 51, 120, 21});
    edtEmployeeName->setEnabled(false);
    edtEmployeeName->setReadOnly(true);
    edtEmployeeName->setMaxLength(16);
    // Name and department confirm whom the user picked: they read in full colour.
    Rt::keepTextReadableWhenDisabled(edtEmployeeName);
    Label4 = TcxLabel::place(cxGroupBox2, u"Label4"_s, u"所在部门："_s, {222, 55});
    cbbdeptname = editor<TcxImageComboBox>(cxGroupBox2, u"cbbdeptname"_s, {286, 51, 120, 21});
    cbbdeptname->setEnabled(false);
    Rt::keepTextReadableWhenDisabled(cbbdeptname);

    Label5 = TcxLabel::place(cxGroupBox2, u"Label5"_s, u"调班理由："_s, {14, 85});
    cxExchgeReason = editor<TcxMemo>(cxGroupBox2, u"cxExchgeReason"_s, {78, 81, 318, 36});
}

// Period 1 above period 2, a line between them, begin at the left and end at the
// right of each row; the boxes are bold so that the times read at a glance.
std::array<TcxTimeEdit *, 4> TKqExchgClassEdtFrm::buildTimeBox(TcxGroupBox *box, int first)
{
    static constexpr const char16_t *captions[] = {u"时段一上班：", u"时段一下班：",
                                                   u"时段二上班：", u"时段二下班："};
    std::array<TcxTimeEdit *, 4> edits;
    for (int i = 0; i < 4; ++i) {
        const int top = i < 2 ? 22 : 64;
        const int left = i % 2 == 0 ? 30 : 230;
        TcxLabel::place(box, u"Label%1"_s.arg(first + i + 7), QString::fromUtf16(captions[i]),
                        {left, top + 6});
        TcxTimeEdit *edit =
            editor<TcxTimeEdit>(box, u"cxTimeEdit%1"_s.arg(first + i), {left + 76, top, 100, 26});
        edit->setFont(Rt::formFont(14, true));
        edits[size_t(i)] = edit;
    }
    auto *separator = new TBevel(box);
    separator->setObjectName(u"Bevel%1"_s.arg(first == 1 ? 1 : 2));
    separator->setShape(TBevel::Shape::TopLine);
    separator->setGeometry(10, 56, box->width() - 20, 2);
    return edits;
}

void TKqExchgClassEdtFrm::buildWorkTimeBox()
{
    cxGroupBox5 = groupBox(cxGroupBox1, u"cxGroupBox5"_s, QString(), {26, 363, 434, 52});
    cxCheckBox1 = new TcxCheckBox(u"调休"_s, cxGroupBox5);
    cxCheckBox1->setObjectName(u"cxCheckBox1"_s);
    cxCheckBox1->setGeometry(30, 17, 70, 19);
    Label6 = TcxLabel::place(cxGroupBox5, u"Label6"_s, u"上班时间"_s, {200, 20});
    edtWorkTime = editor<TcxTextEdit>(cxGroupBox5, u"edtWorkTime"_s, {256, 15, 100, 21});
    edtWorkTime->setReadOnly(true);
    edtWorkTime->setText(u"0"_s);
    Label7 = TcxLabel::place(cxGroupBox5, u"Label7"_s, u"分钟"_s, {362, 20});
}
