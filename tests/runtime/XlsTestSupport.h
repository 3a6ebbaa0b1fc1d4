#pragma once

#include "runtime/dataset.h"
#include "runtime/grid/cxgrid.h"
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

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

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
