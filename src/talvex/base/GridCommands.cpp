// The generic commands of every plug-in window: Excel export and import, the two
// print previews and find. None knows the concrete window: each walks the
// components the window owns and acts on the first one it can handle. A control
// tagged 9999 is left out of all of them.

#include "ComponentClass.h"
#include "DllWindow.h"
#include "FindWindow.h"
#include "SpreadsheetExport.h"

#include "runtime/application.h"
#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dialogs.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/printers.h"
#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/excelexport.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "runtime/timer.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/project/HostFactory.h"

#include <QPointer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int excludedTag = 9999;

const QString excelFilter = u"Mircrosoft Excel工作簿(*.xls)|*.xls"_s;
const QString nothingToImport = u"这个窗口没有可以导入Excel数据的表格。"_s;

bool isExcluded(const QObject *component)
{
    return Rt::tag(component) == excludedTag;
}

template <typename Class> Class *exactly(QObject *component)
{
    return isExactly<Class>(component) ? static_cast<Class *>(component) : nullptr;
}

// A tab sheet, or a form or frame of any kind.
bool isContainer(const QObject *component)
{
    return isExactly<TcxTabSheet>(component) || qobject_cast<const TForm *>(component)
           || qobject_cast<const TFrame *>(component);
}

// The banded view (of any banded kind) a grid shows; none for another view.
TcxGridBandedTableView *bandedViewOf(QObject *component)
{
    auto *grid = exactly<TcxGrid>(component);
    return grid ? qobject_cast<TcxGridBandedTableView *>(grid->activeView()) : nullptr;
}

// Takes one component, possibly none, and answers whether it handled it.
using ControlAction = std::function<bool(QObject *)>;

// In the order of the window's layout: first the data control a component holds as
// a container, then the component itself, until the action handles one.
bool chooseControl(TDllWindowForm *window, const ControlAction &action)
{
    for (QObject *component : Rt::ownedComponents(window)) {
        if (action(TDllWindowForm::FindDataControl(component)) || action(component))
            return true;
    }
    return false;
}

void logCurrentException(const QString &description)
{
    Host::log()->WriteErrorLog(description + Rt::messageOf(std::current_exception()), 0);
}

// The file the user chose, or "" when he cancelled.
QString chooseFile(TFileDialog &dialog)
{
    return dialog.execute() ? dialog.fileName() : QString();
}

bool exportControl(TDllWindowForm *window, TSaveDialog &dialog, QObject *component)
{
    if (!component || isExcluded(component))
        return false;
    if (auto *grid = exactly<TcxGrid>(component)) {
        // The active level's caption names what the grid shows; without one the
        // name is left to the user.
        dialog.setFileName(grid->activeLevel() ? grid->activeLevel()->caption() : QString());
        if (const QString file = chooseFile(dialog); !file.isEmpty())
            ExportGrid4ToExcel(file, grid, true, true, true, window->unitCode(), u"xls"_s, false);
        return true;
    }
    if (auto *treeList = exactly<TcxTreeList>(component)) {
        if (const QString file = chooseFile(dialog); !file.isEmpty())
            cxExportTL4ToExcel(file, treeList, true, true, true, window->unitCode());
        return true;
    }
    if (auto *book = exactly<TcxSpreadSheetBook>(component)) {
        if (const QString file = chooseFile(dialog); !file.isEmpty())
            book->SaveToFile(file);
        return true;
    }
    if (auto *cell = exactly<TCell>(component)) {
        if (const QString file = chooseFile(dialog); !file.isEmpty())
            SpreadsheetExport::run(cell, file);
        return true;
    }
    return false;
}

enum class PreviewOperation { First, Second };

// The window's preview-caption timer runs while a spreadsheet control prints.
class CaptionTimerRun
{
public:
    explicit CaptionTimerRun(TTimer *timer)
        : m_timer(timer)
    {
        if (m_timer)
            m_timer->setEnabled(true);
    }
    ~CaptionTimerRun()
    {
        if (m_timer)
            m_timer->setEnabled(false);
    }
    CaptionTimerRun(const CaptionTimerRun &) = delete;
    CaptionTimerRun &operator=(const CaptionTimerRun &) = delete;

private:
    QPointer<TTimer> m_timer;
};

