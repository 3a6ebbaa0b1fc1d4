#pragma once

#include "BaseObj.h"

// A row of HR_Employee. Date-times are days since 1899-12-30, 0 when empty.
// WorkStatus: 0 在职, 1 离职, 2 离休, 3 退休, 4 试用; on an object handed to the
// employee picker, -1 asks for every status.
class MODEL_EXPORT THR_Employee : public TBaseObj
{
    Q_OBJECT
    Q_PROPERTY(QString EmployeeCode MEMBER EmployeeCode)
    Q_PROPERTY(QString JobNumber MEMBER JobNumber)
    Q_PROPERTY(QString PersonName MEMBER PersonName)
    Q_PROPERTY(QString PyCode MEMBER PyCode)
    Q_PROPERTY(int Sex MEMBER Sex)
    Q_PROPERTY(QString CertNo MEMBER CertNo)
    Q_PROPERTY(double Birthday MEMBER Birthday)
    Q_PROPERTY(int Age MEMBER Age)
    Q_PROPERTY(QString NativePlace MEMBER NativePlace)
    Q_PROPERTY(QString Nation MEMBER Nation)
    Q_PROPERTY(QString DiplomaCode MEMBER DiplomaCode)
    Q_PROPERTY(QString GraduateSchool MEMBER GraduateSchool)
    Q_PROPERTY(QString DeptCode MEMBER DeptCode)
    Q_PROPERTY(QString StationCode MEMBER StationCode)
    Q_PROPERTY(QString JobTitleCode MEMBER JobTitleCode)
    Q_PROPERTY(double InviteDate MEMBER InviteDate)
    Q_PROPERTY(double InDate MEMBER InDate)
    Q_PROPERTY(int ProbationPeriod MEMBER ProbationPeriod)
    Q_PROPERTY(double ProbationBegin MEMBER ProbationBegin)
    Q_PROPERTY(double ProbationEnd MEMBER ProbationEnd)
    Q_PROPERTY(double WorkDate MEMBER WorkDate)
    Q_PROPERTY(QString WorkTypeCode MEMBER WorkTypeCode)
    Q_PROPERTY(int WorkStatus MEMBER WorkStatus)
    Q_PROPERTY(int Checkup MEMBER Checkup)
    Q_PROPERTY(QString Health MEMBER Health)
    Q_PROPERTY(int MarriageStatus MEMBER MarriageStatus)
    Q_PROPERTY(QString PolityCode MEMBER PolityCode)
    Q_PROPERTY(QString HouseholdsTypeCode MEMBER HouseholdsTypeCode)
    Q_PROPERTY(QString HouseholdsCode MEMBER HouseholdsCode)
    Q_PROPERTY(QString HomeAddress MEMBER HomeAddress)
    Q_PROPERTY(QString HomeTelNo MEMBER HomeTelNo)
    Q_PROPERTY(int ImageID MEMBER ImageID)
    Q_PROPERTY(QString SSN MEMBER SSN)
    Q_PROPERTY(QString MobileNo MEMBER MobileNo)
    Q_PROPERTY(QString Remark MEMBER Remark)
    Q_PROPERTY(QString OptorCode MEMBER OptorCode)
    Q_PROPERTY(double CREATE_TIME MEMBER CREATE_TIME)
    Q_PROPERTY(double MODIFIED_TIME MEMBER MODIFIED_TIME)
    Q_PROPERTY(int DELETED MEMBER DELETED)
public:
    Q_INVOKABLE explicit THR_Employee(QObject *parent = nullptr);

    QString EmployeeCode;
    QString JobNumber;
    QString PersonName;
    QString PyCode;
    int Sex = 0;
    QString CertNo;
    double Birthday = 0.0;
    int Age = 0;
    QString NativePlace;
    QString Nation;
    QString DiplomaCode;
    QString GraduateSchool;
    QString DeptCode;
    QString StationCode;
    QString JobTitleCode;
    double InviteDate = 0.0;
    double InDate = 0.0;
    int ProbationPeriod = 0;
    double ProbationBegin = 0.0;
    double ProbationEnd = 0.0;
    double WorkDate = 0.0;
    QString WorkTypeCode;
    int WorkStatus = 0;
    int Checkup = 0;
    QString Health;
    int MarriageStatus = 0;
    QString PolityCode;
    QString HouseholdsTypeCode;
    QString HouseholdsCode;
    QString HomeAddress;
    QString HomeTelNo;
    int ImageID = 0;
    QString SSN;
    QString MobileNo;
    QString Remark;
    QString OptorCode;
    double CREATE_TIME = 0.0;
    double MODIFIED_TIME = 0.0;
    int DELETED = 0;
};
