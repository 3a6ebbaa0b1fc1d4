#include "framebottom3.h"
#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFrame3::TFrame3(QWidget *parent)
    : TFrame(parent)
{
    setObjectName(u"Frame3"_s);
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
    row->addStretch();
    strip->addLayout(row, 1);

    auto *pnlRight = new TPanel(this);
    pnlRight->setObjectName(u"pnlRight"_s);
    pnlRight->setBevelOuter(Rt::BevelCut::None);
    pnlRight->setFixedWidth(201);
    row->addWidget(pnlRight);

    auto *pnlButtons = new TPanel(pnlRight);
    pnlButtons->setObjectName(u"pnlButtons"_s);
    pnlButtons->setBevelOuter(Rt::BevelCut::Lowered);
    pnlButtons->setGeometry(8, 5, 185, 37);

    bbtnEnter = FrameButtons::button(pnlButtons, u"bbtnEnter"_s, u"确定(&O)"_s,
                                     FrameButtons::tick(), {13, 6});
    bbtnClose = FrameButtons::button(pnlButtons, u"bbtnClose"_s, u"取消(&C)"_s,
                                     FrameButtons::cross(), {97, 6});
    setTabOrder(bbtnEnter, bbtnClose);
}
