#include "Sys_Dept.h"

TSys_Dept::TSys_Dept(QObject *parent)
    : TBaseObj(parent)
{
}
