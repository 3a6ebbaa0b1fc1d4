#include "ToolkitNotices.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt accepts a runtime folder only when it belongs to the user and nobody else
// may enter it.
bool isPrivateFolder(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode)
           && info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

void dropPlatformNotices(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(u"This plugin does not support "_s))
        return;
    previousHandler(type, context, text);
}

} // namespace

namespace ToolkitNotices {

void ensureRuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    QByteArray folder =
        QFile::encodeName(QDir::tempPath()) + "/talvex-runtime-" + QByteArray::number(::geteuid());
    ::mkdir(folder.constData(), 0700);
    if (!isPrivateFolder(folder)) {
        // Someone else's folder, or a file, under the expected name: a new one.
        folder = QFile::encodeName(QDir::tempPath()) + "/talvex-runtime-XXXXXX";
        if (!::mkdtemp(folder.data()))
            return;
    }
    qputenv("XDG_RUNTIME_DIR", folder);
}

void filterPlatformNotices()
{
    previousHandler = qInstallMessageHandler(dropPlatformNotices);
}

} // namespace ToolkitNotices
