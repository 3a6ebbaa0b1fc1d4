// The shift-exchange window over the real host and the fixture database.

#include "HostFixture.h"

#include "hostapp/db/Database.h"
#include "hostapp/services/WaitNotice.h"
#include "runtime/dataset.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/work/WorkWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct Window
{
    explicit Window(bool initialise = true)
    {
        if (initialise)
            form.InitWindow();
        begin()->setDate(QDate(2026, 11, 1));
        end()->setDate(QDate(2026, 12, 5));
        form.show();
    }
    ~Window() { form.FreeWindow(); }

    template <typename T>
    T *child(const QString &name) const
    {
        T *found = form.findChild<T *>(name);
        Q_ASSERT(found);
        return found;
    }
    TcxDateEdit *begin() const { return child<TcxDateEdit>(u"edtBeginDate"_s); }
    TcxDateEdit *end() const { return child<TcxDateEdit>(u"edtEndDate"_s); }
    TcxTreeList *tree() const { return child<TcxTreeList>(u"tlTypeList"_s); }
    TcxGridDBTableView *view() const { return child<TcxGridDBTableView>(u"TableKQExchangeClass"_s); }
    TcxGridColumn *column(const QString &name) const { return child<TcxGridColumn>(name); }

    // Employee codes and days of the rows the grid shows, in order.
    QStringList rows() const
    {
        QStringList result;
        const TcxGridDataController *data = view()->dataController();
        for (int r = 0; r < data->recordCount(); ++r)
            result << data->displayText(r, column(u"ColEmployeeCode"_s)->index()) + u' '
                    + data->displayText(r, column(u"ColExchgDate"_s)->index());
        return result;
    }

    void search(const QString &text, const QString &type = u"-1"_s)
    {
        child<TcxButtonEdit>(u"edtEmployeeCode"_s)->setText(text);
        child<TcxImageComboBox>(u"cxExchgType"_s)->setEditValue(type);
        child<QPushButton>(u"btnQry"_s)->click();
    }

    TWorkWindowForm form;
};

} // namespace

class WorkWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void treeShowsTheScopeWithShortCodes()
    {
        HostFixture host;
        Window w;
        TcxTreeList *tree = w.tree();
        QCOMPARE(tree->count(), 3);
        QCOMPARE(tree->topNode(0)->texts(0), u"[01]生产部"_s);
        QCOMPARE(tree->topNode(2)->texts(0), u"[9]后勤保障部"_s);
        QCOMPARE(tree->topNode(0)->item(0)->item(0)->texts(1), u"010101"_s);
        QCOMPARE(tree->absoluteCount(), 6);
        // Only the first top-level node is open, and it has the focus.
        QVERIFY(tree->topNode(0)->expanded());
        QVERIFY(!tree->topNode(0)->item(0)->expanded());
        QVERIFY(!tree->topNode(1)->expanded());
        QCOMPARE(tree->focusedNode(), tree->topNode(0));
        QCOMPARE(tree->topNode(0)->item(0)->imageIndex(), 1);
        QCOMPARE(tree->topNode(0)->item(0)->selectedIndex(), 2);
    }

    void departmentsWithoutTheirParentStillShow()
    {
        HostFixture host;
        host.db().execute(u"INSERT INTO Sys_Dept (ID, ParentID, DeptCode, DeptName) VALUES "
                          "(7, 99, '0301', '外派组'), (8, 10, '0202', '华南一组'),"
                          "(10, 4, '0203', '华南销售部');"
                          "INSERT INTO Sys_OperatorDept VALUES (1, '0301'), (1, '0202'), (1, '0203')"_s);
        Window w;
        TcxTreeList *tree = w.tree();
        QCOMPARE(tree->absoluteCount(), 9);
        QCOMPARE(tree->topNode(tree->count() - 1)->texts(1), u"0301"_s);
        // ID 8 comes before its parent 10 and still hangs under it.
        TcxTreeListNode *sales = tree->topNode(1);
        QCOMPARE(sales->count(), 2);
        QCOMPARE(sales->item(1)->texts(1), u"0203"_s);
        QCOMPARE(sales->item(1)->item(0)->texts(1), u"0202"_s);
    }

    // After showing, the grid holds the search over the whole scope, ordered.
    void showRunsTheSearchOverTheWholeScope()
    {
        HostFixture host;
        Window w;
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E001 2026-12-03"_s,
                                        u"E002 2026-12-02"_s, u"E003 2026-12-04"_s}));
        QVERIFY(w.form.querySql().contains(u" order by a.EmployeeCode , a.ExchgDate  "_s));
        QCOMPARE(w.view()->footerText(w.column(u"ColExchgDate"_s)), u"4 条记录"_s);
        QCOMPARE(w.view()->footerText(w.column(u"ColWorkTime"_s)), u"合计：780"_s);
        QVERIFY2(!host.session.waitNotice().isShown(), "every wait notice is removed again");
    }

    void searchFilters()
    {
        HostFixture host;
        Window w;
        w.search(QString(), u"0"_s);
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E003 2026-12-04"_s}));
        w.search(u"ht10"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
        w.search(u"欧阳雪"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
        w.search(u"欧阳 雪"_s); // the stored name loses its blank, the typed text keeps it
        QCOMPARE(w.rows(), QStringList());
        QCOMPARE(w.view()->footerText(w.column(u"ColExchgDate"_s)), u"0 条记录"_s);
        w.search(u"O'NEIL"_s);
        QCOMPARE(w.rows(), QStringList());
        QVERIFY(host.messages.isEmpty());
    }

    void operatorsSeeOnlyTheirDepartments()
    {
        HostFixture host(u"clerk"_s);
        Window w;
        QCOMPARE(w.tree()->count(), 1);
        QCOMPARE(w.rows(), QStringList{u"E003 2026-12-04"_s});
        w.begin()->setDate(QDate(2026, 9, 1));
        w.search(QString());
        QCOMPARE(w.rows(), (QStringList{u"E003 2026-12-04"_s, u"E005 2026-10-01"_s}));
    }

    void departmentQuerySelectsByCodePrefix()
    {
        HostFixture host;
        Window w;
        TcxTreeList *tree = w.tree();
        tree->setFocusedNode(tree->topNode(0)->item(0)); // 0101
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E001 2026-12-03"_s,
                                        u"E002 2026-12-02"_s}));
        QVERIFY(w.form.querySql().contains(u"substr(b.DeptCode,1,4 ) ='0101'"_s));
        tree->setFocusedNode(tree->topNode(0)->item(0)->item(0)); // 010101
        QCOMPARE(w.rows(), (QStringList{u"E001 2026-11-20"_s, u"E001 2026-12-03"_s}));
        // The filter bar's type and text do not apply to the department query.
        w.child<TcxImageComboBox>(u"cxExchgType"_s)->setEditValue(u"1"_s);
        tree->setFocusedNode(tree->topNode(2)); // 9: nobody live there has exchanges
        QCOMPARE(w.rows(), QStringList());
    }

    void refreshBeforeAnySearchRunsTheDefaultQuery()
    {
        HostFixture host;
        TWorkWindowForm form;
        form.InitWindow();
        // Not shown: no search has run, the query text is empty.
        QVERIFY(form.querySql().isEmpty());
        form.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->setDate(QDate(2026, 9, 1));
        form.findChild<TcxDateEdit *>(u"edtEndDate"_s)->setDate(QDate(2026, 12, 5));
        form.RefreshData();
        QVERIFY(form.querySql().isEmpty());
        QCOMPARE(form.dataSet()->recordCount(), 5);
        form.FreeWindow();
        QVERIFY(!form.dataSet());
    }

    void refreshRepeatsTheLastQuery()
    {
        HostFixture host;
        Window w;
        w.search(u"10001"_s);
        host.db().execute(u"DELETE FROM Kq_ExchangeClass WHERE ID = 1"_s);
        w.form.RefreshData();
        QCOMPARE(w.rows(), QStringList{u"E001 2026-12-03"_s});
    }

    void initWindowSetsTheLastThirtyDays()
    {
        HostFixture host;
        TWorkWindowForm form;
        QVERIFY(form.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->text().isEmpty());
        form.InitWindow();
        const QDate today = QDate::currentDate();
        QCOMPARE(form.findChild<TcxDateEdit *>(u"edtBeginDate"_s)->text(),
                 today.addDays(-30).toString(u"yyyy-MM-dd"_s));
        QCOMPARE(form.findChild<TcxDateEdit *>(u"edtEndDate"_s)->text(),
                 today.toString(u"yyyy-MM-dd"_s));
        form.FreeWindow();
    }

    void shownBeforeInitWindowStillHasTheDefaultRange()
    {
        HostFixture host;
        TWorkWindowForm form;
        form.show();
        QCOMPARE(form.findChild<TcxDateEdit *>(u"edtEndDate"_s)->text(),
                 QDate::currentDate().toString(u"yyyy-MM-dd"_s));
        QVERIFY(form.querySql().contains(u"to_date('"_s
                                         + QDate::currentDate().toString(u"yyyy-MM-dd"_s)));
        form.FreeWindow();
    }

    void restDaysShowBoldOnGreen()
    {
        HostFixture host;
        Window w;
        TcxGridColumn *flag = w.column(u"ColWorkFlag"_s);
        const TcxGridDataController *data = w.view()->dataController();
        QCOMPARE(data->displayText(0, flag->index()), u"休息"_s);
        QCOMPARE(data->displayText(1, flag->index()), u"上班"_s);
        TcxStyle *rest = flag->contentStyleHandler()(w.view(), 0, flag);
        QVERIFY(rest);
        QVERIFY(rest->font().bold());
        QCOMPARE(rest->color(), QColor(0, 128, 0));
        QVERIFY(!flag->contentStyleHandler()(w.view(), 1, flag));
        // The model hands the style to the painter.
        const QAbstractItemModel *model = w.view()->itemModel();
        const int flagColumn = int(w.view()->visibleColumns().indexOf(flag));
        QCOMPARE(model->data(model->index(0, flagColumn), Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0, 128, 0));
        QVERIFY(model->data(model->index(0, flagColumn), Qt::FontRole).value<QFont>().bold());
    }

    // The filter's button picks an employee and searches for his job number;
    // cancelling the picker changes nothing.
    void pickerButtonSearchesForTheChosenEmployee()
    {
        HostFixture host;
        Window w;
        auto *edit = w.child<TcxButtonEdit>(u"edtEmployeeCode"_s);
        edit->setText(u"ht"_s);
        const QStringList before = w.rows();
        auto answerPicker = [](const QString &button) {
            QTimer::singleShot(0, [button] {
                for (QWidget *top : QApplication::topLevelWidgets()) {
                    if (top->isVisible() && top->windowTitle() == u"员工检索"_s)
                        top->findChild<QPushButton *>(button)->click();
                }
            });
        };
        answerPicker(u"bbtnClose"_s);
        Q_EMIT edit->buttonClick(0);
        QCOMPARE(edit->text(), u"HT"_s);
        QCOMPARE(w.rows(), before);

        answerPicker(u"bbtnEnter"_s);
        Q_EMIT edit->buttonClick(0);
        QCOMPARE(edit->text(), u"HT10002"_s);
        QCOMPARE(w.rows(), QStringList{u"E002 2026-12-02"_s});
    }

    void namesComeFromTheHostsValueList()
    {
        HostFixture host;
        Window w;
        const TcxGridDataController *data = w.view()->dataController();
        QCOMPARE(data->displayText(0, w.column(u"ColPersonName"_s)->index()), u"王芳"_s);
        QCOMPARE(data->displayText(2, w.column(u"ColPersonName"_s)->index()), u"欧阳 雪"_s);
    }
};

QTEST_MAIN(WorkWindowTest)
#include "tst_workwindow.moc"