bool previewControl(TDllWindowForm *window, PreviewOperation operation, QObject *component)
{
    if (!component || isExcluded(component))
        return false;
    if (isExactly<TcxGrid, TcxSpreadSheetBook>(component)) {
        const IntfPtr<IPrinterIntf> printer = Host::printer();
        if (operation == PreviewOperation::First)
            printer->PreviewControl(component, 0, window->unitCode(), u"FormName"_s);
        else
            printer->PreviewControl2(component, 0, window->unitCode(), u"FormName"_s);
        return true;
    }
    if (auto *cell = exactly<TCell>(component)) {
        // The control prints through the system's printers; with none it is passed over.
        if (Rt::printerNames().isEmpty())
            return false;
        const CaptionTimerRun captionTimer(window->previewCaptionTimer());
        const int sheet = cell->dispatch(111).toInt();
        cell->dispatch(operation == PreviewOperation::First ? 133 : 132, {1, sheet});
        return true;
    }
    return false;
}

void preview(TDllWindowForm *window, PreviewOperation operation)
{
    try {
        chooseControl(window, [window, operation](QObject *component) {
            return previewControl(window, operation, component);
        });
    } catch (...) {
        logCurrentException(u"PrintPreview|执行打印预览PrintPreview发生异常错误|"_s);
    }
}

TFindWindowForm *findDialog()
{
    if (!FindWindowForm)
        FindWindowForm = new TFindWindowForm;
    return FindWindowForm;
}

bool findControl(QObject *component)
{
    if (!component)
        return false;
    if (TcxGridBandedTableView *view = bandedViewOf(component);
        view && view->dataController()->recordCount() > 20) {
        if (isExcluded(component))
            return false;
        TFindWindowForm *dialog = findDialog();
        dialog->setGridTarget(static_cast<TcxGrid *>(component));
        dialog->showModeless();
        return true;
    }
    if (auto *treeList = exactly<TcxTreeList>(component); treeList && !isExcluded(treeList)) {
        TFindWindowForm *dialog = findDialog();
        dialog->setTreeListTarget(treeList);
        dialog->showModeless();
        return true;
    }
    if (auto *cell = exactly<TCell>(component); cell && !isExcluded(cell)) {
        cell->dispatch(221, {0});
        return true;
    }
    return false;
}

} // namespace

QObject *TDllWindowForm::FindDataControl(QObject *container)
{
    if (!container || !isContainer(container))
        return nullptr;
    QObject *result = nullptr;
    for (QObject *component : Rt::ownedComponents(container)) {
        if (isContainer(component)) {
            // A later container's search replaces an earlier one's, also with none.
            result = FindDataControl(component);
            continue;
        }
        if (bandedViewOf(component) || isExactly<TcxSpreadSheetBook, TCell>(component))
            return component;
    }
    return result;
}

bool TDllWindowForm::SaveToExcel()
{
    bool result = false;
    TSaveDialog dialog;
    dialog.setDefaultExt(u"*.xls"_s);
    dialog.setTitle(u"另存为Excel"_s);
    dialog.setFilter(excelFilter);
    try {
        chooseControl(this, [this, &dialog](QObject *component) {
            return exportControl(this, dialog, component);
        });
        result = true;
    } catch (...) {
        logCurrentException(u"SaveToExcel|导出Excel数据发生异常错误|"_s);
    }
    return result;
}

// Only spreadsheet books the window owns directly take a file. Each one asks for
// its file in turn until one is loaded: a cancelled dialog, an empty name or an
// excluded book moves on to the next book.
bool TDllWindowForm::ImportData()
{
    bool result = false;
    TOpenDialog dialog;
    dialog.setTitle(u"导入Excel"_s);
    dialog.setFilter(excelFilter);
    try {
        bool bookMet = false;
        for (QObject *component : Rt::ownedComponents(this)) {
            auto *book = exactly<TcxSpreadSheetBook>(component);
            if (!book)
                continue;
            bookMet = true;
            if (dialog.execute() && !dialog.fileName().trimmed().isEmpty() && !isExcluded(book)) {
                book->LoadFromFile(dialog.fileName());
                break;
            }
        }
        // Without a word the command would seem not to work at all.
        if (!bookMet)
            Rt::messageBox(nothingToImport, u"提示"_s, Rt::Buttons::Ok, Rt::Icon::Information);
        result = true;
    } catch (...) {
        logCurrentException(u"ImportData|导入Excel数据发生异常错误|"_s);
    }
    return result;
}

void TDllWindowForm::PrintPreview()
{
    preview(this, PreviewOperation::First);
}

void TDllWindowForm::PrintPreview2()
{
    preview(this, PreviewOperation::Second);
}

bool TDllWindowForm::FindData()
{
    return chooseControl(this, findControl);
}
