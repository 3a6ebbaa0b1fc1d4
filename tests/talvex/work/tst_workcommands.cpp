// The list window's add, modify and delete commands, over the real host and the
// fixture database, and their host calls over the recording host.

#include "EditorDriver.h"
#include "HostFixture.h"
#include "ListWindow.h"
#include "RecordingHost.h"

#include "hostapp/services/WaitNotice.h"
#include "runtime/barmanager.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/model/ShareObj.h"
#include "talvex/project/HostFactory.h"

#include <QAction>
#include <QStatusTipEvent>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString noRight = u"对不起，您的权限不足，请与系统管理员联系！"_s;

TdxBarItem *item(const ListWindow &w, const QString &name)
{
    return w.child<TdxBarItem>(name);
}

// The status-bar notes a window sends towards the main window holding it.
struct StatusNotes : QObject
{
    explicit StatusNotes(QWidget *window) { window->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::StatusTip)
            texts << static_cast<QStatusTipEvent *>(event)->tip();
        return false;
    }
    QStringList texts;
};

} // namespace

class WorkCommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Level 1 may look but not change: each command stops at the rights message.
    // With nothing listed, modify and delete stop at theirs.
    void refusedCommandsChangeNothing_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        for (const QString &command : {u"btnAdd"_s, u"btnUpdate"_s, u"btnDelete"_s}) {
            QTest::addRow("viewer, %s", qPrintable(command))
                << u"viewer"_s << QString() << command << noRight;
        }
        QTest::newRow("modify nothing")
            << u"admin"_s << u"nobody"_s << u"btnUpdate"_s << u"请先选择要修改的记录"_s;
        QTest::newRow("delete nothing")
            << u"admin"_s << u"nobody"_s << u"btnDelete"_s << u"无数据可删除！"_s;
    }

    void refusedCommandsChangeNothing()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QString, search);
        QFETCH(QString, command);
        QFETCH(QString, message);
        HostFixture host(operatorCode);
        ListWindow w;
        w.search(search);
        bool opened = false;
        driveEditor([&] { item(w, command)->click(); }, [](OpenEditor &) {}, &opened);
        QVERIFY(!opened);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, message);
        QCOMPARE(host.db().queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"5"_s);
    }

    // The toolbar's add opens the editor in add mode, the wait notice going up only
    // after it; the list is read again afterwards.
    void addShowsTheNewExchange()
    {
        HostFixture host(u"clerk"_s);
        // 李明 of the clerk's branch back at work, with a plan that day, so that
        // the picker lists him and the editor asks nothing; entered by the host's
        // own connection, as employees are no operator's to change.
        host.fixture.connect()->execute(
            u"UPDATE HR_Employee SET WorkStatus = 0 WHERE EmployeeCode = 'E003';"
            u" INSERT INTO Kq_WorkPlan VALUES"
            u" ('E003', '2026-12-02', '08:00', '12:00', '00:00', '00:00', 1, 'BC4', 1)"_s);
        ListWindow w;
        w.search(QString());
        QCOMPARE(w.rows(), QStringList{u"E003 2026-12-04"_s});
        // Written behind the list's back: it shows only when the list is read again.
        host.db().execute(u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkTime, "
                          "WorkFlag, ExchgType) VALUES (9, 'E003', '2026-11-30', 0, 0, 0)"_s);
        bool opened = false;
        bool waitShownWhileOpen = true;
        // Through the item's action, which the host's merged toolbar shows.
        driveEditor([&] { item(w, u"btnAdd"_s)->action()->trigger(); },
                    [&](OpenEditor &e) {
                        QCOMPARE(e.form->windowTitle(), u"新增调班"_s);
                        waitShownWhileOpen = host.session.waitNotice().isShown();
                        e.setDay(QDate(2026, 12, 2));
                        e.pick(u"10003"_s);
                        e.enter({u"08:00"_s, u"12:00"_s, u"00:00"_s, u"00:00"_s});
                        e.ok();
                    },
                    &opened);
        QVERIFY(opened);
        QVERIFY(!waitShownWhileOpen);
        QVERIFY(host.raisedErrors.isEmpty());
        QCOMPARE(host.db().queryValue(u"select WorkTime from Kq_ExchangeClass where ID=6"_s),
                 u"240"_s);
        QCOMPARE(w.rows(),
                 (QStringList{u"E003 2026-11-30"_s, u"E003 2026-12-02"_s, u"E003 2026-12-04"_s}));
        QVERIFY(!host.session.waitNotice().isShown());
    }

    // After a save the saved exchange is focused; after a cancel, or a refused
    // save and then a cancel, the row focused before stays focused.
    void focusFollowsTheSavedExchange_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("focusedBefore");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("focusedAfter");
        QTest::newRow("add saved") << u"btnAdd"_s << 3 << u"save"_s << u"E001 2026-12-02"_s;
        QTest::newRow("add cancelled") << u"btnAdd"_s << 3 << u"cancel"_s << u"E003 2026-12-04"_s;
        QTest::newRow("add refused, cancelled")
            << u"btnAdd"_s << 2 << u"refuse"_s << u"E002 2026-12-02"_s;
        QTest::newRow("modify saved") << u"btnUpdate"_s << 1 << u"save"_s << u"E001 2026-12-05"_s;
        QTest::newRow("modify cancelled")
            << u"btnUpdate"_s << 2 << u"cancel"_s << u"E002 2026-12-02"_s;
        QTest::newRow("modify refused, cancelled")
            << u"btnUpdate"_s << 3 << u"refuse"_s << u"E003 2026-12-04"_s;
    }

    void focusFollowsTheSavedExchange()
    {
        QFETCH(QString, command);
        QFETCH(int, focusedBefore);
        QFETCH(QString, outcome);
        QFETCH(QString, focusedAfter);
        HostFixture host;
        // Some listed employees have no plan before their day: go on all the same.
        host.answer = Rt::Answer::Yes;
        ListWindow w;
        w.search(QString());
        w.focusRow(focusedBefore);
        const bool adding = command == u"btnAdd";
        driveEditor([&] { item(w, command)->click(); },
                    [&](OpenEditor &e) {
                        if (outcome == u"cancel")
                            return;
                        e.setDay(QDate(2026, 12, adding ? 2 : 5));
                        if (adding)
                            e.pick(u"10001"_s);
                        if (outcome == u"refuse")
                            e.enter({u"12:00"_s, u"08:00"_s, u"00:00"_s, u"00:00"_s});
                        e.ok();
                        QCOMPARE(e.isOpen(), outcome == u"refuse");
                    });
        QCOMPARE(host.raisedErrors.size(), outcome == u"refuse" ? 1 : 0);
        const int focused = w.view()->dataController()->focusedRecordIndex();
        QVERIFY(focused >= 0);
        QCOMPARE(w.rows().at(focused), focusedAfter);
    }

    // A save the search does not find again is told in the status bar of the
    // window holding the list; one the list shows, or a cancel, says nothing.
    void savedOutsideTheSearchIsNoted_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("noted");
        QTest::newRow("add, outside") << u"btnAdd"_s << QDate(2026, 12, 6) << true << true;
        QTest::newRow("add, inside") << u"btnAdd"_s << QDate(2026, 12, 2) << true << false;
        QTest::newRow("modify, outside") << u"btnUpdate"_s << QDate(2026, 12, 6) << true << true;
        QTest::newRow("modify, inside") << u"btnUpdate"_s << QDate(2026, 12, 5) << true << false;
        QTest::newRow("modify, cancelled") << u"btnUpdate"_s << QDate() << false << false;
    }

    void savedOutsideTheSearchIsNoted()
    {
        QFETCH(QString, command);
        QFETCH(QDate, day);
        QFETCH(bool, save);
        QFETCH(bool, noted);
        HostFixture host;
        host.answer = Rt::Answer::Yes;
        ListWindow w;
        w.search(QString());
        w.focusRow(1);
        StatusNotes notes(&w.form);
        driveEditor([&] { item(w, command)->click(); },
                    [&](OpenEditor &e) {
                        if (!save)
                            return;
                        e.setDay(day);
                        if (command == u"btnAdd")
                            e.pick(u"10001"_s);
                        e.ok();
                        QVERIFY(!e.isOpen());
                    });
        QVERIFY(host.raisedErrors.isEmpty());
        QCOMPARE(notes.texts,
                 noted ? QStringList{u"调班已保存，但不在当前查询条件的范围内，列表中没有显示"_s}
                       : QStringList{});
    }

    // A double click anywhere on a row modifies that row's exchange; cancelling
    // still reads the list again.
    void doubleClickModifiesTheFocusedExchange()
    {
        HostFixture host;
        ListWindow w;
        QCOMPARE(w.rows().at(1), u"E001 2026-12-03"_s);
        w.focusRow(1);
        QString loadedDay;
        bool waitShownWhileOpen = false;
        driveEditor([&] { Q_EMIT w.view()->cellDblClick(1, nullptr); },
                    [&](OpenEditor &e) {
                        QCOMPARE(e.form->windowTitle(), u"修改调班"_s);
                        loadedDay = e.child<TcxDateEdit>(u"edtExchgDate"_s)->text();
                        waitShownWhileOpen = host.session.waitNotice().isShown();
                        e.setDay(QDate(2026, 12, 5));
                        e.ok();
                    });
        QCOMPARE(loadedDay, u"2026-12-03"_s);
        QVERIFY(waitShownWhileOpen);
        QVERIFY(!host.session.waitNotice().isShown());
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E001 2026-12-05"_s,
                                        u"E002 2026-12-02"_s, u"E003 2026-12-04"_s}));

        // Cancelled, the list is read again all the same. E001 has no plan before
        // 2026-11-20: the editor asks whether to go on.
        host.answer = Rt::Answer::Yes;
        host.db().execute(u"DELETE FROM Kq_ExchangeClass WHERE ID = 4"_s);
        w.focusRow(0);
        driveEditor([&] { Q_EMIT w.view()->cellDblClick(0, nullptr); },
                    [](OpenEditor &e) { e.cancel(); });
        QCOMPARE(w.rows().size(), 3);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    // The question names the employee and the day; No changes nothing and does not
    // even read the list again.
    void deleteAsksFirst()
    {
        QFETCH(bool, confirmed);
        HostFixture host;
        host.answer = confirmed ? Rt::Answer::Yes : Rt::Answer::No;
        ListWindow w;
        w.focusRow(2);
        // Written behind the list's back: it shows only when the list is read again.
        host.db().execute(u"INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkTime, "
                          "WorkFlag, ExchgType) VALUES (9, 'E002', '2026-11-30', 0, 0, 0)"_s);
        int savedSignals = 0;
        QObject::connect(&host.session, &HostSession::dataSaved, [&] { ++savedSignals; });
        item(w, u"btnDelete"_s)->click();

        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, u"确定删除员工编号[E002]\r调休日期为：2026-12-02"_s);
        QCOMPARE(host.messages[0].caption, u"提示"_s);
        QCOMPARE(host.messages[0].buttons, Rt::Buttons::YesNo);
        QCOMPARE(host.messages[0].icon, Rt::Icon::Question);
        QCOMPARE(host.db().queryValue(u"select count(1) from Kq_ExchangeClass where ID=3"_s),
                 confirmed ? u"0"_s : u"1"_s);
        QCOMPARE(savedSignals, confirmed ? 1 : 0);
        QCOMPARE(w.rows().at(2), confirmed ? u"E002 2026-11-30"_s : u"E002 2026-12-02"_s);
        QVERIFY(!host.session.waitNotice().isShown());
    }

    // A failing delete is rolled back and logged, and the list read again, in that
    // order inside the wait notice.
    void aFailedDeleteIsRolledBackAndLogged()
    {
        Fixture fixture;
        RecordingHost recorder;
        recorder.deptScope = Fixture::adminScope();
        recorder.openQuery = [&](const QString &sql) { return fixture.db().openQuery(sql); };
        recorder.queryValue = [&](const QString &sql) { return fixture.db().queryValue(sql); };
        recorder.execSql = [](const QString &) -> bool {
            throw Rt::DatabaseError(u"database is locked"_s);
        };
        std::unique_ptr<TObjectHashedList> departments;
        recorder.queryObjectList = [&](const QMetaObject &entity, const QString &sql) {
            departments.reset(fixture.db().queryObjectList(entity, sql));
            return departments.get();
        };
        HostFactory = recorder.factory();
        Rt::setMessageBoxResponder([](const Rt::MessageBoxRequest &) { return Rt::Answer::Yes; });
        {
            ListWindow w;
            const QString listQuery = w.form.querySql();
            const qsizetype from = recorder.calls.size();
            item(w, u"btnDelete"_s)->click();
            QStringList seen;
            for (const QString &call : recorder.calls.mid(from)) {
                if (call == u"OpenQuery(%1)"_s.arg(listQuery))
                    seen << u"OpenQuery(list)"_s;
                else if (call.contains(u"WaitMessage"_s) || call.contains(u"Trans()"_s)
                         || call.startsWith(u"ExecSql"_s) || call.startsWith(u"WriteErrorLog"_s))
                    seen << call;
            }
            const QString show = u"ShowWaitMessage(正在读取数据，请稍候...)"_s;
            const QString hide = u"HideWaitMessage()"_s;
            QCOMPARE(
                seen,
                (QStringList{u"BeginTrans()"_s,
                             u"ExecSql(  begin    delete Kq_ExchangeClass where ID='1';  end; )"_s,
                             u"RollbackTrans()"_s,
                             u"WriteErrorLog(保存数据失败!database is locked, 0)"_s, show,
                             u"OpenQuery(list)"_s, hide, hide}));
        }
        Rt::setMessageBoxResponder({});
        HostFactory.reset();
    }
};

QTEST_MAIN(WorkCommandsTest)
#include "tst_workcommands.moc"
