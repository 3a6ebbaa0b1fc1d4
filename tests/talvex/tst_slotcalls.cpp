// The module's calls into the host land at the contract's positions: the host here
// is tables of function pointers that know nothing of operation names.

#include "SlotHost.h"

#include "runtime/application.h"
#include "runtime/component.h"
#include "runtime/editors/cxeditors.h"
#include "talvex/project/HostFactory.h"
#include "talvex/work/WorkWindow.h"

#include <QTest>

using namespace Qt::StringLiterals;

class SlotCallsTest : public QObject
{
    Q_OBJECT

    TApplication application;

private Q_SLOTS:
    void init()
    {
        Rt::setApplication(&application);
        HostFactory = static_cast<IFactoryIntf *>(SlotHost::root());
        SlotHost::calls.clear();
    }
    void cleanup() { HostFactory.reset(); }

    void rightLevelComesFromSlotTwenty()
    {
        TWorkWindowForm window;
        Rt::setTag(&window, 1001);
        SlotHost::rightLevel = 1;
        QCOMPARE(window.GetOperateRight(), 1);
        QCOMPARE(SlotHost::calls, (QStringList{u"GetRightManagerIntf"_s, u"GetRight(1001)"_s}));
    }

    // RaiseError at slot 5 ends the running command; the next command runs.
    void raiseErrorEndsOnlyTheRunningCommand()
    {
        TWorkWindowForm window;
        bool after = false;
        Rt::runGuarded([&] {
            Host::raiseError(u"对不起，您的权限不足，请与系统管理员联系！"_s);
            after = true;
        });
        QVERIFY(!after);
        QCOMPARE(SlotHost::calls.last(), u"RaiseError(对不起，您的权限不足，请与系统管理员联系！,0)"_s);
        SlotHost::rightLevel = 2;
        Rt::runGuarded([&] { after = window.GetOperateRight() == 2; });
        QVERIFY(after);
    }

    void initWindowTakesStylesAndTheDateFromTheMainInterface()
    {
        TWorkWindowForm window;
        window.InitWindow();
        QCOMPARE(window.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->text(), u"2026-11-05"_s);
        QCOMPARE(window.findChild<TcxDateEdit *>(u"edtEndDate"_s)->text(), u"2026-12-05"_s);
        QVERIFY(SlotHost::calls.contains(u"GetStyleRepository"_s));
        QCOMPARE(SlotHost::calls.filter(u"WaitMessage"_s),
                 (QStringList{u"ShowWaitMessage(正在读取数据，请稍候...)"_s, u"HideWaitMessage"_s}));
        window.FreeWindow();
    }
};

QTEST_MAIN(SlotCallsTest)
#include "tst_slotcalls.moc"
