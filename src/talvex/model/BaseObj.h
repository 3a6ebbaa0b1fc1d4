#pragma once

#include "ModelGlobal.h"

#include <QObject>
#include <QString>

// A row of a table as a plain data object: its published properties carry the
// table's column names, so that code handed the class can list, read and write
// them by name. TBaseObj holds the row's ID.
class MODEL_EXPORT TBaseObj : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ID MEMBER ID)
public:
    Q_INVOKABLE explicit TBaseObj(QObject *parent = nullptr);

    QString ID;
};
