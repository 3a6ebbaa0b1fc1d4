#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;
struct HostOptions;

// talvex-host export-xls FILE.xls [--from yyyy-mm-dd] [--to yyyy-mm-dd]: the
// register's search for a date range, saved by the window's own Excel export,
// without a screen. A date left out (invalid) keeps the window's default.
struct ExportXlsRequest
{
    QString fileName;
    QDate from;
    QDate to;
};

// The options only export-xls takes.
void addExportXlsOptions(QCommandLineParser &parser);
// The request when the positional arguments are "export-xls FILE"; none for any
// other command. Prints what is wrong and exits with status 2 on bad input, also
// for --from or --to given to another command.
std::optional<ExportXlsRequest> parseExportXls(const QCommandLineParser &parser,
                                               const QStringList &positional);

// Runs the export over the database and operator of options; returns the exit
// status: 0 only when the file was written.
int runExportXls(const HostOptions &options);
