#include "ExportXlsCommand.h"

#include "runtime/datetime.h"

#include <QCommandLineParser>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString fromOption = u"from"_s;
const QString toOption = u"to"_s;

[[noreturn]] void refuse(const QString &message)
{
    std::fprintf(stderr,
                 "%s\n用法：talvex-host export-xls FILE.xls [--from yyyy-mm-dd] "
                 "[--to yyyy-mm-dd] [--operator CODE] [--db PATH]\n",
                 qPrintable(message));
    ::exit(2);
}

// The day an option gives, read as the date edits read it (2026-12-05, also
// 2026-12-5); invalid when the option is not given.
QDate dayOf(const QCommandLineParser &parser, const QString &option)
{
    if (!parser.isSet(option))
        return {};
    const QString text = parser.value(option);
    const std::optional<QDate> day = Rt::DateTime::parseDate(text);
    if (!day)
        refuse(u"--%1 的日期“%2”无效，应写作 yyyy-mm-dd，例如 2026-12-05。"_s.arg(option, text));
    return *day;
}

} // namespace

void addExportXlsOptions(QCommandLineParser &parser)
{
    parser.addOption(
        {fromOption, u"export-xls: first day of the search (yyyy-mm-dd)."_s, u"date"_s});
    parser.addOption({toOption, u"export-xls: last day of the search (yyyy-mm-dd)."_s, u"date"_s});
}

std::optional<ExportXlsRequest> parseExportXls(const QCommandLineParser &parser,
                                               const QStringList &positional)
{
    if (positional.value(0) != u"export-xls"_s) {
        if (parser.isSet(fromOption) || parser.isSet(toOption))
            refuse(u"--from 和 --to 只用于 export-xls。"_s);
        return std::nullopt;
    }
    if (positional.size() != 2 || positional.at(1).trimmed().isEmpty())
        refuse(u"export-xls 需要且只需要一个文件名。"_s);
    ExportXlsRequest request;
    request.fileName = positional.at(1);
    request.from = dayOf(parser, fromOption);
    request.to = dayOf(parser, toOption);
    if (request.from.isValid() && request.to.isValid() && request.from > request.to)
        refuse(u"起始日期 %1 晚于结束日期 %2。"_s.arg(request.from.toString(u"yyyy-MM-dd"_s),
                                                      request.to.toString(u"yyyy-MM-dd"_s)));
    return request;
}
