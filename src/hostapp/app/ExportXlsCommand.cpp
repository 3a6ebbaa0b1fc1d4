#include "ExportXlsCommand.h"
#include "HostOptions.h"
#include "PluginHost.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/HostServices.h"
#include "hostapp/services/HostSession.h"
#include "runtime/application.h"
#include "runtime/component.h"
#include "runtime/dialogs.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;
using Op = PluginWindow::Op;

namespace {

// Whatever the window reports while it runs unattended: message boxes (answered
// with OK), failures of its handlers and entries of the error log.
class Reports
{
public:
    Reports(TApplication &application, ErrorLog &log)
        : m_application(application)
    {
        Rt::setMessageBoxResponder([this](const Rt::MessageBoxRequest &request) {
            m_texts << request.text;
            return Rt::Answer::Ok;
        });
        application.setExceptionHandler(
            [this](const std::exception_ptr &error) { m_texts << Rt::messageOf(error); });
        m_logged = QObject::connect(&log, &ErrorLog::appended,
                                    [this](const QString &line) { m_texts << line; });
    }
    ~Reports()
    {
        m_application.setExceptionHandler({});
        Rt::setMessageBoxResponder({});
        QObject::disconnect(m_logged);
    }

    QStringList texts() const { return m_texts; }

private:
    TApplication &m_application;
    QStringList m_texts;
    QMetaObject::Connection m_logged;
};

// The register's window, loaded, initialised and shown off screen, as the host
// window would show it; closed again on the way out.
class RegisterWindow
{
public:
    RegisterWindow(const QString &libraryPath, IFactoryIntf *root)
        : m_plugin(libraryPath)
    {
        m_window = m_plugin.createWindow(Rt::application(), Rt::screen(), root);
        m_window->setProperty("UnitCode", u"KQ_EXCHANGE"_s);
        Rt::setTag(m_window, DemoData::rightCode.toInt());
        m_window->setAttribute(Qt::WA_DontShowOnScreen);
        Rt::runGuarded([this] { m_plugin.call(Op::InitWindow); });
        m_window->show();
    }
    ~RegisterWindow()
    {
        Rt::runGuarded([this] { m_plugin.call(Op::FreeWindow); });
        m_plugin.closeWindow();
    }

    template <typename T> T *child(const QString &name) const
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            throw Rt::Exception(u"插件窗口没有控件 %1。"_s.arg(name));
        return found;
    }
    bool saveToExcel() { return m_plugin.call<bool>(Op::SaveToExcel); }

private:
    PluginHost m_plugin;
    TForm *m_window;
};

// The search button pressed over the requested range, as a user would.
void search(RegisterWindow &window, const HostOptions &options)
{
    if (options.exportFrom.isValid())
        window.child<TcxDateEdit>(u"edtBeginDate"_s)->setDate(options.exportFrom);
    if (options.exportTo.isValid())
        window.child<TcxDateEdit>(u"edtEndDate"_s)->setDate(options.exportTo);
    window.child<QPushButton>(u"btnQry"_s)->click();
}

// The export goes to a file beside the target and replaces it only once complete,
// so that a failed run leaves an earlier file as it was.
int exportTo(RegisterWindow &window, const QString &target, const Reports &reports)
{
    const QFileInfo info(target);
    if (!info.absoluteDir().exists()) {
        Terminal::say(u"导出失败：文件夹 %1 不存在。"_s.arg(info.absolutePath()));
        return 1;
    }
    QTemporaryDir scratch(info.absoluteDir().filePath(u".talvex-export-XXXXXX"_s));
    if (!scratch.isValid()) {
        Terminal::say(u"导出失败：不能在 %1 里写文件。"_s.arg(info.absolutePath()));
        return 1;
    }
    const QString partial = scratch.filePath(info.fileName());

    QStringList dialogs;
    Rt::setFileDialogResponder([&](TFileDialog &dialog) {
        dialogs << dialog.title();
        dialog.setFileName(partial);
        return true;
    });
    const bool done = window.saveToExcel();
    Rt::setFileDialogResponder({});

    if (!done || dialogs.isEmpty() || QFileInfo(partial).size() == 0) {
        const QStringList reasons = reports.texts();
        Terminal::say(u"导出失败：%1"_s.arg(reasons.isEmpty() ? u"窗口里没有可导出的表格。"_s
                                                              : reasons.join(u'\n')));
        return 1;
    }
    if (std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(info.absoluteFilePath()).constData())
        != 0) {
        Terminal::say(u"导出失败：不能写入 %1。"_s.arg(info.absoluteFilePath()));
        return 1;
    }
    return 0;
}

} // namespace

int runExportXls(const HostOptions &options, ErrorLog &log)
{
    // A missing file would be created with demo data: never what payroll wants.
    if (!isServerLocation(options.databasePath) && !QFileInfo::exists(options.databasePath)) {
        Terminal::say(u"导出失败：数据库文件 %1 不存在。"_s.arg(options.databasePath));
        return 1;
    }
    try {
        const std::unique_ptr<Database> db = openDatabase(options.databasePath);
        if (Schema::check(*db) != Schema::State::Current) {
            Terminal::say(
                u"导出失败：%1 不是当前版本的考勤数据库，请先用 talvex-host 打开一次。"_s.arg(
                    options.databasePath));
            return 1;
        }
        HostSession session(*db, log, options.operatorCode);
        IntfPtr<IFactoryIntf> root(new FactoryService(session));
        const Reports reports(*Rt::application(), log);

        RegisterWindow window(options.pluginPath.isEmpty() ? PluginHost::defaultLibraryPath()
                                                           : options.pluginPath,
                              root.get());
        search(window, options);
        if (!reports.texts().isEmpty()) {
            Terminal::say(u"查询失败：%1"_s.arg(reports.texts().join(u'\n')));
            return 1;
        }
        const auto *list = window.child<TcxGridTableView>(u"TableKQExchangeClass"_s);
        const QString range = window.child<TcxDateEdit>(u"edtBeginDate"_s)->text() + u" 至 "_s
                              + window.child<TcxDateEdit>(u"edtEndDate"_s)->text();
        const int records = list->dataController()->recordCount();

        const int status = exportTo(window, options.exportFile, reports);
        if (status == 0) {
            std::printf("%s\n",
                        qPrintable(u"已导出 %1 的 %2 条调班记录：%3"_s.arg(range).arg(records).arg(
                            QFileInfo(options.exportFile).absoluteFilePath())));
        }
        return status;
    } catch (...) {
        return Terminal::reportFailure(log, std::current_exception());
    }
}
