#include "ExchangeWriter.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/OracleDialect.h"
#include "runtime/datetime.h"

#include <QVariantList>

using namespace Qt::StringLiterals;

namespace {

// An empty text is stored as NULL, as the register's own statements store it.
QVariant textValue(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

OracleSql::Target targetOf(const Database &db)
{
    return db.backend() == DbBackend::PostgreSql ? OracleSql::Target::PostgreSql
                                                 : OracleSql::Target::Sqlite;
}

} // namespace

ExchangeWriter::ExchangeWriter(Database &db, const QString &operatorCode)
    : m_db(db)
    , m_operatorCode(operatorCode)
    , m_clock(OracleSql::databaseClock(targetOf(db)))
{}

bool ExchangeWriter::insertUnlessTaken(const Row &row)
{
    return insert(row, u"DO NOTHING"_s) > 0;
}

void ExchangeWriter::insertOrReplace(const Row &row)
{
    // SubClassType and CREATE_TIME stay those of the replaced row, as an
    // update from the register leaves them.
    insert(row, u"DO UPDATE SET period1Beg = excluded.period1Beg, period1End = excluded.period1End,"
                u" period2Beg = excluded.period2Beg, period2End = excluded.period2End,"
                u" WorkTime = excluded.WorkTime, WorkFlag = excluded.WorkFlag,"
                u" ExchgType = excluded.ExchgType, ExchgeReason = excluded.ExchgeReason,"
                u" OptorCode = excluded.OptorCode, Remark = excluded.Remark,"
                u" MODIFIED_TIME = %1"_s.arg(m_clock));
}

qint64 ExchangeWriter::insert(const Row &row, const QString &onConflict)
{
    const Schedule::Periods &p = row.periods;
    const int workTime = Schedule::workingMinutes(p);
    const int workFlag = workTime == 0 ? 0 : 1; // ExchgType alike
    // The employee and day are the table's key: a day taken meanwhile by another
    // desk meets the conflict clause instead of failing the whole transaction.
    const QString sql =
        u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, period1Beg, period1End,"
        u" period2Beg, period2End, SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason,"
        u" OptorCode, Remark, CREATE_TIME)"
        u" VALUES ($1, $2, $3, $4, $5, $6, $7, 0, $8, $9, $9, $10, $11, $12, %1)"
        u" ON CONFLICT (EmployeeCode, ExchgDate) %2"_s.arg(m_clock, onConflict);
    const qint64 id = m_db.nextSequenceValue(u"SEQ_OCID"_s);
    return m_db.execute(
        sql, {id, row.employeeCode, Rt::DateTime::toDateText(Rt::DateTime::fromDate(row.day)),
              Schedule::clockText(p.period1Beg), Schedule::clockText(p.period1End),
              Schedule::clockText(p.period2Beg), Schedule::clockText(p.period2End), workTime,
              workFlag, textValue(row.reason), m_operatorCode, textValue(row.remark)});
}
