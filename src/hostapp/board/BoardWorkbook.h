#pragma once

#include "runtime/xls/workbook.h"

#include <QString>

class BoardModel;

// The board as an Excel 97-2003 workbook, as the window shows it: the captions,
// one row per employee with the days' texts and colours, the totals with the
// short days marked, and the legend. A sheet holds at most employeesPerSheet
// employees under its captions; the totals and the legend follow the last.
namespace BoardWorkbook {

// As many employees as a sheet holds beside its title, captions, totals and legend.
int defaultEmployeesPerSheet();

// Writes the file whole or not at all; raises Rt::Exception when it cannot.
void write(const BoardModel &model, const QString &title, const QString &fileName,
           int employeesPerSheet = defaultEmployeesPerSheet());

} // namespace BoardWorkbook
