-- A database of layout 1, as the host created it before layout 2: the shift
-- exchanges in order of entry, a unique index on employee and day, no history.
CREATE TABLE Kq_ExchangeClass (
    ID INTEGER PRIMARY KEY,
    EmployeeCode TEXT NOT NULL,
    ExchgDate DATE NOT NULL,
    period1Beg TEXT, period1End TEXT,
    period2Beg TEXT, period2End TEXT,
    period3Beg TEXT, period3End TEXT,
    SubClassType INTEGER,
    WorkTime INTEGER,
    WorkFlag INTEGER,
    ExchgType INTEGER,
    ExchgeReason TEXT,
    OptorCode TEXT,
    Remark TEXT,
    CREATE_TIME DATE,
    MODIFIED_TIME DATE,
    deleted INTEGER);

CREATE TABLE Kq_WorkPlan (
    employeecode TEXT NOT NULL,
    WorkDate DATE NOT NULL,
    period1Beg TEXT, period1end TEXT,
    period2Beg TEXT, period2end TEXT,
    ClassType INTEGER,
    ClassID TEXT,
    SubClassNo INTEGER);

CREATE TABLE Kq_ClassDetail (
    ClassID TEXT NOT NULL,
    SubClassNo INTEGER NOT NULL,
    ClassName TEXT,
    period1Beg TEXT, period1end TEXT,
    period2Beg TEXT, period2end TEXT);

CREATE TABLE HR_Employee (
    ID INTEGER PRIMARY KEY,
    EmployeeCode TEXT NOT NULL,
    JobNumber TEXT,
    PersonName TEXT,
    PyCode TEXT,
    Sex INTEGER,
    CertNo TEXT,
    Birthday DATE,
    Age INTEGER,
    NativePlace TEXT,
    Nation TEXT,
    DiplomaCode TEXT,
    GraduateSchool TEXT,
    DeptCode TEXT,
    StationCode TEXT,
    JobTitleCode TEXT,
    InviteDate DATE,
    InDate DATE,
    ProbationPeriod INTEGER,
    ProbationBegin DATE,
    ProbationEnd DATE,
    WorkDate DATE,
    WorkTypeCode TEXT,
    WorkStatus INTEGER NOT NULL DEFAULT 0,
    Checkup INTEGER,
    Health TEXT,
    MarriageStatus INTEGER,
    PolityCode TEXT,
    HouseholdsTypeCode TEXT,
    HouseholdsCode TEXT,
    HomeAddress TEXT,
    HomeTelNo TEXT,
    ImageID INTEGER,
    SSN TEXT,
    MobileNo TEXT,
    Remark TEXT,
    OptorCode TEXT,
    CREATE_TIME DATE,
    MODIFIED_TIME DATE,
    DELETED INTEGER NOT NULL DEFAULT 0);

-- ParentID -1 marks a top-level department.
CREATE TABLE Sys_Dept (
    ID INTEGER PRIMARY KEY,
    ParentID INTEGER NOT NULL,
    DeptCode TEXT NOT NULL,
    DeptShortCode TEXT,
    DeptName TEXT NOT NULL,
    DeptLeader TEXT,
    TelNo TEXT,
    FaxNo TEXT,
    Email TEXT,
    Sort INTEGER,
    Remark TEXT);

CREATE TABLE HR_StationInfo (
    StationCode TEXT PRIMARY KEY,
    StationName TEXT NOT NULL);

-- NextValue is the value the next nextval returns.
CREATE TABLE Sys_Sequence (
    SeqName TEXT PRIMARY KEY,
    NextValue INTEGER NOT NULL) WITHOUT ROWID;

CREATE TABLE Sys_Operator (
    ID INTEGER PRIMARY KEY,
    OperatorCode TEXT NOT NULL UNIQUE,
    OperatorName TEXT NOT NULL);

-- RightLevel 2 or more permits changing data, 1 only reading.
CREATE TABLE Sys_OperatorRight (
    OperatorID INTEGER NOT NULL,
    RightCode TEXT NOT NULL,
    RightLevel INTEGER NOT NULL,
    PRIMARY KEY (OperatorID, RightCode)) WITHOUT ROWID;

CREATE TABLE Sys_OperatorDept (
    OperatorID INTEGER NOT NULL,
    DeptCode TEXT NOT NULL,
    PRIMARY KEY (OperatorID, DeptCode)) WITHOUT ROWID;

INSERT INTO Sys_Sequence (SeqName, NextValue) VALUES ('SEQ_OCID', 1);
-- Duplicate check and the rule of one exchange per employee and day; also the
-- join of the lists from an employee to his exchanges in a date range.
CREATE UNIQUE INDEX UX_ExchangeClass_EmployeeDay ON Kq_ExchangeClass (EmployeeCode, ExchgDate);
-- The lists by date range over a wide department scope.
CREATE INDEX IX_ExchangeClass_Day ON Kq_ExchangeClass (ExchgDate, EmployeeCode);
-- Plan count, last planned day and the plan row of that day.
CREATE UNIQUE INDEX UX_WorkPlan_EmployeeDay ON Kq_WorkPlan (employeecode, WorkDate);
-- Cycle length and the periods of one cycle position.
CREATE UNIQUE INDEX UX_ClassDetail_Position ON Kq_ClassDetail (ClassID, SubClassNo);
-- Joins from exchanges and plans to their employee.
CREATE UNIQUE INDEX UX_Employee_Code ON HR_Employee (EmployeeCode);
-- Department scope ("DeptCode in (...)") of lists and name lists.
CREATE INDEX IX_Employee_Dept ON HR_Employee (DeptCode, EmployeeCode);
CREATE UNIQUE INDEX UX_Dept_Code ON Sys_Dept (DeptCode);
PRAGMA application_id = 1414941784; PRAGMA user_version = 1;
