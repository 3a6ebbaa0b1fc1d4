// The list window, the picker and the editor as a screen-reader or keyboard user
// meets them: each input control named by the label before it, read through Qt's
// accessibility interfaces; no control without a name; the picker's mnemonics
// working from anywhere in it (the list window's are tried in the docked host,
// tst_hostwindow).

#include "EditorDriver.h"
#include "HostFixture.h"
#include "ListWindow.h"

#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/picker/FrmQryEmployeeList.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The widgets Tab stops at, as a screen reader meets them.
QList<QWidget *> focusStops(QWidget *window)
{
    QList<QWidget *> stops;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !widget->focusProxy())
            stops << widget;
    }
    return stops;
}

// The list window active, as the host shows it, wait notices over it.
struct ActiveListWindow : ListWindow
{
    explicit ActiveListWindow(HostFixture &host)
    {
        host.session.setWindow(&form);
        form.activateWindow();
    }
};

// Runs the picker and hands it, shown and active, to drive; closes what drive
// leaves open. A picker that never opens fails the test.
bool pick(const std::function<void(TQryEmployeeListFrm *)> &drive)
{
    bool chosen = false;
    const bool shown = whenShown<TQryEmployeeListFrm>(
        [&chosen] {
            auto *employee = new THR_Employee;
            chosen = QryEmployee(u"1000"_s, employee);
            delete employee;
        },
        [&drive](TQryEmployeeListFrm *form) {
            QVERIFY(QTest::qWaitForWindowActive(form));
            drive(form);
            if (form->isVisible())
                form->close();
        });
    if (!shown)
        QTest::qFail("the employee picker never opened", __FILE__, __LINE__);
    return chosen;
}

} // namespace

class KeyboardAccessTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inputControlsAreNamedByTheirLabels_data()
    {
        QTest::addColumn<bool>("picker");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        // The name is the caption without its colon.
        QTest::newRow("begin date") << false << u"edtBeginDate"_s << u"Label7"_s << u"查询时间从"_s;
        QTest::newRow("end date") << false << u"edtEndDate"_s << u"Label3"_s << u"至"_s;
        QTest::newRow("exchange type") << false << u"cxExchgType"_s << u"Label6"_s << u"调班类型"_s;
        QTest::newRow("search text")
            << false << u"edtEmployeeCode"_s << u"Label1"_s << u"查询条件"_s;
        QTest::newRow("picker condition")
            << true << u"edtCondition"_s << u"Label3"_s << u"输入检索条件"_s;
    }

    void inputControlsAreNamedByTheirLabels()
    {
        QFETCH(bool, picker);
        QFETCH(QString, control);
        QFETCH(QString, label);
        QFETCH(QString, name);
        HostFixture host;
        const auto check = [&](QWidget *window) {
            auto *edit = window->findChild<QWidget *>(control);
            auto *caption = window->findChild<QLabel *>(label);
            QVERIFY(edit && caption);
            QCOMPARE(caption->buddy(), edit);
            QCOMPARE(accessibleName(edit), name);
        };
        if (picker) {
            pick([&](TQryEmployeeListFrm *form) { check(form); });
        } else {
            ActiveListWindow w(host);
            check(&w.form);
            // The hint above the search text describes it rather than naming it.
            QCOMPARE(QAccessible::queryAccessibleInterface(w.child(u"edtEmployeeCode"_s))
                         ->text(QAccessible::Description),
                     u"可输入工号或姓名进行模糊搜索"_s);
        }
    }

    // Every control Tab reaches has a name, also those no label stands before.
    void noControlIsNameless()
    {
        HostFixture host;
        const auto check = [](QWidget *window, const QStringList &expected) {
            QStringList names;
            for (QWidget *stop : focusStops(window)) {
                const QString name = accessibleName(stop);
                QVERIFY2(!name.isEmpty(),
                         qPrintable(QString::fromLatin1(stop->metaObject()->className()) + u' '
                                    + stop->objectName()));
                names << name;
            }
            for (const QString &name : expected)
                QVERIFY2(names.contains(name), qPrintable(names.join(u", "_s)));
        };
        {
            ActiveListWindow w(host);
            check(&w.form, {u"部门列表"_s, u"调班记录"_s, u"检索(Q)"_s});
        }
        pick([&](TQryEmployeeListFrm *form) {
            check(form, {u"员工列表"_s, u"确定(O)"_s, u"取消(C)"_s, u"查询(Q)"_s});
        });
        // A form added later is named by its labels without asking.
        driveEditor([] { ShowKqExchgClassEdt(u"新增调班"_s, QString()); },
                    [&](OpenEditor &editor) {
                        check(editor.form, {u"员工工号"_s, u"调班时间"_s, u"调班理由"_s,
                                            u"时段一上班"_s, u"说明"_s, u"确定(O)"_s});
                    });
    }

    void pickerMnemonicsWorkFromAnywhere()
    {
        HostFixture host;
        int queries = 0;
        // Alt+Q from the grid queries; Alt+O chooses the row.
        QVERIFY(pick([&](TQryEmployeeListFrm *form) {
            QVERIFY(form->findChild<QWidget *>(u"cxGrid"_s)->isAncestorOf(form->focusWidget()));
            QSignalSpy query(form->findChild<QPushButton *>(u"BtnQry"_s), &QPushButton::clicked);
            QTest::keyClick(form->focusWidget(), Qt::Key_Q, Qt::AltModifier);
            QTRY_COMPARE(query.count(), 1);
            queries = int(query.count());
            QTest::keyClick(form->focusWidget(), Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(!form->isVisible());
        }));
        QCOMPARE(queries, 1);
        // Alt+C from the condition cancels.
        bool stillOpen = true;
        QVERIFY(!pick([&](TQryEmployeeListFrm *form) {
            form->findChild<QWidget *>(u"edtCondition"_s)->setFocus();
            QTest::keyClick(form->focusWidget(), Qt::Key_C, Qt::AltModifier);
            QTRY_VERIFY(!form->isVisible());
            stillOpen = form->isVisible();
        }));
        QVERIFY(!stillOpen);
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboardaccess.moc"
