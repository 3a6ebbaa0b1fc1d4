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

// Reference counts per interface, kept by the base three slots.
int references[4];
enum { Factory, Log, Main, Rights };

template <int I>
long queryInterface(void *, const QUuid &, void **object)
{
    *object = nullptr;
    return long(0x80004002);
}
template <int I>
unsigned long addRef(void *)
{
    return ++references[I];
}
template <int I>
unsigned long release(void *)
{
    return --references[I];
}

SlotHost::Table<Factory, 16> factory;
SlotHost::Table<Log, 7> logIntf;
SlotHost::Table<Main, 21> mainIntf;
SlotHost::Table<Rights, 27> rights;

TBaseObj hostOperator;
TcxStyleRepository styleRepository;
int rightLevel = 2;
bool waitShown = false;

template <int I, typename Table>
void serveBase(Table &table)
{
    table.serve(0, &queryInterface<I>);
    table.serve(1, &addRef<I>);
    table.serve(2, &release<I>);
}

void setUpHost()
{
    using SlotHost::calls;
    serveBase<Factory>(factory);
    serveBase<Log>(logIntf);
    serveBase<Main>(mainIntf);
    serveBase<Rights>(rights);

    factory.serve(3, +[](void *) -> TBaseObj * {
        calls << u"GetOperator"_s;
        return &hostOperator;
    });
    factory.serve(6, +[](void *, void **result) {
        calls << u"GetLogIntf"_s;
        ++references[Log];
        *result = &logIntf.object;
    });
    factory.serve(10, +[](void *, void **result) {
        calls << u"GetMainIntf"_s;
        ++references[Main];
        *result = &mainIntf.object;
    });
    factory.serve(15, +[](void *, void **result) {
        calls << u"GetRightManagerIntf"_s;
        ++references[Rights];
        *result = &rights.object;
    });
    logIntf.serve(5, +[](void *, const QString &message, int kind) {
        calls << u"RaiseError(%1,%2)"_s.arg(message).arg(kind);
        throw Rt::Abort();
    });
    logIntf.serve(6, +[](void *, const QString &text, int kind) {
        calls << u"WriteErrorLog(%1,%2)"_s.arg(text).arg(kind);
    });
    mainIntf.serve(3, +[](void *) -> double {
        calls << u"GetSysDate"_s;
        return 46361.5; // 2026-12-05 12:00
    });
    mainIntf.serve(6, +[](void *, const QString &text) {
        calls << u"ShowWaitMessage(%1)"_s.arg(text);
        waitShown = true;
    });
    mainIntf.serve(7, +[](void *) {
        calls << u"HideWaitMessage"_s;
        waitShown = false;
    });
    mainIntf.serve(13, +[](void *) -> TcxStyleRepository * {
        calls << u"GetStyleRepository"_s;
        return &styleRepository;
    });
    rights.serve(20, +[](void *, const QString &code) -> int {
        calls << u"GetRight(%1)"_s.arg(code);
        return rightLevel;
    });
    rights.serve(26, +[](void *, const QString &operatorId, QString &scope) {
        calls << u"GetDeptScope(%1)"_s.arg(operatorId);
        scope = u"('01')"_s;
    });
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
        setUpHost();
        hostOperator.ID = u"OP1"_s;
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
        QWidget *window = createWindow(&hostApplication, &hostScreen, &factory.object);
        QVERIFY(window);
        QCOMPARE(Rt::application(), &hostApplication);
        QCOMPARE(Rt::screen(), &hostScreen);
        QCOMPARE(references[Factory], 1);
        QVERIFY2(SlotHost::calls.isEmpty(), "creating the window calls no host operation");

        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QCOMPARE(references[Factory], 0);
        QVERIFY(SlotHost::calls.isEmpty());
    }

    void closeWithoutCreateChangesNothing()
    {
        closeWindow();
        closeWindow();
        QCOMPARE(Rt::application(), &moduleApplication);
        QCOMPARE(Rt::screen(), &moduleScreen);
        QCOMPARE(references[Factory], 0);
    }

    // A second create before close adopts the new objects without saving again;
    // after a close the next create saves again.
    void savingHappensOncePerPairing()
    {
        TApplication otherHost;
        TScreen otherScreen;
        createWindow(&hostApplication, &hostScreen, &factory.object);
        closeWindow();
        Rt::setApplication(&otherHost); // the module's objects have changed meanwhile
        Rt::setScreen(&otherScreen);
        createWindow(&hostApplication, &hostScreen, &factory.object);
        createWindow(&hostApplication, &hostScreen, &factory.object);
        QCOMPARE(references[Factory], 1);
        closeWindow();
        QCOMPARE(Rt::application(), &otherHost);
        QCOMPARE(Rt::screen(), &otherScreen);
        QCOMPARE(references[Factory], 0);
    }

    void sixteenOperationsByPosition()
    {
        QMainWindow mainWindow;
        auto *dock = new QDockWidget(&mainWindow);
        mainWindow.addDockWidget(Qt::LeftDockWidgetArea, dock);
        QWidget *window = createWindow(&hostApplication, &hostScreen, &factory.object);
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
        QVERIFY2(!waitShown, "a refresh leaves no wait notice behind");
        callSlot<bool>(window, SaveToExcel);
        callSlot<bool>(window, ImportData);
        callSlot<void>(window, PrintPreview);
        callSlot<void>(window, PrintPreview2);
        callSlot<bool>(window, FindData);
        callSlot<void>(window, FreeWindow);

        closeWindow();
        QCOMPARE(references[Factory], 0);
        QCOMPARE(references[Main], 0);
        QCOMPARE(references[Rights], 0);
        QCOMPARE(references[Log], 0);
    }
};

QTEST_MAIN(PluginBoundaryTest)
#include "tst_pluginboundary.moc"
