#include "framebottom2.h"
#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFrame2::TFrame2(QWidget *parent)
    : TFrame(parent)
{
    setObjectName(u"Frame2"_s);
    auto *strip = new QVBoxLayout(this);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);

    auto *bvlTop = new TBevel(this);
    bvlTop->setObjectName(u"bvlTop"_s);
    bvlTop->setShape(TBevel::Shape::TopLine);
    bvlTop->setFixedHeight(2);
    strip->addWidget(bvlTop);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    strip->addLayout(row, 1);

    auto *pnlLeft = new TPanel(this);
    pnlLeft->setObjectName(u"pnlLeft"_s);
    pnlLeft->setBevelOuter(Rt::BevelCut::None);
    row->addWidget(pnlLeft, 1);
    cbContinue = new TcxCheckBox(u"连续增加"_s, pnlLeft);
    cbContinue->setObjectName(u"cbContinue"_s);
    cbContinue->setGeometry(12, 12, 90, 19);

    auto *pnlRight = new TPanel(this);
    pnlRight->setObjectName(u"pnlRight"_s);
    pnlRight->setBevelOuter(Rt::BevelCut::None);
    pnlRight->setFixedWidth(243);
    row->addWidget(pnlRight);

    auto *pnlButtons = new TPanel(pnlRight);
    pnlButtons->setObjectName(u"pnlButtons"_s);
    pnlButtons->setBevelOuter(Rt::BevelCut::Lowered);
    pnlButtons->setGeometry(8, 3, 227, 37);

    bbtnOK =
        FrameButtons::button(pnlButtons, u"bbtnOK"_s, u"确定(&O)"_s, FrameButtons::tick(), {30, 6});
    bbtnClose = FrameButtons::button(pnlButtons, u"bbtnClose"_s, u"取消(&C)"_s,
                                     FrameButtons::cross(), {122, 6});
    setTabOrder(bbtnOK, bbtnClose);
    setTabOrder(bbtnClose, cbContinue);
}
