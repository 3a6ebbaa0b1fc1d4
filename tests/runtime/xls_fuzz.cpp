// libFuzzer's entry for the .xls reader: a file the reader accepts has its
// formulas computed and its cells shown, and is written again, so the whole path
// from bytes to cells is covered. Whatever escapes other than a refusal, crashes,
// hangs or trips a sanitizer is a finding.
//
// Cut-off files need no mutator of ours: libFuzzer's own mutations shorten
// inputs as well as change them.
#include "XlsTestSupport.h"

#include "runtime/exceptions.h"
#include "runtime/xls/evaluator.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

using namespace Rt::Xls;

namespace {

void exercise(const QByteArray &bytes)
{
    try {
        const Workbook book = parseWorkbook(bytes);
        XlsTest::CachedValues values(book);
        for (int s = 0; s < book.sheetCount(); ++s) {
            const Sheet &sheet = book.sheet(s);
            for (int row = 0; row < sheet.rowCount(); ++row) {
                for (const Cell &cell : sheet.row(row)) {
                    if (cell.formula)
                        evaluate(*cell.formula, s, values);
                    formatValue(cell.value, book.styles().at(cell.style).numberFormat);
                }
            }
        }
        workbookStream(book);
    } catch (const Rt::Exception &) {
        // A refusal: what most damaged files should get.
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    exercise(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
