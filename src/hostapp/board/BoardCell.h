#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One employee's day as the board selects it: what batch exchanges and swaps are
// asked to write.
struct BoardCell
{
    QString employeeCode; // EmployeeCode, as plans and exchanges refer to it
    QDate day;

    friend bool operator==(const BoardCell &, const BoardCell &) = default;
};

using BoardCells = QList<BoardCell>;
