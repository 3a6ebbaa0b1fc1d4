#include "PluginHost.h"

#include "hostapp/services/OperatorMessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

PluginHost::PluginHost(const QString &libraryPath)
{
    m_library = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        throw HostError(u"无法加载插件 %1。请检查 --plugin 给出的文件。"_s.arg(libraryPath),
                        QString::fromLocal8Bit(dlerror()));
    }
    m_create = reinterpret_cast<PluginWindow::CreateWindowFunction>(
        dlsym(m_library, PluginWindow::CreateWindowSymbol));
    m_close = reinterpret_cast<PluginWindow::CloseWindowFunction>(
        dlsym(m_library, PluginWindow::CloseWindowSymbol));
    if (!m_create || !m_close) {
        dlclose(m_library);
        throw HostError(u"%1 不是考勤系统的插件。请检查 --plugin 给出的文件。"_s.arg(libraryPath),
                        u"%1 does not export CreateWindow and CloseWindow"_s.arg(libraryPath));
    }
}

// The library stays loaded: Qt keeps meta-type registrations of its classes for the
// life of the process, so unloading it would leave them dangling.
PluginHost::~PluginHost()
{
    if (m_window)
        closeWindow();
}

TForm *PluginHost::createWindow(TApplication *application, TScreen *screen, IFactoryIntf *root)
{
    m_window = m_create(application, screen, root);
    return m_window;
}

void PluginHost::closeWindow()
{
    m_close();
    m_window = nullptr;
}

// Beside the executable in a build folder; in the private library folder once
// installed (/usr/bin/talvex-host, /usr/lib/x86_64-linux-gnu/talvex/libTalvex.so).
QString PluginHost::defaultLibraryPath()
{
    const QString folder = QCoreApplication::applicationDirPath();
    const QString installed =
        QDir::cleanPath(folder + u"/../" TALVEX_PRIVATE_LIBDIR "/libTalvex.so"_s);
    return QFileInfo::exists(installed) ? installed : folder + u"/libTalvex.so"_s;
}
