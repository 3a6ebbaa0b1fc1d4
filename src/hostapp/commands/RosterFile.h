#pragma once

#include "schedule/EffectiveSchedule.h"

#include <QString>

class ScheduleRows;

// The roster as a file: a header row (员工编号, 员工姓名, 部门 and one
// yyyy-mm-dd column per day), then one row per employee with each day's
// effective schedule as CellText::cell() writes it.
namespace RosterFile {

// Whether the file name asks for a workbook (.xls) rather than text (.csv); the
// caller has refused any other name.
bool isWorkbook(const QString &fileName);

// Writes the roster to fileName. A CSV file is UTF-8; an .xls workbook goes on
// to further sheets past a sheet's 65,536 rows. Raises Rt::Exception when the
// file cannot be written.
void write(const QString &fileName, const ScheduleRows &rows, const Schedule::Grid &grid);

} // namespace RosterFile
