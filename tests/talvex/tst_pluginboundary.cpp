// Drives the plug-in as a host that knows only positions: the library is loaded
// with dlopen, the window's operations are called through raw virtual-table slots
// and the host's services are tables of function pointers.

#include "SlotHost.h"

#include "runtime/application.h"
#include "runtime/form.h"
#include "runtime/styles.h"
#include "talvex/model/BaseObj.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QTest>
#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

// Positions as a host knows them: QWidget's 52 virtual slots, then the window's
// sixteen operations.
constexpr int SetModified = 52, GetModified = 53, SetFlags = 54, GetFlags = 55,
              RefreshData = 56, SaveData = 57, SaveToExcel = 58, ImportData = 59,
              CustomQuery = 60, CustomAction1 = 61, PrintPreview = 62, PrintPreview2 = 63,
              FindData = 64, CustomAction2 = 65, InitWindow = 66, FreeWindow = 67;

template <typename Result, typename... Args>
Result callSlot(QWidget *window, int slot, Args... args)
{
    void **vtable = *reinterpret_cast<void ***>(window);
    return reinterpret_cast<Result (*)(QWidget *, Args...)>(vtable[slot])(window, args...);
}

using CreateWindowFn = QWidget *(*)(TApplication *, TScreen *, void *);
using CloseWindowFn = void (*)();

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

    void cleanup() { Rt::setMessageBoxResponder({}); }

    // Creating adopts the host's objects and keeps one reference to the root;
    // closing gives the module's own objects back and releases the root.
    void createAndCloseRestoreTheModulesObjects()
    {
        QWidget *window = createWindow(&hostApplication, &hostScreen, SlotHost::root());
        QVERIFY(window);
        QCOMPARE(Rt::application(), &hostApplication);
        QCOMPARE(Rt::screen(), &hostScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 1);
        QVERIFY2(SlotHost::calls.isEmpty(), "creating the window calls no host operation");

        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
        QVERIFY(SlotHost::calls.isEmpty());
    }

    void closeWithoutCreateChangesNothing()
    {
        closeWindow();
        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
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

    void sixteenOperationsByPosition()
    {
        QMainWindow mainWindow;
        auto *dock = new QDockWidget(&mainWindow);
        mainWindow.addDockWidget(Qt::LeftDockWidgetArea, dock);
        QWidget *window = createWindow(&hostApplication, &hostScreen, SlotHost::root());
        dock->setWidget(window);
        const QString caption = window->windowTitle();

        callSlot<void>(window, SetModified, true);
        callSlot<void>(window, SetModified, true);
        QCOMPARE(dock->windowTitle(), caption + u"*"_s);
        QVERIFY(callSlot<bool>(window, GetModified));
        callSlot<void>(window, SetModified, false);
        QCOMPARE(dock->windowTitle(), caption);
        QVERIFY(!callSlot<bool>(window, GetModified));

        callSlot<void>(window, SetFlags, quint16(0x8001));
        QCOMPARE(callSlot<quint16>(window, GetFlags), quint16(0x8001));

        QList<Rt::MessageBoxRequest> boxes;
        Rt::setMessageBoxResponder([&](const Rt::MessageBoxRequest &r) {
            boxes << r;
            return Rt::Answer::Ok;
        });
        QVERIFY(!callSlot<bool>(window, SaveData));
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, u"开发人员请注意，SaveData方法需要重载！"_s);
        QCOMPARE(boxes[0].caption, u"提示"_s);
        QCOMPARE(boxes[0].icon, Rt::Icon::Information);

        SlotHost::calls.clear();
        QVERIFY(!callSlot<bool>(window, CustomQuery));
        callSlot<void>(window, CustomAction1);
        callSlot<void>(window, CustomAction2);
        QVERIFY(SlotHost::calls.isEmpty());

        callSlot<void>(window, InitWindow);
        callSlot<void>(window, RefreshData);
        QVERIFY2(!SlotHost::waitShown, "a refresh leaves no wait notice behind");
        callSlot<bool>(window, SaveToExcel);
        callSlot<bool>(window, ImportData);
        callSlot<void>(window, PrintPreview);
        callSlot<void>(window, PrintPreview2);
        callSlot<bool>(window, FindData);
        callSlot<void>(window, FreeWindow);

        closeWindow();
        QCOMPARE(SlotHost::references[SlotHost::Factory], 0);
        QCOMPARE(SlotHost::references[SlotHost::Main], 0);
        QCOMPARE(SlotHost::references[SlotHost::Rights], 0);
        QCOMPARE(SlotHost::references[SlotHost::Log], 0);
    }
};

QTEST_MAIN(PluginBoundaryTest)
#include "tst_pluginboundary.moc"
