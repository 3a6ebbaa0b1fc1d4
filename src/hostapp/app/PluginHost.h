#pragma once

#include "talvex/host/PluginWindow.h"

#include <QString>

class TApplication;
class TForm;
class TScreen;

// The loaded plug-in library and its window. The host reaches the plug-in only
// through the two exported functions and the window's operations by position.
class PluginHost
{
public:
    // Loads the library; raises HostError, with the loader's message as its
    // detail, when it cannot.
    explicit PluginHost(const QString &libraryPath);
    ~PluginHost();
    PluginHost(const PluginHost &) = delete;
    PluginHost &operator=(const PluginHost &) = delete;

    TForm *createWindow(TApplication *application, TScreen *screen, IFactoryIntf *root);
    void closeWindow();
    TForm *window() const { return m_window; }

    template <typename Result = void, typename... Args>
    Result call(PluginWindow::Op op, Args... args) const
    {
        return PluginWindow::call<Result>(m_window, op, args...);
    }

    // The library beside the running executable.
    static QString defaultLibraryPath();

private:
    void *m_library = nullptr;
    PluginWindow::CreateWindowFunction m_create = nullptr;
    PluginWindow::CloseWindowFunction m_close = nullptr;
    TForm *m_window = nullptr;
};
