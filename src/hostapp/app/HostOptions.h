#pragma once

#include "ExportXlsCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of talvex-host.
struct HostOptions
{
    QString databasePath;
    QString pluginPath;
    QString operatorCode;
    int demoScale = 0;
    QString screenshotPath;
    QString printToPath;
    // "sql": run one statement and print its result instead of opening the window.
    QString sqlStatement;
    bool sqlCommand = false;
    // "export-xls": save the register's search as an .xls file instead.
    std::optional<ExportXlsRequest> exportXls;
};

// Parses the arguments; prints help or an error and exits on bad input.
HostOptions parseHostOptions(const QStringList &arguments);
