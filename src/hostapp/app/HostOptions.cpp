#include "HostOptions.h"

#include "hostapp/services/ErrorLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

HostOptions parseHostOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Talvex host: the shift-exchange register over an embedded database.\n\n"
        "  talvex-host [options]              open the register\n"
        "  talvex-host sql [--db PATH] \"SQL\"  run one statement as the plug-in sends it\n"
        "  talvex-host export-xls FILE.xls [--from DATE] [--to DATE]\n"
        "                                     save the register's search as an Excel file\n\n"
        "Error log: "_s
        + ErrorLog::defaultPath());
    parser.addHelpOption();
    const QCommandLineOption db(u"db"_s, u"Database file (created with demo data when new)."_s,
                                u"path"_s);
    const QCommandLineOption plugin(u"plugin"_s, u"Plug-in library to load."_s, u"path"_s);
    const QCommandLineOption op(u"operator"_s, u"Operator code (default: admin)."_s, u"code"_s,
                                u"admin"_s);
    const QCommandLineOption scale(u"demo-scale"_s,
                                   u"Build a large demo database: 1 is about 20,000 employees "
                                   "and 1,000,000 exchanges."_s,
                                   u"N"_s);
    const QCommandLineOption shot(u"screenshot"_s,
                                  u"Start, let the window settle, save it as PNG and exit."_s,
                                  u"file.png"_s);
    const QCommandLineOption printTo(u"print-to"_s, u"Print previews to this PDF file."_s,
                                     u"file.pdf"_s);
    parser.addOptions({db, plugin, op, scale, shot, printTo});
    addExportXlsOptions(parser);
    parser.addPositionalArgument(u"command"_s,
                                 u"sql, followed by the statement; or export-xls, followed by "
                                 "the file"_s,
                                 u"[sql STATEMENT | export-xls FILE]"_s);
    parser.process(arguments);

    HostOptions options;
    options.databasePath = parser.isSet(db)
        ? parser.value(db)
        : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/talvex.db"_s;
    options.pluginPath = parser.value(plugin);
    options.operatorCode = parser.value(op);
    options.screenshotPath = parser.value(shot);
    options.printToPath = parser.value(printTo);
    if (parser.isSet(scale)) {
        bool ok = false;
        options.demoScale = parser.value(scale).toInt(&ok);
        if (!ok || options.demoScale < 1) {
            qCritical("--demo-scale takes a whole number of 1 or more");
            ::exit(2);
        }
    }

    const QStringList positional = parser.positionalArguments();
    options.exportXls = parseExportXls(parser, positional);
    if (!options.exportXls && !positional.isEmpty()) {
        if (positional.first() != u"sql"_s || positional.size() != 2) {
            qCritical("usage: talvex-host sql [--db PATH] \"STATEMENT\"");
            ::exit(2);
        }
        options.sqlCommand = true;
        options.sqlStatement = positional.at(1);
    }
    return options;
}
