#pragma once

#include "BaseObj.h"

class TcxTreeListNode;

// A row of Sys_Dept.
class MODEL_EXPORT TSys_Dept : public TBaseObj
{
    Q_OBJECT
    Q_PROPERTY(QString ParentID MEMBER ParentID)
    Q_PROPERTY(QString DeptCode MEMBER DeptCode)
    Q_PROPERTY(QString DeptShortCode MEMBER DeptShortCode)
    Q_PROPERTY(QString DeptName MEMBER DeptName)
    Q_PROPERTY(QString DeptLeader MEMBER DeptLeader)
    Q_PROPERTY(QString TelNo MEMBER TelNo)
    Q_PROPERTY(QString FaxNo MEMBER FaxNo)
    Q_PROPERTY(QString Email MEMBER Email)
    Q_PROPERTY(int Sort MEMBER Sort)
    Q_PROPERTY(QString Remark MEMBER Remark)
public:
    Q_INVOKABLE explicit TSys_Dept(QObject *parent = nullptr);

    QString ParentID; // "-1" for a top-level department
    QString DeptCode;
    QString DeptShortCode;
    QString DeptName;
    QString DeptLeader;
    QString TelNo;
    QString FaxNo;
    QString Email;
    int Sort = 0;
    QString Remark;

    // The tree node that shows this department; not owned, not published.
    TcxTreeListNode *TreeNode = nullptr;
};
