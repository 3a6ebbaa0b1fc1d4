#include "HostWindow.h"
#include "HistoryWindow.h"

#include "hostapp/board/BoardActions.h"
#include "hostapp/board/BoardWindow.h"

#include "hostapp/db/Database.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"

#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/component.h"
#include "runtime/form.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

using namespace Qt::StringLiterals;
using Op = PluginWindow::Op;

namespace {
// The name under which the host lists the plug-in's window.
const QString windowCaption = u"员工调班登记"_s;
} // namespace

HostWindow::HostWindow(HostSession &session, IFactoryIntf *root)
    : m_session(session)
    , m_root(root)
    , m_bars(new TdxBarManager(this))
    , m_dock(new QDockWidget(this))
    , m_logPanel(new QDockWidget(u"错误日志"_s, this))
    , m_logView(new QPlainTextEdit)
    , m_savedLabel(new QLabel)
{
    setWindowTitle(u"Talvex 考勤管理"_s);
    setFont(Rt::formFont());
    resize(1280, 760);
    setDockOptions(QMainWindow::AnimatedDocks);

    createActions();
    m_bars->setMainWindow(this);

    // The dock site of the plug-in's window fills the main window.
    m_dock->setObjectName(u"pluginDockSite"_s);
    m_dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    setCentralWidget(m_dock);

    createLogPanel();

    const THostOperator *op = session.currentOperator();
    statusBar()->addWidget(m_savedLabel, 1);
    statusBar()->addPermanentWidget(
        new QLabel(u"操作员：%1（%2）"_s.arg(op->OperatorName, op->OperatorCode)));
    statusBar()->addPermanentWidget(
        new QLabel(u"数据库：%1"_s.arg(readableLocation(session.database().location()))));
    connect(&session, &HostSession::dataSaved, this, &HostWindow::showDataSaved);
}

HostWindow::~HostWindow()
{
    closePlugin();
}

void HostWindow::createLogPanel()
{
    m_logPanel->setObjectName(u"logPanel"_s);
    m_logView->setReadOnly(true);
    m_logView->setMaximumBlockCount(200);
    m_logView->setPlaceholderText(u"日志文件：%1"_s.arg(m_session.log().filePath()));
    for (const QString &line : m_session.log().latest())
        m_logView->appendPlainText(line);
    m_logPanel->setWidget(m_logView);
    m_logPanel->setFeatures(QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::BottomDockWidgetArea, m_logPanel);
    resizeDocks({m_logPanel}, {90}, Qt::Vertical);
    connect(&m_session.log(), &ErrorLog::appended, m_logView, &QPlainTextEdit::appendPlainText);
}

