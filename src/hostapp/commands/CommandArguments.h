#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class HostCommand;
class QTemporaryDir;

namespace CommandArguments {

// Raises UsageError unless the command was given exactly one argument.
void requireOne(const HostCommand &command, const QStringList &arguments);

} // namespace CommandArguments

// A file a command writes is first written beside its target and replaces the
// target only once complete, so that a failed run leaves an earlier file as it
// was. Without commit() the partial file goes with the scope.
class OutputFile
{
public:
    // Raises Rt::Exception when the target's folder is missing or not writable.
    explicit OutputFile(const QString &target);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Where the command writes; a file of the target's name in a private folder
    // beside the target.
    QString partialPath() const;
    QString targetPath() const;
    // Moves the written file over the target; raises Rt::Exception when it cannot.
    void commit();

private:
    QString m_target;
    std::unique_ptr<QTemporaryDir> m_scratch;
};
