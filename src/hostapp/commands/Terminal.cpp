#include "Terminal.h"

#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/OperatorMessage.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace Terminal {

void say(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

int reportFailure(ErrorLog &log, const std::exception_ptr &error)
{
    const OperatorMessage message = OperatorMessage::report(log, error);
    say(u"talvex-host：%1"_s.arg(message.text));
    if (!message.detail.isEmpty())
        say(u"日志文件：%1"_s.arg(log.filePath()));
    return 1;
}

} // namespace Terminal
