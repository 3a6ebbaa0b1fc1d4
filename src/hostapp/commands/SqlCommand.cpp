#include "SqlCommand.h"

#include "CommandArguments.h"
#include "Terminal.h"

#include "HostOptions.h"
#include "hostapp/db/Database.h"
#include "hostapp/db/OracleDialect.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostSession.h"
#include "runtime/dataset.h"

#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

bool isQuery(const QString &statement)
{
    static const QRegularExpression select(u"^[\\s\\x{3000}(]*(select|with)\\b"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(statement).hasMatch();
}

} // namespace

QString SqlCommand::name() const
{
    return u"sql"_s;
}

QString SqlCommand::argumentsHelp() const
{
    return u"\"STATEMENT\""_s;
}

QString SqlCommand::help() const
{
    return u"按插件发送的样子执行一条 Oracle SQL 语句，打印结果"_s;
}

void SqlCommand::checkArguments(const QStringList &arguments) const
{
    CommandArguments::requireOne(*this, arguments);
    if (arguments.first().trimmed().isEmpty())
        throw UsageError(u"sql 后面要写一条语句，不能是空的。"_s);
}

int SqlCommand::run(const HostOptions &options, Database &db, ErrorLog &log) const
{
    // The session sets the operator under whom the history records the
    // statement's changes.
    const HostSession session(db, log, options.operatorCode);
    const QString &statement = options.commandArguments.first();
    QTextStream out(stdout);
    try {
        if (isQuery(statement)) {
            const std::unique_ptr<TDataSet> rows(db.openQuery(statement));
            // The statement's own words over its columns; the engine's names
            // where a * stands for several.
            QStringList header = OracleSql::queryHeaders(statement);
            if (header.size() != rows->fieldCount() || header.contains(QString())) {
                header.clear();
                for (int f = 0; f < rows->fieldCount(); ++f)
                    header << rows->fieldName(f);
            }
            out << header.join(u'\t') << '\n';
            for (int r = 0; r < rows->recordCount(); ++r) {
                QStringList cells;
                for (int f = 0; f < rows->fieldCount(); ++f)
                    cells << rows->asString(r, f);
                out << cells.join(u'\t') << '\n';
            }
            return 0;
        }
        const bool done = db.execSql(statement);
        out << u"改动了 %1 行"_s.arg(db.changedRows())
            << (done ? u""_s : u"（没有找到要改动的行）"_s) << '\n';
        return 0;
    } catch (const OracleSql::UnreadableSql &e) {
        // Whoever types a statement here can mend it: say what was refused.
        log.appendDetail(e.message());
        Terminal::say(u"talvex-host：这条语句无法执行。%1"_s.arg(e.reason()));
        Terminal::say(u"日志文件：%1"_s.arg(log.filePath()));
        return 1;
    } catch (...) {
        return Terminal::reportFailure(log, std::current_exception());
    }
}
