#include "SqlCommand.h"

#include "Terminal.h"

#include "hostapp/db/Database.h"
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

int runSqlCommand(Database &db, const QString &statement, ErrorLog &log)
{
    QTextStream out(stdout);
    try {
        if (isQuery(statement)) {
            const std::unique_ptr<TDataSet> rows(db.openQuery(statement));
            QStringList header;
            for (int f = 0; f < rows->fieldCount(); ++f)
                header << rows->fieldName(f);
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
    } catch (...) {
        return Terminal::reportFailure(log, std::current_exception());
    }
}
