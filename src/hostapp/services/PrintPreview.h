#pragma once

#include "GridPrinter.h"

class HostSession;

// Shows tables in a print preview over the session's window; with no screen, or
// when the session prints to a file, the pages go to a PDF file instead and the
// status bar says where.
void previewTables(HostSession &session, const QList<PrintTable> &tables, const QString &title,
                   bool landscape);
