#pragma once

#include <QList>
#include <QStringList>

class QObject;
class QPagedPaintDevice;
class QPrinter;

// A grid's content as printed: the visible columns with their captions, the texts
// the cells show, and the footer.
struct PrintTable
{
    QString title;
    QStringList captions;
    QList<int> widths; // relative widths of the columns
    QList<Qt::Alignment> alignments;
    QList<QStringList> rows;
    QStringList footer; // empty when the view shows no footer
};

// The table of a grid's active table view; raises for a component that is not a
// grid with one.
PrintTable printTableOf(QObject *component, const QString &title);

// Lays the table out over as many pages as it needs, the captions repeated on
// each page and the footer after the last row.
void printTable(const PrintTable &table, QPrinter &printer);
