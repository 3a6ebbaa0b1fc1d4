// Drives the plug-in as a host that knows only positions: the library is loaded
// with dlopen, the window's operations are called through raw virtual-table slots
// and the host's services are tables of function pointers.

#include "SlotHost.h"

#include "runtime/application.h"
#include "runtime/dialogs.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "runtime/styles.h"
#include "talvex/model/BaseObj.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// Positions as a host knows them: QWidget's 52 virtual slots, then the window's
// sixteen operations.
constexpr int SetModified = 52, GetModified = 53, SetFlags = 54, GetFlags = 55, RefreshData = 56,
              SaveData = 57, SaveToExcel = 58, ImportData = 59, CustomQuery = 60,
              CustomAction1 = 61, PrintPreview = 62, PrintPreview2 = 63, FindData = 64,
              CustomAction2 = 65, InitWindow = 66, FreeWindow = 67;

template <typename Result, typename... Args>
Result callSlot(QWidget *window, int slot, Args... args)
{
    void **vtable = *reinterpret_cast<void ***>(window);
    return reinterpret_cast<Result (*)(QWidget *, Args...)>(vtable[slot])(window, args...);
}

using CreateWindowFn = QWidget *(*)(TApplication *, TScreen *, void *);
using CloseWindowFn = void (*)();

// The module's find dialog, known to a host only as a window titled "查找".
QWidget *findDialog()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->windowTitle() == u"查找"_s && !top->testAttribute(Qt::WA_WState_Hidden))
            return top;
    }
    return nullptr;
}

} // namespace

class PluginBoundaryTest : public QObject
{
    Q_OBJECT

    void *library = nullptr;
    CreateWindowFn createWindow = nullptr;
    CloseWindowFn closeWindow = nullptr;
    TApplication moduleApplication, hostApplication;
    TScreen moduleScreen, hostScreen;

private Q_SLOTS:
    void initTestCase()
    {
        const QByteArray path = qgetenv("TALVEX_BIN_DIR") + "/libTalvex.so";
        library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(library, dlerror());
        createWindow = reinterpret_cast<CreateWindowFn>(dlsym(library, "CreateWindow"));
        closeWindow = reinterpret_cast<CloseWindowFn>(dlsym(library, "CloseWindow"));
        QVERIFY(createWindow && closeWindow);
    }

    void init()
    {
        Rt::setApplication(&moduleApplication);
        Rt::setScreen(&moduleScreen);
        SlotHost::calls.clear();
    }

    void cleanup()
    {
        Rt::setMessageBoxResponder({});
        Rt::setFileDialogResponder({});
    }

    // Creating adopts the host's objects and keeps one reference to the root;
    // closing gives the module's own objects back and releases the root. A close
    // without a create changes nothing.
    void createAndCloseRestoreTheModulesObjects()
    {
        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QWidget *window = createWindow(&hostApplication, &hostScreen, SlotHost::root());
        QVERIFY(window);
        QCOMPARE(Rt::application(), &hostApplication);
        QCOMPARE(Rt::screen(), &hostScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 1);
        QVERIFY2(SlotHost::calls.isEmpty(), "creating the window calls no host operation");

        closeWindow();
        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
        QVERIFY(SlotHost::calls.isEmpty());
    }

