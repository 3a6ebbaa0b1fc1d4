#include "HostFixture.h"
#include "RecordingHost.h"

#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/model/HR_Employee.h"
#include "talvex/picker/EmployeeSearch.h"
#include "talvex/picker/FrmQryEmployeeList.h"
#include "talvex/project/HostFactory.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// "text|caption|icon" of each message box shown.
QStringList shown(const QList<Rt::MessageBoxRequest> &messages)
{
    QStringList lines;
    for (const Rt::MessageBoxRequest &m : messages)
        lines << u"%1|%2|%3"_s.arg(m.text, m.caption).arg(int(m.icon));
    return lines;
}

// The open picker, reached by object names.
struct Picker
{
    TQryEmployeeListFrm *form;

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return form->findChild<T *>(name);
    }
    TcxTextEdit *edit() const { return child<TcxTextEdit>(u"edtCondition"_s); }
    TcxGridDBTableView *view() const { return child<TcxGridDBTableView>(u"TableEmployeeList"_s); }
    QTableView *table() const { return child(u"cxGrid"_s)->findChild<QTableView *>(); }
    void click(const QString &button) const { child<QPushButton>(button)->click(); }
    bool focusInEdit() const { return form->focusWidget() == edit(); }
    bool focusInGrid() const { return child(u"cxGrid"_s)->isAncestorOf(form->focusWidget()); }

    // What a column shows, row by row.
    QStringList column(const QString &name = u"colJobNumber"_s) const
    {
        const int index = child<TcxGridColumn>(name)->index();
        QStringList texts;
        for (int r = 0; r < view()->dataController()->recordCount(); ++r)
            texts << view()->dataController()->displayText(r, index);
        return texts;
    }
    int row(const QString &jobNumber) const { return int(column().indexOf(jobNumber)); }
};

struct Outcome
{
    bool chosen;
    std::unique_ptr<THR_Employee> employee;
};

// Runs QryEmployee and hands the open dialog to drive. Whatever drive leaves open is
// closed afterwards, so that a failed check cannot hang the run.
Outcome pick(const QString &condition, THR_Employee *passed,
             const std::function<void(const Picker &)> &drive)
{
    bool opened = false;
    QTimer::singleShot(0, [&opened, drive] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *form = qobject_cast<TQryEmployeeListFrm *>(w); form && form->isVisible()) {
                opened = true;
                drive(Picker{form});
                if (form->isVisible())
                    form->close();
            }
        }
    });
    THR_Employee *employee = passed;
    const bool chosen = QryEmployee(condition, employee);
    if (!opened)
        QTest::qFail("the picker was not shown", __FILE__, __LINE__);
    return {chosen, std::unique_ptr<THR_Employee>(employee)};
}

// The recording host, with the fixture database answering OpenQuery.
struct RecordedHost
{
    Fixture fixture;
    RecordingHost host;
    QList<Rt::MessageBoxRequest> messages;

    RecordedHost()
    {
        host.openQuery = [this](const QString &sql) { return fixture.db().openQuery(sql); };
        HostFactory = host.factory();
        Rt::setMessageBoxResponder([this](const Rt::MessageBoxRequest &request) {
            messages << request;
            return Rt::Answer::Ok;
        });
    }
    ~RecordedHost()
    {
        Rt::setMessageBoxResponder({});
        HostFactory.reset();
    }
};

} // namespace

class PickerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void statementText_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("statement");
        QTest::newRow("any mode but -1: active; trimmed and upper-cased")
            << u"  ht \t"_s << 4
            << u" select * from HR_Employee  where WorkStatus in (0,4) and DELETED=0 and (upper(JobNumber) like '%HT%'  or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%HT%'  or upper(PyCode) like '%HT%')"_s;
        QTest::newRow("every status, Chinese kept")
            << u"\n王a"_s << -1
            << u" select * from HR_Employee  where DELETED=0  and (upper(JobNumber) like '%王A%'  or upper(REGEXP_REPLACE(Trim(personName),' ','')) like '%王A%' or upper(PyCode) like '%王A%')"_s;
    }
    void statementText()
    {
        QFETCH(QString, condition);
        QFETCH(int, mode);
        QTEST(EmployeeSearch::statement(condition, mode), "statement");
    }

    void initialQueryAsksTheHostOnceAndFocusesTheGrid()
    {
        RecordedHost recorded;
        THR_Employee active;
        QStringList callsWhileOpen;
        const Outcome out = pick(u"  ht "_s, &active, [&](const Picker &p) {
            QCOMPARE(p.edit()->text(), u"  HT "_s);
            QCOMPARE(p.column(), QStringList{u"HT10002"_s});
            QVERIFY(p.focusInGrid());
            callsWhileOpen = recorded.host.calls;
        });
        QVERIFY(!out.chosen);
        QCOMPARE(recorded.host.argumentsOf(u"OpenQuery"_s),
                 QStringList{EmployeeSearch::statement(u"HT"_s, 0)});
        QCOMPARE(recorded.host.argumentsOf(u"GetDictCombo"_s),
                 (QStringList{u" select DeptCode,DeptName from Sys_Dept"_s,
                              u" select StationCode,StationName from HR_StationInfo"_s}));
        QVERIFY(recorded.host.calls.contains(u"GetStyleRepository()"_s));
        QCOMPARE(recorded.host.calls, callsWhileOpen); // nothing asked after closing
        QVERIFY(recorded.messages.isEmpty());
    }

    void statusModeChoosesRowsAndStatusColumn_data()
    {
        QTest::addColumn<bool>("passEmployee");
        QTest::addColumn<int>("workStatus");
        QTest::addColumn<QStringList>("statuses");
        QTest::newRow("every status")
            << true << -1 << QStringList{u"在职"_s, u"试用"_s, u"离职"_s, u"退休"_s};
        QTest::newRow("active") << true << 0 << QStringList{u"在职"_s, u"试用"_s};
        QTest::newRow("no object") << false << 0 << QStringList{u"在职"_s, u"试用"_s};
    }
    void statusModeChoosesRowsAndStatusColumn()
    {
        QFETCH(bool, passEmployee);
        QFETCH(int, workStatus);
        QFETCH(QStringList, statuses);
        HostFixture host;
        THR_Employee passed;
        passed.WorkStatus = workStatus;
        pick(u"10"_s, passEmployee ? &passed : nullptr, [&](const Picker &p) {
            QCOMPARE(p.column(u"ColWorkStatus"_s), statuses);
            QCOMPARE(p.child<TcxGridColumn>(u"ColWorkStatus"_s)->isVisible(), workStatus == -1);
            QCOMPARE(p.column(u"colDeptCode"_s).first(), u"一车间甲班"_s);
            QCOMPARE(p.column(u"ColStationCode"_s).first(), u"操作工"_s);
            QCOMPARE(p.column(u"ColSex"_s).first(), u"女"_s);
            QCOMPARE(p.view()->footerText(p.child<TcxGridColumn>(u"colJobNumber"_s)),
                     u"%1 条记录"_s.arg(statuses.size()));
        });
        QCOMPARE(passed.WorkStatus, workStatus);
    }

    // Opened without a condition the list is empty and nothing can be chosen; then
    // Tab and the button query, Enter does not.
    void conditionRowQueriesOnTabAndTheButtonOnly()
    {
        HostFixture host;
        pick(QString(), nullptr, [&](const Picker &p) {
            QVERIFY(p.column().isEmpty());
            QVERIFY(p.focusInEdit());
            p.click(u"bbtnEnter"_s);
            QVERIFY(p.form->isVisible());
            QTest::keyClicks(p.edit(), u"wf"_s);
            QTest::keyClick(p.edit(), Qt::Key_Return);
            QTest::keyClick(p.edit(), Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(p.column().isEmpty());
            QTest::keyClick(p.edit(), Qt::Key_Tab);
            QCOMPARE(p.column(), QStringList{u"10001"_s});
            QVERIFY(p.focusInGrid());

            p.edit()->setText(u"   "_s);
            p.click(u"BtnQry"_s);
            QCOMPARE(p.column(), QStringList{u"10001"_s});
            QVERIFY(p.focusInEdit());

            p.edit()->setText(u"ZZZ"_s);
            QTest::keyClick(p.edit(), Qt::Key_Tab);
            QVERIFY(p.column().isEmpty());
            QVERIFY(p.focusInEdit());
            QCOMPARE(p.edit()->selectedText(), u"ZZZ"_s);
        });
        QCOMPARE(shown(host.messages),
                 (QStringList{u"请输入查询条件!|提示|%1"_s.arg(int(Rt::Icon::None)),
                              u"未查询到员工信息!|提示|%1"_s.arg(int(Rt::Icon::Information))}));
    }

    void aQuoteIsMatchedAsText()
    {
        HostFixture host;
        host.db().execute(u"INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, "
                          "PyCode, WorkStatus) VALUES (9, 'E009', '10009', 'O''Neil', 'ON', 0)"_s);
        pick(u"o'n"_s, nullptr, [](const Picker &p) {
            QCOMPARE(p.column(), QStringList{u"10009"_s});
            p.edit()->setText(u"'"_s);
            p.click(u"BtnQry"_s);
            QCOMPARE(p.column(), QStringList{u"10009"_s});
        });
        QVERIFY(host.messages.isEmpty());
    }

    void cancellingReturnsAnEmptyEmployee_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << u"bbtnClose"_s;
        QTest::newRow("Esc") << u"Esc"_s;
        QTest::newRow("title bar") << QString();
    }
    void cancellingReturnsAnEmptyEmployee()
    {
        QFETCH(QString, how);
        HostFixture host;
        THR_Employee passed;
        passed.WorkStatus = -1;
        const Outcome out = pick(u"10"_s, &passed, [how](const Picker &p) {
            if (how == u"Esc"_s)
                QTest::keyClick(p.edit(), Qt::Key_Escape);
            else if (!how.isEmpty())
                p.click(how);
            QCOMPARE(p.form->isVisible(), how.isEmpty());
        });
        QVERIFY(!out.chosen);
        QVERIFY(out.employee && out.employee.get() != &passed);
        QVERIFY(out.employee->ID.isEmpty() && out.employee->EmployeeCode.isEmpty());
        QCOMPARE(out.employee->WorkStatus, 0);
    }

    void choosingReturnsTheRowsEmployee()
    {
        HostFixture host;
        const Outcome byDoubleClick = pick(u"10"_s, nullptr, [](const Picker &p) {
            QVERIFY(QTest::qWaitForWindowExposed(p.form));
            const QPoint at =
                p.table()->visualRect(p.table()->model()->index(p.row(u"10001"_s), 1)).center();
            QTest::mouseClick(p.table()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(p.table()->viewport(), Qt::LeftButton, {}, at);
        });
        QVERIFY(byDoubleClick.chosen);
        const THR_Employee &e = *byDoubleClick.employee;
        QCOMPARE(e.ID, u"1"_s);
        QCOMPARE(e.EmployeeCode, u"E001"_s);
        QCOMPARE(e.DeptCode, u"010101"_s);
        QCOMPARE(e.Birthday, double(QDate(1899, 12, 30).daysTo(QDate(1990, 5, 17))));
        QVERIFY(e.PyCode.isEmpty()); // only searched, never handed on

        const Outcome byButton = pick(u"10"_s, nullptr, [](const Picker &p) {
            p.table()->selectRow(p.row(u"HT10002"_s));
            p.click(u"bbtnEnter"_s);
        });
        QVERIFY(byButton.chosen);
        QCOMPARE(byButton.employee->PersonName, u"欧阳 雪"_s);
        QCOMPARE(byButton.employee->Birthday, 0.0); // NULL

        // Enter on the focused row, as the keyboard user chooses.
        const Outcome byEnter = pick(u"10"_s, nullptr, [](const Picker &p) {
            QVERIFY(p.focusInGrid());
            p.table()->selectRow(p.row(u"HT10002"_s));
            QTest::keyClick(p.table(), Qt::Key_Return);
            QVERIFY(!p.form->isVisible());
        });
        QVERIFY(byEnter.chosen);
        QCOMPARE(byEnter.employee->PersonName, u"欧阳 雪"_s);
    }

    void hostErrorsEndTheCommandThatAsked()
    {
        RecordedHost recorded;
        const auto refuse = [](const QString &) -> TDataSet * {
            throw Rt::DatabaseError(u"refused"_s);
        };
        pick(u"wf"_s, nullptr, [&](const Picker &p) {
            recorded.host.openQuery = refuse;
            p.click(u"BtnQry"_s);
            QCOMPARE(p.column(), QStringList{u"10001"_s});
        });
        QCOMPARE(shown(recorded.messages), QStringList{u"refused||%1"_s.arg(int(Rt::Icon::Stop))});

        THR_Employee passed;
        THR_Employee *employee = &passed;
        QVERIFY_THROWS_EXCEPTION(Rt::DatabaseError, QryEmployee(u"wf"_s, employee));
        recorded.host.failStyleRepository = true;
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, QryEmployee(u"wf"_s, employee));
        QCOMPARE(employee, &passed);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget *w) { return qobject_cast<TQryEmployeeListFrm *>(w); }));
    }
};

QTEST_MAIN(PickerTest)
#include "tst_picker.moc"
