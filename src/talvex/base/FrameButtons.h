#pragma once

#include <QPoint>
#include <QString>

class QIcon;
class QWidget;
class TcxButton;

// The parts the module's bottom button frames share.
namespace FrameButtons {

// The 16 x 16 glyphs of the confirming and the cancelling button.
QIcon tick();
QIcon cross();

// A 75 x 25 button with a glyph, placed at left, top in parent.
TcxButton *button(QWidget *parent, const QString &name, const QString &caption, const QIcon &glyph,
                  QPoint at);

} // namespace FrameButtons
