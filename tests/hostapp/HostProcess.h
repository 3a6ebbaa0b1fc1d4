#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
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

// The operator that arguments sign in: --operator's, or the host's default.
inline QString operatorOf(const QStringList &arguments)
{
    QString code = QStringLiteral("admin");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QStringLiteral("--operator") && i + 1 < arguments.size())
            code = arguments.at(i + 1);
        else if (argument.startsWith(QStringLiteral("--operator=")))
            code = argument.sliced(11);
    }
    return code;
}

// The operator signs in with TALVEX_PASSWORD set to his code, the first password
// of the demo's and the fixtures' operators. `environment` adds variables or
// replaces them; a null value removes one (TALVEX_PASSWORD among them).
inline HostRun runHost(const QStringList &arguments, const QString &home,
                       const QHash<QString, QString> &environment = {})
{
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    variables.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    variables.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    variables.insert(QStringLiteral("TALVEX_PASSWORD"), operatorOf(arguments));
    for (auto it = environment.begin(); it != environment.end(); ++it) {
        if (it.value().isNull())
            variables.remove(it.key());
        else
            variables.insert(it.key(), it.value());
    }
    QProcess host;
    host.setProcessEnvironment(variables);
    host.start(qEnvironmentVariable("TALVEX_BIN_DIR") + QStringLiteral("/talvex-host"), arguments);
    if (!host.waitForFinished(120000))
        return {};
    return {host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1,
            QString::fromUtf8(host.readAllStandardOutput()),
            QString::fromUtf8(host.readAllStandardError())};
}
