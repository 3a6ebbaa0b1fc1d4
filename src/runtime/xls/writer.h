#pragma once

#include "workbook.h"

#include <QByteArray>

// Saves a workbook as an Excel 97-2003 file: a BIFF8 workbook stream inside a
// compound file.
namespace Rt::Xls {

// The workbook stream: the globals substream, then one substream per sheet.
RT_EXPORT QByteArray workbookStream(const Workbook &workbook);

// Writes fileName whole or not at all; raises Rt::Exception when it cannot.
RT_EXPORT void writeWorkbook(const Workbook &workbook, const QString &fileName);

} // namespace Rt::Xls
