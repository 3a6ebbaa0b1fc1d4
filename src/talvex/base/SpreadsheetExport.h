#pragma once

class QString;
class TCell;

namespace SpreadsheetExport {

// Writes the spreadsheet control to fileName as an Excel file, every cell with word
// wrap and every formula cell with its live formula, under the host's wait notice.
void run(TCell *cell, const QString &fileName);

} // namespace SpreadsheetExport
