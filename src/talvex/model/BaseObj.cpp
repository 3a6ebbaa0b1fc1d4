#include "BaseObj.h"

TBaseObj::TBaseObj(QObject *parent)
    : QObject(parent)
{
}
