#include "FrameButtons.h"

#include "runtime/controls/cxcontrols.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPolygonF>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace FrameButtons {

namespace {

// A 16 x 16 glyph with one stroked sign.
QIcon glyph(const QColor &color, const std::function<void(QPainter &)> &sign)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    sign(p);
    return QIcon(pixmap);
}

QIcon tick()
{
    return glyph(QColor(0x2E, 0x9B, 0x4F), [](QPainter &p) {
        p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    });
}

QIcon cross()
{
    return glyph(QColor(0xC9, 0x3C, 0x37), [](QPainter &p) {
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
}

TcxButton *button(QWidget *parent, const QString &name, const QString &caption, const QIcon &glyph,
                  QPoint at)
{
    auto *b = new TcxButton(caption, parent);
    b->setObjectName(name);
    b->setGlyph(glyph);
    b->setGeometry(QRect(at, QSize(75, 25)));
    return b;
}

} // namespace

QHBoxLayout *rowUnderTopLine(QWidget *frame)
{
    auto *strip = new QVBoxLayout(frame);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);

    auto *bvlTop = new TBevel(frame);
    bvlTop->setObjectName(u"bvlTop"_s);
    bvlTop->setShape(TBevel::Shape::TopLine);
    bvlTop->setFixedHeight(2);
    strip->addWidget(bvlTop);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    strip->addLayout(row, 1);
    return row;
}

TPanel *buttonBox(QWidget *frame, QHBoxLayout *row, int width, const QRect &boxGeometry)
{
    auto *pnlRight = new TPanel(frame);
    pnlRight->setObjectName(u"pnlRight"_s);
    pnlRight->setBevelOuter(Rt::BevelCut::None);
    pnlRight->setFixedWidth(width);
    row->addWidget(pnlRight);

    auto *pnlButtons = new TPanel(pnlRight);
    pnlButtons->setObjectName(u"pnlButtons"_s);
    pnlButtons->setBevelOuter(Rt::BevelCut::Lowered);
    pnlButtons->setGeometry(boxGeometry);
    return pnlButtons;
}

TcxButton *confirmButton(QWidget *box, const QString &name, QPoint at)
{
    return button(box, name, u"确定(&O)"_s, tick(), at);
}

TcxButton *cancelButton(QWidget *box, QPoint at)
{
    return button(box, u"bbtnClose"_s, u"取消(&C)"_s, cross(), at);
}

} // namespace FrameButtons
