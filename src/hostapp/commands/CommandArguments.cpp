#include "CommandArguments.h"

#include "HostCommand.h"
#include "HostOptions.h"

#include "runtime/exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

void CommandArguments::requireOne(const HostCommand &command, const QStringList &arguments)
{
    if (arguments.size() != 1) {
        throw UsageError(
            u"%1 命令后面要写一个 %2，不多不少。"_s.arg(command.name(), command.argumentsHelp()));
    }
}

OutputFile::OutputFile(const QString &target)
    : m_target(QFileInfo(target).absoluteFilePath())
{
    const QFileInfo info(m_target);
    if (!info.absoluteDir().exists())
        throw Rt::Exception(u"文件夹 %1 不存在。"_s.arg(info.absolutePath()));
    m_scratch =
        std::make_unique<QTemporaryDir>(info.absoluteDir().filePath(u".talvex-output-XXXXXX"_s));
    if (!m_scratch->isValid())
        throw Rt::Exception(u"不能在 %1 里写文件。"_s.arg(info.absolutePath()));
}

OutputFile::~OutputFile() = default;

QString OutputFile::partialPath() const
{
    return m_scratch->filePath(QFileInfo(m_target).fileName());
}

QString OutputFile::targetPath() const
{
    return m_target;
}

void OutputFile::commit()
{
    // rename(2) replaces the target in one step; QFile::rename refuses an
    // existing target.
    if (std::rename(QFile::encodeName(partialPath()).constData(),
                    QFile::encodeName(m_target).constData())
        != 0) {
        throw Rt::Exception(u"不能写入 %1。"_s.arg(m_target));
    }
}
