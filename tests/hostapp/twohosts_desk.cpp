// One desk of the two-hosts test: a host process with its own session, its own
// error log and its own connection, that saves shift exchanges as the module
// does when told to, one line at a time on standard input:
//
//   check EMPLOYEE DATE   the editor's duplicate count; answers "count N"
//   save EMPLOYEE DATE    the module's insert; answers "saved" or "failed"
//   quit
//
//   twohosts_desk --db LOCATION --operator CODE --log FILE

#include "ModuleStatements.h"

#include "hostapp/db/Database.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"
#include "runtime/exceptions.h"
#include "talvex/project/HostFactory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <iostream>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// The insert as the module's editor makes it: begin, execute, commit, tell the
// host; on any failure roll back and write "保存数据失败!" and the message to
// the host's log.
bool saveAsTheModule(const QString &sql)
{
    try {
        Host::db()->BeginTrans();
        Host::db()->ExecSql(sql);
        Host::db()->CommitTrans();
        Host::main()->NotifyDataSaved();
        return true;
    } catch (...) {
        Host::db()->RollbackTrans();
        Host::log()->WriteErrorLog(u"保存数据失败!"_s + Rt::messageOf(std::current_exception()), 0);
        return false;
    }
}

void answer(const char *text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption dbOption(u"db"_s, u"Database."_s, u"location"_s);
    const QCommandLineOption operatorOption(u"operator"_s, u"Operator code."_s, u"code"_s);
    const QCommandLineOption logOption(u"log"_s, u"Error log."_s, u"file"_s);
    parser.addOptions({dbOption, operatorOption, logOption});
    parser.process(app);

    TApplication application;
    Rt::setApplication(&application);
    try {
        const std::unique_ptr<Database> db = openDatabase(parser.value(dbOption));
        ErrorLog log(parser.value(logOption));
        HostSession session(*db, log, parser.value(operatorOption));
        HostFactory = new FactoryService(session);
        answer("ready");

        std::string line;
        while (std::getline(std::cin, line)) {
            const QStringList words = QString::fromStdString(line).split(u' ');
            if (words.value(0) == u"quit"_s)
                break;
            const QString employee = words.value(1);
            const QString date = words.value(2);
            if (words.value(0) == u"check"_s) {
                answer(qPrintable(u"count "_s
                                  + Host::queryValue(EditorStatements::duplicateCount(
                                      employee, date, QString()))));
            } else if (words.value(0) == u"save"_s) {
                const EditorStatements::Entry entry =
                    exchange(employee, date, session.currentOperator()->OperatorCode);
                answer(saveAsTheModule(EditorStatements::insertExchange(entry)) ? "saved"
                                                                                : "failed");
            } else {
                answer("unknown command");
            }
        }
        HostFactory.reset();
    } catch (const Rt::Exception &e) {
        std::fprintf(stderr, "desk: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
