#pragma once

#include "runtime/rtglobal.h"

#include <QString>

class TcxGrid;
class TcxTreeList;

// Writes the active view of grid to an .xls file: the visible columns in display
// order, their captions as a bold header row, every record with the values as the
// grid shows them (value-list descriptions, not codes), numbers as numbers, dates
// with a date format, and the footer summaries below. More records than one sheet
// holds continue on further sheets. Raises Rt::Exception when the file cannot be
// written; a long export shows its progress and keeps the windows painting.
RT_EXPORT void ExportGrid4ToExcel(const QString &fileName, TcxGrid *grid, bool expand, bool saveAll,
                                  bool useNativeFormat, const QString &unitCode,
                                  const QString &fileExt, bool selectedOnly);

// Writes the visible columns of treeList and every node, expanded or not, in
// depth-first order, each node's level shown by the indentation of its first cell.
RT_EXPORT void cxExportTL4ToExcel(const QString &fileName, TcxTreeList *treeList, bool expand,
                                  bool saveAll, bool useNativeFormat, const QString &unitCode);
