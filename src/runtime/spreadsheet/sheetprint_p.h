#pragma once

#include "runtime/xls/workbook.h"

class QPrinter;
class QWidget;

namespace Rt::Internal {

// Prints the used area of a sheet: its name as the title, the cells in a ruled
// table, as many pages down and across as it takes.
void printSheet(const Rt::Xls::Workbook &book, int sheet, QPrinter &printer);

// Shows the sheet in a print preview window titled "打印预览"; returns when the
// user closes it.
void previewSheet(const Rt::Xls::Workbook &book, int sheet, bool landscape, QWidget *parent);

} // namespace Rt::Internal
