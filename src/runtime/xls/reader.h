#pragma once

#include "workbook.h"

#include <QByteArray>

// Reads Excel 97-2003 files into a workbook: what our writer writes and what
// other programs write (values, formulas, shared formulas, styles, widths).
// Damaged, truncated, encrypted, older or foreign files are refused with
// Rt::Exception, its message giving the reason.
namespace Rt::Xls {

RT_EXPORT Workbook parseWorkbook(const QByteArray &file);
RT_EXPORT Workbook readWorkbook(const QString &fileName);

} // namespace Rt::Xls
