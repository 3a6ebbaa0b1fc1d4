#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/component.h"
#include "runtime/exceptions.h"
#include "runtime/form.h"
#include "runtime/formborder.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

class RuntimeCoreTest : public QObject
{
    Q_OBJECT

    TApplication application;

private Q_SLOTS:
    void init() { Rt::setApplication(&application); }
    void cleanup() { application.setExceptionHandler({}); }

    // A silent abort ends the handler quietly; any other failure reaches the
    // application's handler, and nothing escapes to the caller.
    void guardSwallowsAbortAndReportsTheRest()
    {
        QStringList reported;
        application.setExceptionHandler(
            [&](const std::exception_ptr &e) { reported << Rt::messageOf(e); });
        int after = 0;
        Rt::runGuarded([&] {
            Rt::abort();
            ++after;
        });
        QVERIFY(reported.isEmpty());
        Rt::runGuarded([] { throw Rt::DatabaseError(u"ORA-00942"_s); });
        Rt::runGuarded([] { throw std::runtime_error("plain"); });
        QCOMPARE(reported, (QStringList{u"ORA-00942"_s, u"plain"_s}));
        QCOMPARE(after, 0);
    }

    // Forms and frames own what is created inside them; a nested frame keeps its
    // own components, and the internals of composite controls are not components.
    void ownershipWalk()
    {
        TForm form;
        auto *panel = new QWidget(&form);
        auto *edit = new QLineEdit(panel);
        auto *frame = new TFrame(panel);
        auto *inFrame = new QPushButton(frame);
        const QList<QObject *> owned = Rt::ownedComponents(&form);
        QVERIFY(owned.contains(panel));
        QVERIFY(owned.contains(edit));
        QVERIFY(owned.contains(frame));
        QVERIFY(!owned.contains(inFrame));
        QVERIFY(owned.indexOf(panel) < owned.indexOf(edit));
        for (QObject *internal : edit->children())
            QVERIFY(!owned.contains(internal));
        QCOMPARE(Rt::ownedComponents(frame), QList<QObject *>{inFrame});
        QVERIFY(Rt::ownedComponents(panel).isEmpty());
    }

    void barsMergeIntoAnotherManagerAndBack()
    {
        QMainWindow host;
        TdxBarManager hostBars(&host);
        hostBars.setMainWindow(&host);
        TForm form;
        TdxBarManager formBars(&form);
        QWidget *dock = formBars.topDockControl(&form, 26);
        TdxBar *bar = formBars.addBar(u"dxToolBar"_s);
        bar->setCaption(u"工具栏"_s);
        auto *item = new TdxBarLargeButton(&form);
        item->setCaption(u"增加调班(&L)"_s);
        bar->addItem(item);
        QCOMPARE(dock->findChildren<QToolBar *>().size(), 1);

        hostBars.merge(&formBars);
        QCOMPARE(dock->findChildren<QToolBar *>().size(), 0);
        const auto hostToolBars = host.findChildren<QToolBar *>();
        QCOMPARE(hostToolBars.size(), 1);
        QCOMPARE(hostToolBars[0]->windowTitle(), u"工具栏"_s);
        QVERIFY(hostToolBars[0]->actions().contains(item->action()));

        int clicks = 0;
        connect(item, &TdxBarItem::clicked, this, [&] { ++clicks; });
        item->action()->trigger();
        QCOMPARE(clicks, 1);

        hostBars.unmerge(&formBars);
        QCOMPARE(host.findChildren<QToolBar *>().size(), 0);
        QCOMPARE(dock->findChildren<QToolBar *>().size(), 1);
    }

    // A dialog border keeps the designed client area: the user cannot resize it,
    // and a modal show keeps the border as it was.
    void dialogBorderFixesTheClientArea()
    {
        TForm form;
        Rt::setDialogBorder(&form, {481, 572});
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QSize shown;
        QTimer::singleShot(0, &form, [&] {
            form.resize(700, 800);
            shown = form.size();
            form.close();
        });
        form.showModal();
        QCOMPARE(shown, QSize(481, 572));
        QCOMPARE(form.windowFlags(), flags | Qt::Dialog);
    }

    // A message box belongs to the window that raised it: the modal dialog over
    // the main form when one is up, the main form otherwise.
    void messageBoxBelongsToTheWindowThatRaisedIt()
    {
        QWidget mainForm;
        application.setMainForm(&mainForm);
        mainForm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainForm));
        QList<QWidget *> owners;
        const auto answerNextBox = [&owners] {
            QTimer::singleShot(0, [&owners] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                owners << (box ? box->parentWidget() : nullptr);
                if (box)
                    box->accept();
            });
        };
        answerNextBox();
        Rt::messageBox(u"main"_s, u"提示"_s);
        TForm dialog;
        QTimer::singleShot(0, &dialog, [&] {
            answerNextBox();
            Rt::messageBox(u"dialog"_s, u"提示"_s);
            dialog.close();
        });
        dialog.showModal();
        application.setMainForm(nullptr);
        QCOMPARE(owners, (QList<QWidget *>{&mainForm, &dialog}));
    }

    // A note from a form docked deep inside a main window reaches that window's
    // status bar; a form standing alone drops it without harm.
    void statusNoteReachesTheMainWindowHoldingTheForm()
    {
        QMainWindow main;
        QStatusBar *statusBar = main.statusBar();
        auto *site = new QWidget;
        main.setCentralWidget(site);
        auto *form = new QLineEdit(site);
        Rt::showStatusNote(form, u"已保存"_s);
        QCOMPARE(statusBar->currentMessage(), u"已保存"_s);
        QLineEdit alone;
        Rt::showStatusNote(&alone, u"无处显示"_s);
        QCOMPARE(statusBar->currentMessage(), u"已保存"_s);
    }

    // A handler may delete the form while it is shown: the show ends and nothing
    // touches the freed form (the memcheck run of this case proves the latter).
    void formDeletedDuringItsModalLoop()
    {
        auto *form = new TForm;
        const QPointer<TForm> watch(form);
        QTimer::singleShot(0, [form] { delete form; });
        QCOMPARE(form->showModal(), Rt::ModalResult::Cancel);
        QVERIFY(watch.isNull());
    }
};

QTEST_MAIN(RuntimeCoreTest)
#include "tst_runtimecore.moc"
