#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Reading the change history of the shift exchanges that the database records
// (Schema.h): who changed which exchange when, and how.
namespace ExchangeHistory {

struct Filter
{
    QDate from; // the first and last day of the changes, both included
    QDate to;
    QString operatorCode; // empty: every operator
    // Empty: every employee. Otherwise an employee code or a job number, or a
    // part of a name.
    QString employee;
    // The operator who reads: only changes to employees of his departments
    // (Sys_OperatorDept) are listed.
    QString viewerCode;
};

struct Change
{
    qint64 id = 0;
    QString changedAt; // "yyyy-mm-dd hh:mm:ss", the database's clock
    QString kind;      // INSERT, UPDATE or DELETE
    QString operatorCode;
    QString employeeCode; // after the change, or before a delete
    QString personName;   // of that employee, when he is still on file
    // The exchange's columns (fields()) in the text forms the lists show; all
    // empty before an insert and after a delete.
    QStringList before;
    QStringList after;

    // Whether a field differs before and after.
    bool changed(int field) const { return before.at(field) != after.at(field); }
};

// The columns of a shift exchange, in table order: before and after hold one
// text each.
QStringList fields();

// The changes that match, the latest first.
QList<Change> find(Database &db, const Filter &filter);

} // namespace ExchangeHistory
