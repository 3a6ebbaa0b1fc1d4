#pragma once

#include <QList>
#include <QStringList>

class QObject;
class QPrinter;

// One table as printed: the columns with their captions (none for a sheet), the
// texts the cells show, and the footer.
struct PrintTable
{
    QString title;
    QStringList captions;            // empty: no header row
    QList<Qt::Alignment> alignments; // one per column
    QList<QStringList> rows;
    QStringList footer; // empty when the view shows no footer
};

// What a component prints: a grid its active table view's visible columns, a
// spreadsheet book each sheet's used cells, one table a sheet. Raises for any other
// component.
QList<PrintTable> printTablesOf(QObject *component, const QString &title);

// Lays the tables out one after the other, each from a new page and over as many
// pages as it needs, the captions repeated on each page and the footer after the
// last row; the pages are numbered through. Columns are as wide as their texts
// need while the page has room; when it has not, short values (days, times,
// numbers) still print whole and the long texts share what is left.
void printTables(const QList<PrintTable> &tables, QPrinter &printer);
