#include "ExportXlsCommand.h"

#include "CommandArguments.h"
#include "HostOptions.h"
#include "Terminal.h"

#include "hostapp/app/PluginHost.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
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

#include <QFileInfo>
#include <QPushButton>
#include <cstdio>

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
    if (options.from.isValid())
        window.child<TcxDateEdit>(u"edtBeginDate"_s)->setDate(options.from);
    if (options.to.isValid())
        window.child<TcxDateEdit>(u"edtEndDate"_s)->setDate(options.to);
    window.child<QPushButton>(u"btnQry"_s)->click();
}

// The window's Excel export, answering its file dialog with the partial file.
// Raises Rt::Exception with the window's own reasons when nothing was written.
void exportTo(RegisterWindow &window, const OutputFile &file, const Reports &reports)
{
    QStringList dialogs;
    Rt::setFileDialogResponder([&](TFileDialog &dialog) {
        dialogs << dialog.title();
        dialog.setFileName(file.partialPath());
        return true;
    });
    const bool done = window.saveToExcel();
    Rt::setFileDialogResponder({});

    if (!done || dialogs.isEmpty() || QFileInfo(file.partialPath()).size() == 0) {
        const QStringList reasons = reports.texts();
        throw Rt::Exception(reasons.isEmpty() ? u"窗口里没有可导出的表格。"_s
                                              : reasons.join(u'\n'));
    }
}

} // namespace

QString ExportXlsCommand::name() const
{
    return u"export-xls"_s;
}

QString ExportXlsCommand::argumentsHelp() const
{
    return u"FILE.xls"_s;
}

QString ExportXlsCommand::help() const
{
    return u"把登记簿这段日期的查询结果导出为 Excel 文件（不需要屏幕）"_s;
}

void ExportXlsCommand::checkArguments(const QStringList &arguments) const
{
    CommandArguments::requireOne(*this, arguments);
    // A blank name would run the whole search only to fail at the end. Names are
    // taken as written: " a.xls" is a file whose name starts with a blank.
    const QString &file = arguments.first();
    if (file.trimmed().isEmpty())
        throw UsageError(u"export-xls 后面要写要保存的文件名。"_s);
    // The file is an Excel 97 workbook whatever its name says: a name that
    // promises another format is refused rather than quietly changed.
    if (!file.endsWith(u".xls"_s, Qt::CaseInsensitive))
        throw UsageError(u"export-xls 写的是 .xls 文件，文件名“%1”应以 .xls 结尾。"_s.arg(file));
}

int ExportXlsCommand::run(const HostOptions &options, Database &db, ErrorLog &log) const
{
    HostSession session(db, log, options.operatorCode);
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

    try {
        OutputFile file(options.commandArguments.first());
        exportTo(window, file, reports);
        file.commit();
        std::printf("%s\n",
                    qPrintable(u"已导出 %1 的 %2 条调班记录：%3"_s.arg(range).arg(records).arg(
                        file.targetPath())));
        return 0;
    } catch (const Rt::Exception &e) {
        Terminal::say(u"导出失败：%1"_s.arg(e.message()));
        return 1;
    }
}
