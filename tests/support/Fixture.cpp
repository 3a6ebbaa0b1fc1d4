#include "Fixture.h"

#include "hostapp/db/PgRoles.h"
#include "hostapp/db/Schema.h"

using namespace Qt::StringLiterals;

Fixture::Fixture(const QString &ownerRole)
    : m_database(ownerRole)
{
    Database &db = m_database.db();
    TransactionScope transaction(db);
    Schema::createTables(db);
    db.execute(uR"sql(
INSERT INTO Sys_Dept (ID, ParentID, DeptCode, DeptName, TelNo, Sort) VALUES
    (1, -1, '01', '生产部', '0571-1', 1),
    (2, 1, '0101', '一车间', '0571-2', 2),
    (3, 2, '010101', '一车间甲班', '0571-3', 3),
    (4, -1, '02', '营销中心', '0571-4', 4),
    (5, 4, '0201', '华东销售部', '0571-5', 5),
    (6, -1, '9', '后勤保障部', NULL, 6);
INSERT INTO HR_StationInfo VALUES ('01', '操作工'), ('02', '班组长');
INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, PyCode, Sex, Birthday, Age,
                         DeptCode, StationCode, WorkStatus, DELETED) VALUES
    (1, 'E001', '10001', '王芳', 'WF', 0, '1990-05-17', 36, '010101', '01', 0, 0),
    (2, 'E002', 'HT10002', '欧阳 雪', 'OYX', 0, NULL, NULL, '0101', '02', 4, 0),
    (3, 'E003', '10003', '李明', 'LM', 1, '1985-01-02', 41, '0201', '01', 1, 0),
    (4, 'E004', '10004', '赵强', 'ZQ', 1, '1979-03-04', 47, '9', '01', 0, 1),
    (5, 'E005', '10005', '陈静', 'CJ', 0, '1960-07-08', 66, '02', '02', 3, 0);
INSERT INTO Kq_ClassDetail (ClassID, SubClassNo, period1Beg, period1end, period2Beg, period2end) VALUES
    ('BC4', 1, '08:00', '12:00', '13:00', '17:30'),
    ('BC4', 2, '08:00', '12:00', '13:00', '17:30'),
    ('BC4', 3, '08:00', '12:00', '13:00', '17:30'),
    ('BC4', 4, '00:00', '00:00', '00:00', '00:00'),
    ('BC3', 1, '06:00', '14:00', '00:00', '00:00'),
    ('BC3', 2, '14:00', '22:00', '00:00', '00:00'),
    ('BC3', 3, '00:00', '00:00', '00:00', '00:00'),
    ('BC2', 1, '07:00', '15:00', '00:00', '00:00'),
    ('BC2', 2, '15:00', '23:00', '00:00', '00:00'),
    ('BC1', 1, '08:30', '12:00', '13:00', '17:00');
INSERT INTO Kq_WorkPlan VALUES
    ('E001', '2026-11-28', '08:00', '12:00', '13:00', '17:30', 1, 'BC4', 1),
    ('E001', '2026-11-29', '08:00', '12:00', '13:00', '17:30', 1, 'BC4', 2),
    ('E001', '2026-11-30', '08:00', '12:00', '13:00', '17:30', 1, 'BC4', 3),
    ('E001', '2026-12-01', '00:00', '00:00', '00:00', '00:00', 1, 'BC4', 4),
    ('E002', '2026-11-30', '09:00', '15:00', '00:00', '00:00', 3, 'WGZ', 1),
    ('E001', '2026-12-10', '06:00', '14:00', '00:00', '00:00', 1, 'BC3', 1),
    ('E001', '2026-12-11', '14:00', '22:00', '00:00', '00:00', 1, 'BC3', 2),
    ('E002', '2026-11-01', '07:00', '15:00', '00:00', '00:00', 2, 'BC2', 1),
    ('E004', '2026-11-01', '08:30', '12:00', '13:00', '17:00', 1, 'BC1', 1),
    ('E005', '2026-09-20', '08:00', '16:00', '00:00', '00:00', 1, 'BC9', 1);
INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, period1Beg, period1End, period2Beg,
    period2End, SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason, OptorCode,
    CREATE_TIME) VALUES
    (1, 'E001', '2026-11-20', '00:00', '00:00', '00:00', '00:00', 0, 0, 0, 0, '家中有事', 'admin', '2026-11-19 09:30:00'),
    (2, 'E001', '2026-12-03', '09:00', '12:00', '13:00', '18:00', 0, 540, 1, 1, '培训', 'admin', '2026-12-01 10:00:00'),
    (3, 'E002', '2026-12-02', '07:30', '11:30', '00:00', '00:00', 0, 240, 1, 1, '设备检修', 'clerk', '2026-12-01 11:00:00'),
    (4, 'E003', '2026-12-04', '00:00', '00:00', '00:00', '00:00', 0, 0, 0, 0, '加班补休', 'clerk', '2026-12-02 08:00:00'),
    (5, 'E005', '2026-10-01', '08:00', '12:00', '00:00', '00:00', 0, 240, 1, 1, '临时安排', 'admin', '2026-09-30 08:00:00');
INSERT INTO Sys_Operator (ID, OperatorCode, OperatorName) VALUES (1, 'admin', '系统管理员'),
    (2, 'clerk', '人事专员'), (3, 'viewer', '查询员');
INSERT INTO Sys_OperatorRight VALUES (1, '1001', 2), (1, '9001', 2), (2, '1001', 2),
    (3, '1001', 1);
INSERT INTO Sys_OperatorDept SELECT 1, DeptCode FROM Sys_Dept;
INSERT INTO Sys_OperatorDept VALUES (2, '02'), (2, '0201');
INSERT INTO Sys_OperatorDept SELECT 3, DeptCode FROM Sys_Dept;
)sql"_s);
    Schema::restartSequence(db, 6);
    Schema::completeTables(db);
    transaction.commit();
    if (TestDatabase::backend() == DbBackend::PostgreSql)
        PgRoles::createOperatorRoles(db);
}

Database &Fixture::desk(const QString &operatorCode)
{
    Database *desk = &db();
    if (TestDatabase::backend() == DbBackend::PostgreSql) {
        std::unique_ptr<Database> &connection = m_desks[operatorCode];
        if (!connection)
            connection = m_database.connectAs(operatorCode);
        desk = connection.get();
    }
    desk->setOperatorCode(operatorCode);
    return *desk;
}
