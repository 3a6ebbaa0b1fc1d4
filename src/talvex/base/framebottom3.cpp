#include "framebottom3.h"
#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"

#include <QHBoxLayout>

using namespace Qt::StringLiterals;

TFrame3::TFrame3(QWidget *parent)
    : TFrame(parent)
{
    setObjectName(u"Frame3"_s);
    QHBoxLayout *row = FrameButtons::rowUnderTopLine(this);
    row->addStretch();

    TPanel *box = FrameButtons::buttonBox(this, row, 201, {8, 5, 185, 37});
    bbtnEnter = FrameButtons::confirmButton(box, u"bbtnEnter"_s, {13, 6});
    bbtnClose = FrameButtons::cancelButton(box, {97, 6});
    setTabOrder(bbtnEnter, bbtnClose);
}
