#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QHBoxLayout;
class QWidget;
class TcxButton;
class TPanel;

// The parts the module's bottom button frames share; each frame places them as
// it was designed.
namespace FrameButtons {

// Lays frame out as a line along its top edge over a row that takes the rest of
// its height; returns the row, without margins.
QHBoxLayout *rowUnderTopLine(QWidget *frame);

// A borderless panel of that width at the row's end, holding the sunken box at
// boxGeometry; returns the box.
TPanel *buttonBox(QWidget *frame, QHBoxLayout *row, int width, const QRect &boxGeometry);

// The 75 x 25 buttons "确定" with a tick and "取消" (bbtnClose) with a cross, placed
// at left, top in the box.
TcxButton *confirmButton(QWidget *box, const QString &name, QPoint at);
TcxButton *cancelButton(QWidget *box, QPoint at);

} // namespace FrameButtons
