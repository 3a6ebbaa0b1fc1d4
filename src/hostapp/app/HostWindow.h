#pragma once

#include "PluginHost.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class BoardWindow;
class HistoryWindow;
class HostSession;
class QDockWidget;
class QLabel;
class QPlainTextEdit;
class TdxBarManager;
class TForm;

// The host's main window: menu, tool bar, status bar, a dock site for the
// plug-in's window and a panel with the latest log entries. Its commands call the
// window's operations by position.
class HostWindow : public QMainWindow
{
    Q_OBJECT
public:
    HostWindow(HostSession &session, IFactoryIntf *root);
    ~HostWindow() override;

    // Creates and docks the loaded plug-in's window, calls InitWindow and shows
    // it. The caller shows the main window first so the window is shown docked.
    void openPlugin(std::unique_ptr<PluginHost> plugin, const QString &unitCode, int rightCode);
    // FreeWindow, then CloseWindow.
    void closePlugin();

    TForm *pluginWindow() const;
    QDockWidget *dockSite() const { return m_dock; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createLogPanel();
    void createActions();
    void runCommand(PluginWindow::Op op);
    void showDataSaved();
    void showAbout();
    void showHistory();
    void showBoard();

    HostSession &m_session;
    IFactoryIntf *m_root;
    std::unique_ptr<PluginHost> m_plugin;
    TdxBarManager *m_bars;
    QDockWidget *m_dock;
    QDockWidget *m_logPanel;
    QPlainTextEdit *m_logView;
    QLabel *m_savedLabel;
    QPointer<HistoryWindow> m_history;
    QPointer<BoardWindow> m_board;
};
