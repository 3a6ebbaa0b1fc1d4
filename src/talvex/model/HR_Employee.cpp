#include "HR_Employee.h"

THR_Employee::THR_Employee(QObject *parent)
    : TBaseObj(parent)
{
}
