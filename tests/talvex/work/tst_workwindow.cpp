// The shift-exchange window over the real host and the fixture database.

#include "EditorDriver.h"
#include "HostFixture.h"
#include "ListWindow.h"

#include "hostapp/services/WaitNotice.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/treelist/cxtreelist.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList wholeScope = {u"E001 2026-11-20"_s, u"E001 2026-12-03"_s, u"E002 2026-12-02"_s,
                                u"E003 2026-12-04"_s};

QString today(int days = 0)
{
    return QDate::currentDate().addDays(days).toString(u"yyyy-MM-dd"_s);
}

} // namespace

class WorkWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Codes short in the text, only the first top node open and focused.
    void treeShowsTheScopeWithShortCodes()
    {
        HostFixture host;
        ListWindow w;
        auto *tree = w.child<TcxTreeList>(u"tlTypeList"_s);
        QCOMPARE(tree->count(), 3);
        QCOMPARE(tree->absoluteCount(), 6);
        QCOMPARE(tree->topNode(0)->texts(0), u"[01]生产部"_s);
        QCOMPARE(tree->topNode(2)->texts(0), u"[9]后勤保障部"_s);
        QCOMPARE(tree->topNode(0)->item(0)->item(0)->texts(1), u"010101"_s);
        QVERIFY(tree->topNode(0)->expanded());
        QVERIFY(!tree->topNode(0)->item(0)->expanded());
        QVERIFY(!tree->topNode(1)->expanded());
        QCOMPARE(tree->focusedNode(), tree->topNode(0));
    }

    void departmentsWithoutTheirParentStillShow()
    {
        HostFixture host;
        host.db().execute(
            u"INSERT INTO Sys_Dept (ID, ParentID, DeptCode, DeptName) VALUES "
            "(7, 99, '0301', '外派组'), (8, 10, '0202', '华南一组'),"
            "(10, 4, '0203', '华南销售部');"
            "INSERT INTO Sys_OperatorDept VALUES (1, '0301'), (1, '0202'), (1, '0203')"_s);
        ListWindow w;
        auto *tree = w.child<TcxTreeList>(u"tlTypeList"_s);
        QCOMPARE(tree->absoluteCount(), 9);
        QCOMPARE(tree->topNode(tree->count() - 1)->texts(1), u"0301"_s);
        // ID 8 comes before its parent 10 and still hangs under it.
        TcxTreeListNode *sales = tree->topNode(1);
        QCOMPARE(sales->count(), 2);
        QCOMPARE(sales->item(1)->texts(1), u"0203"_s);
        QCOMPARE(sales->item(1)->item(0)->texts(1), u"0202"_s);
    }

    // After showing, the grid holds the search over the whole scope, ordered, with
    // names from the host's value list and rest days bold on green.
    void showRunsTheSearchOverTheWholeScope()
    {
        HostFixture host;
        ListWindow w;
        QCOMPARE(w.rows(), wholeScope);
        const auto footer = [&w](const QString &column) {
            return w.view()->footerText(w.child<TcxGridColumn>(column));
        };
        QCOMPARE(footer(u"ColExchgDate"_s), u"4 条记录"_s);
        QCOMPARE(footer(u"ColWorkTime"_s), u"合计：780"_s);
        QVERIFY2(!host.session.waitNotice().isShown(), "every wait notice is removed again");

        const TcxGridDataController *data = w.view()->dataController();
        const int name = w.child<TcxGridColumn>(u"ColPersonName"_s)->index();
        auto *flag = w.child<TcxGridColumn>(u"ColWorkFlag"_s);
        QCOMPARE(data->displayText(0, name), u"王芳"_s);
        QCOMPARE(data->displayText(2, name), u"欧阳 雪"_s);
        QCOMPARE(data->displayText(0, flag->index()), u"休息"_s);
        QCOMPARE(data->displayText(1, flag->index()), u"上班"_s);
        const int shownFlag = int(w.view()->visibleColumns().indexOf(flag));
        const QModelIndex rest = w.view()->itemModel()->index(0, shownFlag);
        const QModelIndex work = w.view()->itemModel()->index(1, shownFlag);
        QCOMPARE(rest.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 128, 0));
        QVERIFY(rest.data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!work.data(Qt::FontRole).value<QFont>().bold());
    }

    void searchFilters()
    {
        HostFixture host;
        ListWindow w;
        w.search(QString(), u"0"_s);
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E003 2026-12-04"_s}));
        w.search(u"ht10"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
        w.search(u"欧阳雪"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
        w.search(u"欧阳 雪"_s); // the stored name loses its blank, the typed text keeps it
        QCOMPARE(w.rows(), QStringList());
        QCOMPARE(w.view()->footerText(w.child<TcxGridColumn>(u"ColExchgDate"_s)), u"0 条记录"_s);
        w.search(u"O'NEIL"_s);
        QCOMPARE(w.rows(), QStringList());
        QVERIFY(host.messages.isEmpty());
    }

    void operatorsSeeOnlyTheirDepartments()
    {
        HostFixture host(u"clerk"_s);
        ListWindow w({2026, 9, 1});
        QCOMPARE(w.child<TcxTreeList>(u"tlTypeList"_s)->count(), 1);
        QCOMPARE(w.rows(), (QStringList{u"E003 2026-12-04"_s, u"E005 2026-10-01"_s}));
    }

    // A department lists itself and what is below it; the filter bar's type and
    // text do not apply.
    void departmentQuerySelectsByCodePrefix()
    {
        HostFixture host;
        ListWindow w;
        auto *tree = w.child<TcxTreeList>(u"tlTypeList"_s);
        tree->setFocusedNode(tree->topNode(0)->item(0)); // 0101
        QCOMPARE(w.rows(), wholeScope.mid(0, 3));
        tree->setFocusedNode(tree->topNode(0)->item(0)->item(0)); // 010101
        QCOMPARE(w.rows(), wholeScope.mid(0, 2));
        w.child<TcxImageComboBox>(u"cxExchgType"_s)->setEditValue(u"1"_s);
        tree->setFocusedNode(tree->topNode(0));
        QCOMPARE(w.rows(), wholeScope.mid(0, 3));
        tree->setFocusedNode(tree->topNode(2)); // 9: nobody live there has exchanges
        QCOMPARE(w.rows(), QStringList());
    }

    // Before any search a refresh runs the default list; afterwards it repeats the
    // last query.
    void refreshRunsTheDefaultOrTheLastQuery()
    {
        HostFixture host;
        {
            TWorkWindowForm form;
            form.InitWindow();
            form.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->setDate(QDate(2026, 9, 1));
            form.RefreshData();
            QVERIFY(form.querySql().isEmpty());
            QCOMPARE(form.dataSet()->recordCount(), 5);
            form.FreeWindow();
            QVERIFY(!form.dataSet());
        }
        ListWindow w;
        w.search(u"10001"_s);
        host.db().execute(u"DELETE FROM Kq_ExchangeClass WHERE ID = 1"_s);
        w.form.RefreshData();
        QCOMPARE(w.rows(), QStringList{u"E001 2026-12-03"_s});
    }

    // The last thirty days, set by showing when the host did not call InitWindow
    // (which takes them from the host's date, tst_slotcalls).
    void theDefaultRangeIsTheLastThirtyDays()
    {
        HostFixture host;
        TWorkWindowForm shown;
        shown.show();
        QCOMPARE(shown.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->text(), today(-30));
        QCOMPARE(shown.findChild<TcxDateEdit *>(u"edtEndDate"_s)->text(), today());
        shown.FreeWindow();
    }

    // Enter in the search text searches, as the button does; the text is the
    // search's, upper case and all.
    void enterInTheSearchTextSearches()
    {
        HostFixture host;
        ListWindow w;
        auto *edit = w.child<TcxButtonEdit>(u"edtEmployeeCode"_s);
        edit->setFocus();
        QTest::keyClicks(edit, u"ht"_s);
        QCOMPARE(w.rows(), wholeScope);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
        QVERIFY(w.form.querySql().contains(u"'%HT%'"_s));
    }

    // The filter's button picks an employee and searches for his job number;
    // cancelling the picker changes nothing.
    void pickerButtonSearchesForTheChosenEmployee()
    {
        HostFixture host;
        ListWindow w;
        auto *edit = w.child<TcxButtonEdit>(u"edtEmployeeCode"_s);
        edit->setText(u"ht"_s);
        answerNextPicker(false);
        Q_EMIT edit->buttonClick(0);
        QCOMPARE(edit->text(), u"HT"_s);
        QCOMPARE(w.rows(), wholeScope);

        answerNextPicker(true);
        Q_EMIT edit->buttonClick(0);
        QCOMPARE(edit->text(), u"HT10002"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
    }
};

QTEST_MAIN(WorkWindowTest)
#include "tst_workwindow.moc"
