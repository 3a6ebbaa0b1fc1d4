#include "WorkWindow.h"

using namespace Qt::StringLiterals;

TWorkWindowForm::TWorkWindowForm(QWidget *parent)
    : TDllWindowForm(parent)
{
    setObjectName(u"WorkWindowForm"_s);
    setCaption(u"WorkWindowForm"_s);
    resize(989, 449);
}