namespace {

// The icon drawn at exactly the tool bar's size: a style may have only a small
// picture of an icon (the floppy disk of 导出Excel), which would otherwise stand
// smaller and higher than its neighbours.
QIcon toolBarIcon(const QIcon &icon, const QSize &size)
{
    const QPixmap pixmap = icon.pixmap(size);
    if (pixmap.size() == size)
        return QIcon(pixmap);
    return QIcon(pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

void HostWindow::createActions()
{
    struct Command
    {
        QString text;
        Op op;
        QKeySequence shortcut;
        QStyle::StandardPixmap icon;
        bool onToolBar;
    };
    const Command commands[] = {
        {u"刷新"_s, Op::RefreshData, QKeySequence::Refresh, QStyle::SP_BrowserReload, true},
        {u"保存"_s, Op::SaveData, QKeySequence::Save, QStyle::SP_DialogSaveButton, true},
        {u"导出Excel"_s, Op::SaveToExcel, {}, QStyle::SP_DriveFDIcon, true},
        {u"导入Excel"_s, Op::ImportData, {}, QStyle::SP_DialogOpenButton, true},
        {u"打印预览"_s, Op::PrintPreview, QKeySequence::Print, QStyle::SP_FileDialogContentsView,
         true},
        {u"打印预览（二）"_s, Op::PrintPreview2, {}, QStyle::SP_FileDialogDetailedView, false},
        {u"查找"_s, Op::FindData, QKeySequence::Find, QStyle::SP_FileDialogInfoView, true},
    };

    QMenu *fileMenu = menuBar()->addMenu(u"文件(&F)"_s);
    QMenu *dataMenu = menuBar()->addMenu(u"数据(&D)"_s);
    QMenu *viewMenu = menuBar()->addMenu(u"查看(&V)"_s);
    QMenu *helpMenu = menuBar()->addMenu(u"帮助(&H)"_s);
    QToolBar *toolBar = addToolBar(u"主工具栏"_s);
    toolBar->setObjectName(u"hostToolBar"_s);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setMovable(false);

    for (const Command &command : commands) {
        QAction *action = dataMenu->addAction(
            toolBarIcon(style()->standardIcon(command.icon), toolBar->iconSize()), command.text);
        action->setShortcut(command.shortcut);
        const Op op = command.op;
        connect(action, &QAction::triggered, this, [this, op] { runCommand(op); });
        if (command.onToolBar)
            toolBar->addAction(action);
    }
    addToolBarBreak();
    dataMenu->addSeparator();
    dataMenu->addAction(u"修改历史(&H)"_s, this, &HostWindow::showHistory);
    dataMenu->addAction(u"排班总览(&B)"_s, this, &HostWindow::showBoard);

    // The log panel's close button hides it; this entry brings it back.
    QAction *showLog = m_logPanel->toggleViewAction();
    showLog->setText(u"错误日志(&E)"_s);
    viewMenu->addAction(showLog);

    fileMenu->addAction(u"退出(&X)"_s, QKeySequence::Quit, this, &QWidget::close);
    helpMenu->addAction(u"关于(&A)"_s, this, &HostWindow::showAbout);
}

void HostWindow::openPlugin(std::unique_ptr<PluginHost> plugin, const QString &unitCode,
                            int rightCode)
{
    m_plugin = std::move(plugin);
    TForm *window = m_plugin->createWindow(Rt::application(), Rt::screen(), m_root);
    window->setProperty("UnitCode", unitCode);
    Rt::setTag(window, rightCode);
    window->setWindowTitle(windowCaption);

    // Docked hidden, so that the window is shown only after InitWindow.
    window->hide();
    m_dock->setWidget(window);
    m_dock->setWindowTitle(window->windowTitle());
    if (auto *bars = window->findChild<TdxBarManager *>(QString(), Qt::FindDirectChildrenOnly))
        m_bars->merge(bars);

    Rt::runGuarded([this] { m_plugin->call(Op::InitWindow); });
    Rt::runGuarded([window] { window->show(); });
}

void HostWindow::closePlugin()
{
    if (!m_plugin || !m_plugin->window())
        return;
    Rt::runGuarded([this] { m_plugin->call(Op::FreeWindow); });
    if (auto *bars =
            m_plugin->window()->findChild<TdxBarManager *>(QString(), Qt::FindDirectChildrenOnly))
        m_bars->unmerge(bars);
    m_plugin->closeWindow();
}

TForm *HostWindow::pluginWindow() const
{
    return m_plugin ? m_plugin->window() : nullptr;
}

void HostWindow::closeEvent(QCloseEvent *event)
{
    closePlugin();
    event->accept();
}

// The operations return Booleans or nothing; each is called with its own type.
void HostWindow::runCommand(Op op)
{
    if (!pluginWindow())
        return;
    Rt::runGuarded([this, op] {
        switch (op) {
        case Op::SaveData:
        case Op::SaveToExcel:
        case Op::ImportData:
        case Op::FindData:
            m_plugin->call<bool>(op);
            break;
        default:
            m_plugin->call<void>(op);
            break;
        }
    });
}

void HostWindow::showDataSaved()
{
    m_savedLabel->setText(
        u"数据已保存 %1"_s.arg(QDateTime::currentDateTime().toString(u"HH:mm:ss"_s)));
}

// One history window, brought to the front when asked for again.
void HostWindow::showHistory()
{
    Rt::runGuarded([this] {
        if (!m_history) {
            m_history = new HistoryWindow(m_session.database(),
                                          m_session.currentOperator()->OperatorCode, this);
            m_history->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_history->show();
        m_history->raise();
        m_history->activateWindow();
    });
}

// One board, brought to the front when asked for again.
void HostWindow::showBoard()
{
    Rt::runGuarded([this] {
        if (!m_board) {
            m_board = new BoardWindow(m_session, this);
            m_board->setAttribute(Qt::WA_DeleteOnClose);
            // The actions announce what they wrote through the session's
            // dataSaved(), on which the board (and the status bar) refresh.
            BoardWindow *board = m_board;
            connect(board, &BoardWindow::batchRequested, board,
                    [this, board](const BoardCells &cells) {
                        BoardActions::batchExchange(board, m_session, cells);
                    });
            connect(board, &BoardWindow::swapRequested, board,
                    [this, board](const BoardCell &a, const BoardCell &b) {
                        BoardActions::swap(board, m_session, a, b);
                    });
        }
        m_board->show();
        m_board->raise();
        m_board->activateWindow();
    });
}

void HostWindow::showAbout()
{
    Rt::messageBox(u"Talvex 考勤管理\n版本：%1\n数据库：%2\n日志：%3"_s.arg(
                       QStringLiteral(TALVEX_VERSION),
                       readableLocation(m_session.database().location()),
                       m_session.log().filePath()),
                   u"关于"_s, Rt::Buttons::Ok, Rt::Icon::Information);
}
