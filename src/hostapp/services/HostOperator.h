#pragma once

#include "talvex/model/BaseObj.h"

// The logged-in operator as the host hands it to the plug-in: ID first, the
// operator's code second.
class THostOperator : public TBaseObj
{
    Q_OBJECT
    Q_PROPERTY(QString OperatorCode MEMBER OperatorCode)
    Q_PROPERTY(QString OperatorName MEMBER OperatorName)
public:
    Q_INVOKABLE explicit THostOperator(QObject *parent = nullptr)
        : TBaseObj(parent)
    {
    }

    QString OperatorCode;
    QString OperatorName;
};
