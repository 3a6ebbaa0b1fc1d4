#include "framebottom2.h"
#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"

#include <QHBoxLayout>

using namespace Qt::StringLiterals;

TFrame2::TFrame2(QWidget *parent)
    : TFrame(parent)
{
    setObjectName(u"Frame2"_s);
    QHBoxLayout *row = FrameButtons::rowUnderTopLine(this);
    // The check box's panel and the buttons' panel meet without a gap.
    row->setSpacing(0);

    auto *pnlLeft = new TPanel(this);
    pnlLeft->setObjectName(u"pnlLeft"_s);
    pnlLeft->setBevelOuter(Rt::BevelCut::None);
    row->addWidget(pnlLeft, 1);
    cbContinue = new TcxCheckBox(u"连续增加"_s, pnlLeft);
    cbContinue->setObjectName(u"cbContinue"_s);
    cbContinue->setGeometry(12, 12, 90, 19);

    TPanel *box = FrameButtons::buttonBox(this, row, 243, {8, 3, 227, 37});
    bbtnOK = FrameButtons::confirmButton(box, u"bbtnOK"_s, {30, 6});
    bbtnClose = FrameButtons::cancelButton(box, {122, 6});
    setTabOrder(bbtnOK, bbtnClose);
    setTabOrder(bbtnClose, cbContinue);
}
