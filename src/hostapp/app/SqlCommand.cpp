#include "SqlCommand.h"

#include "hostapp/db/Database.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"

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

int runSqlCommand(Database &db, const QString &statement)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
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
        out << db.changedRows() << " row(s) changed" << (done ? "" : " (nothing found)") << '\n';
        return 0;
    } catch (const Rt::Exception &e) {
        err << e.message() << '\n';
        return 1;
    }
}
