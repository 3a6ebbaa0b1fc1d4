#pragma once

#include "TestDatabase.h"

#include <map>

// A database of the test run's backend (TestDatabase.h) with the schema and a
// handful of rows, entered before the change history began: it holds none.
// "Today" is 2026-12-05.
//
// Departments (ID, parent, code): 1 -1 01, 2 1 0101, 3 2 010101, 4 -1 02, 5 4 0201,
// 6 -1 9 (no phone number).
// Employees (code, job number, name, department, state, deleted):
//   E001 10001 王芳 010101 0, E002 HT10002 "欧阳 雪" 0101 4 (no birthday),
//   E003 10003 李明 0201 1, E004 10004 赵强 9 0 deleted, E005 10005 陈静 02 3.
// Shifts: BC4 (4 days: three of 08:00-12:00 + 13:00-17:30, then rest), BC3 (06:00-14:00,
// 14:00-22:00, rest), BC2 (07:00-15:00, 15:00-23:00), BC1 (every day 08:30-12:00 +
// 13:00-17:00); BC9 has lost its detail rows.
// Plans: E001 BC4 positions 1 to 4 on 2026-11-28 .. 2026-12-01, BC3 positions 1 and 2
// on 2026-12-10 and 2026-12-11; E002 BC2 position 1 (ClassType 2) on 2026-11-01 and
// irregular (ClassType 3) on 2026-11-30; E004 BC1 on 2026-11-01; E005 the lost BC9
// on 2026-09-20. E003 has no plan.
// Exchanges (ID, employee, day, type): 1 E001 2026-11-20 0, 2 E001 2026-12-03 1,
// 3 E002 2026-12-02 1, 4 E003 2026-12-04 0, 5 E005 2026-10-01 1; SEQ_OCID is at 6.
// Operators (right code 1001):
//   1 admin, level 2, every department, and level 2 on operator administration
//   (9001); 2 clerk, level 2, 02 and 0201; 3 viewer, level 1, every department.
// On SQLite none has a password: the first sign-in gives each his code. On
// PostgreSQL each operator has a login role of his code.
class Fixture
{
public:
    // ownerRole: see TestDatabase.
    explicit Fixture(const QString &ownerRole = {});

    Database &db() { return m_database.db(); }
    // Where another connection finds the same database.
    const QString &location() const { return m_database.location(); }
    std::unique_ptr<Database> connect() const { return m_database.connect(); }

    // Where and on which connection an operator works: on PostgreSQL signed in
    // as his own role, which the server holds to his rights; in a file the
    // test's own connection, told that he is its operator from now on.
    QString deskLocation(const QString &operatorCode) const
    {
        return m_database.locationAs(operatorCode);
    }
    Database &desk(const QString &operatorCode);

    static QString adminScope() { return QStringLiteral("('01','0101','010101','02','0201','9')"); }
    static QString branchScope() { return QStringLiteral("('02','0201')"); }

private:
    TestDatabase m_database;
    std::map<QString, std::unique_ptr<Database>> m_desks;
};
