#pragma once

#include <QString>

// The statements of the exchange editor, joined from fixed pieces with their exact
// blanks. Dates are "yyyy-mm-dd", times "HH:MM". Text values have their quotes
// doubled, so that no text can end its literal or change the statement; a record
// ID stands unquoted and must be a number (see isRecordId()).
namespace EditorStatements {

// What a save writes, as the dialog holds it.
struct Entry
{
    QString employeeCode;
    QString exchgDate;
    QString period1Beg;
    QString period1End;
    QString period2Beg;
    QString period2End;
    QString workTime; // decimal minutes; exactly "0" makes the day a rest day
    QString reason;
    QString remark;
    QString operatorCode;
};

// True for the ID of a stored record: decimal digits only, since it goes into
// statements unquoted.
bool isRecordId(const QString &id);

// Department codes and names for the department box.
QString departments();
// One stored exchange with its employee's name.
QString loadExchange(const QString &id);

// The employee's planned days up to a day (the blank after "count(1)" is U+3000).
QString planCount(const QString &employeeCode, const QString &exchgDate);
// The employee's last planned day on or before a day (U+3000 after "*").
QString lastPlannedDay(const QString &employeeCode, const QString &exchgDate);
// The length of a shift's cycle, and one day of it (positions count from 1).
QString cycleLength(const QString &classId);
QString cycleDay(const QString &classId, int position);

// Exchanges of the employee on that day, the record being changed left out.
QString duplicateCount(const QString &employeeCode, const QString &exchgDate, const QString &id);
// A new exchange as an anonymous block; its ID comes from SEQ_OCID.
QString insertExchange(const Entry &entry);
// The changes to a stored exchange; employee, day-crossing flag and creation time
// stay as they are.
QString updateExchange(const QString &id, const Entry &entry);

} // namespace EditorStatements
