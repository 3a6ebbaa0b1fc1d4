#pragma once

#include <QString>
#include <QStringList>

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
};

// Parses the arguments; prints help or an error and exits on bad input.
HostOptions parseHostOptions(const QStringList &arguments);
