#pragma once

#include "runtime/dataset.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/xls/evaluator.h"
#include "runtime/xls/workbook.h"

#include <QByteArray>
#include <QStringList>

// Helpers of the .xls tests: a listing of a workbook stream's records that golden
// files pin, a reader of the stream inside a compound file written independently
// of the runtime's, and runners for the outside programs that check our files.
namespace XlsTest {

// One line per record: id, name, length and the fields that matter for it.
QStringList recordListing(const QByteArray &stream);

// The "Workbook" stream of a version 3 compound file whose directory is one
// sector and whose streams sit in regular sectors (as the writer makes them).
QByteArray workbookStreamOf(const QByteArray &file);

// A version 3 compound file holding stream as "Workbook" in the mini stream, as
// other programs write small workbooks.
QByteArray miniStreamFile(const QByteArray &stream);

// A small book whose one sheet fills its very last cell and empties it with a
// BLANK record, again and again, as often as a mini stream file holds.
QByteArray blankedLastRowFile();

// Little-endian numbers inside a file, as the format stores them.
quint32 u32At(const QByteArray &bytes, qsizetype at);
void putU16(QByteArray &bytes, qsizetype at, quint16 v);
void putU32(QByteArray &bytes, qsizetype at, quint32 v);

QByteArray readFile(const QString &path);

Rt::Xls::Cell &put(Rt::Xls::Sheet &sheet, int row, int column, const Rt::Xls::Value &value,
                   int style = 0);
// A formula cell with the result a writer caches for it.
Rt::Xls::Cell &putFormula(Rt::Xls::Sheet &sheet, int row, int column, const QString &formula,
                          const Rt::Xls::Value &result);

// Formulas read the values the cells hold; none is computed again.
class CachedValues : public Rt::Xls::EvaluationContext
{
public:
    explicit CachedValues(const Rt::Xls::Workbook &book)
        : m_book(book)
    {}
    int sheetIndex(const QString &name) const override { return m_book.sheetIndex(name); }
    Rt::Xls::Value cellValue(int sheet, int row, int column) override;
    void forEachValue(int sheet, int top, int left, int bottom, int right,
                      const std::function<void(const Rt::Xls::Value &)> &visit) override;

private:
    const Rt::Xls::Workbook &m_book;
};

// Runs a program; returns its standard output, or fails the test with its
// standard error when it does not exit with 0.
QByteArray run(const QString &program, const QStringList &arguments, int timeoutMs = 120000);

// The file of the golden listing name in the source tree.
QString goldenPath(const QString &name);

// Exchange records: a code, a name, minutes, a work flag, a day (now and then a
// time of day too, now and then none) and a rate.
std::unique_ptr<TDataSet> exchanges(int count);

// The register's grid over a data set: date, code and name columns, a hidden
// rate, a work flag shown through a value list, minutes; a footer with the sum of
// the minutes and the count of records.
struct RegisterGrid
{
    explicit RegisterGrid(TDataSet *set);
    TcxGridColumn *add(const QString &field, const QString &caption, int width);

    TcxGrid grid;
    TDataSource source;
    TcxGridDBTableView *view = new TcxGridDBTableView(&grid);
};

} // namespace XlsTest