    // A second create before close adopts the new objects without saving again;
    // after a close the next create saves again.
    void savingHappensOncePerPairing()
    {
        TApplication otherHost;
        TScreen otherScreen;
        createWindow(&hostApplication, &hostScreen, SlotHost::root());
        closeWindow();
        Rt::setApplication(&otherHost); // the module's objects have changed meanwhile
        Rt::setScreen(&otherScreen);
        createWindow(&hostApplication, &hostScreen, SlotHost::root());
        createWindow(&hostApplication, &hostScreen, SlotHost::root());
        QCOMPARE(SlotHost::references[SlotHost::Factory], 1);
        closeWindow();
        QCOMPARE(Rt::application(), &otherHost);
        QCOMPARE(Rt::screen(), &otherScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
    }

    // Every position shows an effect of its own, checked here, so that two
    // declarations swapped in the window class cannot pass. The three operations
    // whose default is to do nothing are checked to do nothing at all.
    void sixteenOperationsByPosition()
    {
        QMainWindow mainWindow;
        auto *dock = new QDockWidget(&mainWindow);
        mainWindow.addDockWidget(Qt::LeftDockWidgetArea, dock);
        QWidget *window = createWindow(&hostApplication, &hostScreen, SlotHost::root());
        window->setProperty("UnitCode", u"KQ_EXCHANGE"_s);
        dock->setWidget(window);
        const QString caption = window->windowTitle();
        auto *grid = window->findChild<TcxGridTableView *>(u"TableKQExchangeClass"_s);
        QVERIFY(grid);

        QStringList boxes;
        Rt::setMessageBoxResponder([&](const Rt::MessageBoxRequest &r) {
            boxes << u"%1|%2|%3"_s.arg(r.caption, r.text).arg(int(r.icon));
            return Rt::Answer::Ok;
        });
        QTemporaryDir dir;
        const QString file = dir.filePath(u"调班.xls"_s);
        QStringList dialogs;
        Rt::setFileDialogResponder([&](TFileDialog &dialog) {
            dialogs << dialog.title();
            dialog.setFileName(file);
            return true;
        });

        callSlot<void>(window, SetModified, true);
        callSlot<void>(window, SetModified, true);
        QCOMPARE(dock->windowTitle(), caption + u"*"_s);
        QVERIFY(callSlot<bool>(window, GetModified));
        callSlot<void>(window, SetModified, false);
        QCOMPARE(dock->windowTitle(), caption);
        QVERIFY(!callSlot<bool>(window, GetModified));

        callSlot<void>(window, SetFlags, quint16(0x8001));
        QCOMPARE(callSlot<quint16>(window, GetFlags), quint16(0x8001));

        QVERIFY(!callSlot<bool>(window, SaveData));
        QCOMPARE(boxes, QStringList{u"提示|开发人员请注意，SaveData方法需要重载！|%1"_s.arg(
                            int(Rt::Icon::Information))});
        boxes.clear();

        SlotHost::calls.clear();
        QVERIFY(!callSlot<bool>(window, CustomQuery));
        callSlot<void>(window, CustomAction1);
        callSlot<void>(window, CustomAction2);
        QVERIFY(SlotHost::calls.isEmpty());
        QVERIFY(boxes.isEmpty() && dialogs.isEmpty());
        QVERIFY(!findDialog());

        callSlot<void>(window, InitWindow);
        QVERIFY(SlotHost::calls.contains(u"GetStyleRepository"_s));
        QVERIFY(SlotHost::calls.contains(u"GetSysDate"_s));
        QVERIFY(SlotHost::calls.filter(u"OpenQuery"_s).isEmpty());

        SlotHost::calls.clear();
        callSlot<void>(window, RefreshData);
        QCOMPARE(SlotHost::calls.filter(u"OpenQuery("_s).size(), 1);
        QVERIFY2(!SlotHost::waitShown, "a refresh leaves no wait notice behind");
        QCOMPARE(grid->dataController()->recordCount(), 1);

        SlotHost::calls.clear();
        QVERIFY(callSlot<bool>(window, SaveToExcel));
        QCOMPARE(dialogs, QStringList{u"另存为Excel"_s});
        QVERIFY(QFileInfo(file).size() > 0);

        // The list window has no spreadsheet book: one placed in it takes the file.
        dialogs.clear();
        auto *book = new TcxSpreadSheetBook(window);
        QVERIFY(callSlot<bool>(window, ImportData));
        QCOMPARE(dialogs, QStringList{u"导入Excel"_s});
        QVERIFY(book->PageCount() > 0);
        QCOMPARE(book->Pages(0)->GetCellObject(0, 1)->displayText(), u"E001"_s);

        SlotHost::calls.clear();
        callSlot<void>(window, PrintPreview);
        QCOMPARE(SlotHost::calls,
                 (QStringList{u"GetPrinterIntf"_s,
                              u"PreviewControl(cxGrid3,0,KQ_EXCHANGE,FormName)"_s}));
        SlotHost::calls.clear();
        callSlot<void>(window, PrintPreview2);
        QCOMPARE(SlotHost::calls,
                 (QStringList{u"GetPrinterIntf"_s,
                              u"PreviewControl2(cxGrid3,0,KQ_EXCHANGE,FormName)"_s}));

        QVERIFY(callSlot<bool>(window, FindData));
        QVERIFY(findDialog() && findDialog()->isVisible());

        callSlot<void>(window, FreeWindow);
        QCOMPARE(grid->dataController()->recordCount(), 0);

        // The find dialog searched the window's department tree: it goes with it.
        closeWindow();
        QTRY_VERIFY(!findDialog());
        QVERIFY(boxes.isEmpty());
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
        QCOMPARE(SlotHost::references[SlotHost::Main], 0);
        QCOMPARE(SlotHost::references[SlotHost::Rights], 0);
        QCOMPARE(SlotHost::references[SlotHost::Log], 0);
        QCOMPARE(SlotHost::references[SlotHost::Printer], 0);
        QCOMPARE(SlotHost::references[SlotHost::Db], 0);
    }
};

QTEST_MAIN(PluginBoundaryTest)
#include "tst_pluginboundary.moc"
