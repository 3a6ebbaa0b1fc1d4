#pragma once

#include "schedule/Periods.h"

#include <QDate>
#include <QString>

class Database;

// The host's own statements for new shift exchanges. The values follow the
// register's rules: WorkTime is the periods' working minutes; WorkFlag and
// ExchgType are both 0 for a rest day (no working minutes) and 1 otherwise;
// SubClassType 0 (within the day); OptorCode the writing operator; CREATE_TIME,
// and MODIFIED_TIME of a replaced row, the database's clock. Every value is bound,
// never part of the statement. The database's triggers (or a server's policies)
// refuse what the session's operator may not write, and record the history.
class ExchangeWriter
{
public:
    struct Row
    {
        QString employeeCode;
        QDate day;
        Schedule::Periods periods; // all 0 for a rest day
        QString reason;
        QString remark;
    };

    ExchangeWriter(Database &db, const QString &operatorCode);

    // Inserts the row unless the employee already has an exchange on that day,
    // also one that another desk committed a moment ago. True when inserted.
    bool insertUnlessTaken(const Row &row);
    // Inserts the row, or replaces the periods, reason and remark of the
    // exchange the employee has on that day.
    void insertOrReplace(const Row &row);

private:
    qint64 insert(const Row &row, const QString &onConflict);

    Database &m_db;
    const QString m_operatorCode;
    const QString m_clock; // the engine's expression of the database's clock
};
