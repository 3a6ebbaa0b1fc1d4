#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>

// talvex-host run as a person starts it, without a screen; its log and runtime
// files go under `home`. The variables named in `unset` are left out of its
// environment.
struct HostRun
{
    int status = -1; // also when it crashed or did not finish
    QString out;
    QString err;
};

inline HostRun runHost(const QStringList &arguments, const QString &home,
                       const QStringList &unset = {})
{
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    for (const QString &variable : unset)
        environment.remove(variable);
    QProcess host;
    host.setProcessEnvironment(environment);
    host.start(qEnvironmentVariable("TALVEX_BIN_DIR") + QStringLiteral("/talvex-host"), arguments);
    if (!host.waitForFinished(120000))
        return {};
    return {host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1,
            QString::fromUtf8(host.readAllStandardOutput()),
            QString::fromUtf8(host.readAllStandardError())};
}
