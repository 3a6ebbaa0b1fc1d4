#include "disabledtext.h"

#include <QWidget>

namespace Rt {

void keepTextReadableWhenDisabled(QWidget *editor)
{
    QPalette palette = editor->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    editor->setPalette(palette);
}

} // namespace Rt
