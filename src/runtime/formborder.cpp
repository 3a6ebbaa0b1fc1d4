#include "formborder.h"

#include <QWidget>

namespace Rt {

void setDialogBorder(QWidget *form, QSize clientSize)
{
    form->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                         | Qt::MSWindowsFixedSizeDialogHint);
    form->setFixedSize(clientSize);
}

} // namespace Rt
