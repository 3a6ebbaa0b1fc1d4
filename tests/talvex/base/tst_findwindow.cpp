// The find dialog over a banded grid and a tree list: directions, match kinds, the
// focus it moves, and what happens when its target goes away.

#include "runtime/application.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/base/FindWindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A window with a banded grid of six records and a tree list.
//
// record  姓名        代码(hidden)  金额   日期                 备注
//   0     王芳         SECRET       540    2026-12-03           null
//   1     Alpha        A1           12.5   2026-12-03 09:30     Beta␠
//   2     欧阳 雪      B2           null   2026-11-20           王芳
//   3     王芳芳       C3           5400   null                 alpha
//   4     Zeta         D4           540    2026-12-04           null
//   5     末行         E5           7      2026-12-05           null
//
// Tree (部门 visible, 编号 hidden): 生产部 > (一车间 > 甲班), 营销中心 > 华东销售部;
// 后勤部 — all collapsed.
struct Target
{
    Target()
    {
        grid = new TcxGrid(&window);
        view = new TcxGridBandedTableView(grid);
        grid->addLevel()->setGridView(view);
        view->addBand(u"员工"_s);
        for (const QString &caption : {u"姓名"_s, u"代码"_s, u"金额"_s, u"日期"_s, u"备注"_s})
            view->createColumn()->setCaption(caption);
        view->column(1)->setVisible(false);
        const QVariant null;
        const QList<QVariantList> rows{
            {u"王芳"_s, u"SECRET"_s, 540.0, QDate(2026, 12, 3), null},
            {u"Alpha"_s, u"A1"_s, 12.5, QDateTime(QDate(2026, 12, 3), QTime(9, 30)), u"Beta "_s},
            {u"欧阳 雪"_s, u"B2"_s, null, QDate(2026, 11, 20), u"王芳"_s},
            {u"王芳芳"_s, u"C3"_s, 5400, null, u"alpha"_s},
            {u"Zeta"_s, u"D4"_s, qint64(540), QDate(2026, 12, 4), null},
            {u"末行"_s, u"E5"_s, 7, QDate(2026, 12, 5), null},
        };
        TcxGridDataController *data = view->dataController();
        data->setRecordCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < rows[r].size(); ++c)
                data->setValue(r, c, rows[r][c]);
        }

        tree = new TcxTreeList(&window);
        tree->addColumn()->setCaption(u"部门"_s);
        tree->addColumn()->setVisible(false);
        auto node = [](TcxTreeListNode *n, const QString &name, const QString &code) {
            n->setTexts(0, name);
            n->setTexts(1, code);
            return n;
        };
        production = node(tree->add(), u"生产部"_s, u"01"_s);
        workshop = node(production->addChild(), u"一车间"_s, u"0101"_s);
        shift = node(workshop->addChild(), u"甲班"_s, u"010101"_s);
        sales = node(tree->add(), u"营销中心"_s, u"02"_s);
        east = node(sales->addChild(), u"华东销售部"_s, u"0201"_s);
        node(tree->add(), u"后勤部"_s, u"9"_s);
        tree->fullCollapse();
    }

    int focused() const { return view->dataController()->focusedRecordIndex(); }

    TForm window;
    TcxGrid *grid;
    TcxGridBandedTableView *view;
    TcxTreeList *tree;
    TcxTreeListNode *production, *workshop, *shift, *sales, *east;
};

// The dialog's controls, reached by their names.
struct Dialog
{
    Dialog()
        : form(new TFindWindowForm)
    {
        FindWindowForm = form;
    }
    ~Dialog() { delete form.get(); }

    template <typename T> T *child(const QString &name) const { return form->findChild<T *>(name); }
    void set(const QString &text, bool upwards = false, bool whole = false)
    {
        child<QLineEdit>(u"Edit1"_s)->setText(text);
        child<QRadioButton>(upwards ? u"rb1"_s : u"rb2"_s)->setChecked(true);
        child<QCheckBox>(u"chk1"_s)->setChecked(whole);
    }
    void press() { child<QPushButton>(u"Button1"_s)->click(); }

    QPointer<TFindWindowForm> form;
};

} // namespace

class FindWindowTest : public QObject
{
    Q_OBJECT

    TApplication application;
    QStringList messages;

private Q_SLOTS:
    void initTestCase()
    {
        application.setTitle(u"Talvex"_s);
        Rt::setApplication(&application);
        Rt::setMessageBoxResponder([this](const Rt::MessageBoxRequest &request) {
            messages << request.caption + u'|' + request.text;
            return Rt::Answer::Ok;
        });
    }
    void init() { messages.clear(); }

    void gridSearch_data()
    {
        QTest::addColumn<int>("focus");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("upwards");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<int>("found");

        QTest::newRow("no focus: the first record is examined")
            << -1 << u"王芳"_s << false << false << 0;
        QTest::newRow("the focused record is skipped") << 0 << u"王芳"_s << false << false << 2;
        QTest::newRow("upwards") << 4 << u"王芳"_s << true << false << 3;
        QTest::newRow("upwards from the first finds nothing")
            << 0 << u"王芳"_s << true << false << -1;
        QTest::newRow("upwards without focus finds nothing")
            << -1 << u"王芳"_s << true << false << -1;
        QTest::newRow("downwards from the last finds nothing")
            << 5 << u"末行"_s << false << false << -1;
        QTest::newRow("whole value is not part of a longer text")
            << 2 << u"王芳"_s << false << true << -1;
        QTest::newRow("part: case counts") << -1 << u"ALPHA"_s << false << false << -1;
        QTest::newRow("part: lower case finds only lower case")
            << -1 << u"alpha"_s << false << false << 3;
        QTest::newRow("whole: case counts") << -1 << u"alpha"_s << false << true << 3;
        QTest::newRow("a trailing blank must be there")
            << -1 << u"Alpha "_s << false << false << -1;
        QTest::newRow("a trailing blank that is there") << -1 << u"Beta "_s << false << true << 1;
        QTest::newRow("a blank inside a name") << -1 << u"阳 雪"_s << false << false << 2;
        QTest::newRow("hidden columns are skipped") << -1 << u"SECRET"_s << false << false << -1;
        QTest::newRow("part of a number's text") << -1 << u"54"_s << false << false << 0;
        QTest::newRow("whole number") << 0 << u"540"_s << false << true << 4;
        QTest::newRow("whole number written otherwise") << -1 << u"540.00"_s << false << true << 0;
        QTest::newRow("whole fraction") << -1 << u"12.5"_s << false << true << 1;
        QTest::newRow("whole number is not a prefix") << -1 << u"54"_s << false << true << -1;
        QTest::newRow("a number with a blank is none") << -1 << u"540 "_s << false << true << -1;
        QTest::newRow("whole date") << 0 << u"2026-12-03"_s << false << true << -1;
        QTest::newRow("whole date, no focus") << -1 << u"2026-12-03"_s << false << true << 0;
        QTest::newRow("whole date and time") << -1 << u"2026-12-03 09:30"_s << false << true << 1;
        QTest::newRow("part of a date") << 1 << u"12-0"_s << false << false << 4;
        QTest::newRow("a text that is no date matches no date")
            << -1 << u"2026-13-01"_s << false << true << -1;
        QTest::newRow("empty text") << -1 << QString() << false << false << -1;
    }

    void gridSearch()
    {
        QFETCH(int, focus);
        QFETCH(QString, text);
        QFETCH(bool, upwards);
        QFETCH(bool, whole);
        QFETCH(int, found);

        Target t;
        t.view->dataController()->setFocusedRecordIndex(focus);
        Dialog d;
        d.form->setGridTarget(t.grid);
        d.set(text, upwards, whole);
        QCOMPARE(d.form->FindInGrid(), found);
        QCOMPARE(t.focused(), found >= 0 ? found : focus);
    }

    // Enter, then the button, walk the matches one by one and report the end once,
    // without starting again from the top. Without a target the button does nothing.
    void repeatedPressesWalkTheMatchesAndStopAtTheEnd()
    {
        Dialog d;
        d.form->showModeless();
        d.set(u"王芳"_s);
        d.press();
        QVERIFY(messages.isEmpty());

        Target t;
        d.form->setGridTarget(t.grid);
        QTest::keyClick(d.child<QLineEdit>(u"Edit1"_s), Qt::Key_Return);
        QList<int> visited{t.focused()};
        for (int i = 0; i < 3; ++i) {
            d.press();
            visited << t.focused();
        }
        QCOMPARE(visited, (QList<int>{0, 2, 3, 3}));
        QCOMPARE(messages, QStringList{u"Talvex|查找不到要搜索的数据"_s});
        QCOMPARE(FindWindowForm, d.form.get());
    }

    void treeSearch_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("upwards");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("found");

        QTest::newRow("a child of a collapsed node")
            << u"生产部"_s << u"甲"_s << false << false << u"甲班"_s;
        QTest::newRow("no focus starts before the first")
            << QString() << u"生产部"_s << false << true << u"生产部"_s;
        QTest::newRow("depth first, past collapsed branches")
            << u"一车间"_s << u"部"_s << false << false << u"华东销售部"_s;
        QTest::newRow("upwards into a collapsed branch")
            << u"营销中心"_s << u"班"_s << true << false << u"甲班"_s;
        QTest::newRow("upwards from the first")
            << u"生产部"_s << u"部"_s << true << false << QString();
        QTest::newRow("no wrap at the end")
            << u"华东销售部"_s << u"生产"_s << false << false << QString();
        QTest::newRow("whole value") << u"生产部"_s << u"华东"_s << false << true << QString();
        QTest::newRow("hidden column") << QString() << u"0201"_s << false << false << QString();
    }

    void treeSearch()
    {
        QFETCH(QString, focus);
        QFETCH(QString, text);
        QFETCH(bool, upwards);
        QFETCH(bool, whole);
        QFETCH(QString, found);

        Target t;
        auto byName = [&](const QString &name) -> TcxTreeListNode * {
            for (int i = 0; i < t.tree->absoluteCount(); ++i) {
                if (t.tree->absoluteItem(i)->texts(0) == name)
                    return t.tree->absoluteItem(i);
            }
            return nullptr;
        };
        t.tree->setFocusedNode(byName(focus));
        t.tree->fullCollapse();
        TcxTreeListNode *before = t.tree->focusedNode();
        Dialog d;
        d.form->setTreeListTarget(t.tree);
        d.set(text, upwards, whole);
        const int index = d.form->FindInTreeList();
        if (found.isEmpty()) {
            QCOMPARE(index, -1);
            QCOMPARE(t.tree->focusedNode(), before);
            return;
        }
        TcxTreeListNode *node = byName(found);
        QCOMPARE(index, node->absoluteIndex());
        QCOMPARE(t.tree->focusedNode(), node);
        for (TcxTreeListNode *up = node->parent(); up; up = up->parent())
            QVERIFY2(up->expanded(), "the found node is shown");
    }

    // The close button, Esc and the end of the target's window free the dialog;
    // nothing is left that points at the freed grid.
    void closingFreesTheDialog_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << u"button"_s;
        QTest::newRow("Esc") << u"Esc"_s;
        QTest::newRow("target's window destroyed") << u"target"_s;
    }

    void closingFreesTheDialog()
    {
        QFETCH(QString, how);
        auto t = std::make_unique<Target>();
        Dialog d;
        d.form->setGridTarget(t->grid);
        d.form->showModeless();
        if (how == u"Esc"_s)
            QTest::keyClick(d.form.get(), Qt::Key_Escape);
        else if (how == u"button"_s)
            d.child<QPushButton>(u"Button2"_s)->click();
        else
            t.reset();
        QCOMPARE(FindWindowForm, nullptr);
        QTRY_VERIFY(!d.form);
    }

    // A new target replaces the old, the text and options staying as the user left
    // them; only the control being searched matters, the one searched before may go.
    void aFormerTargetMayGo()
    {
        auto gridSide = std::make_unique<Target>();
        Target treeSide;
        Dialog d;
        d.form->setGridTarget(gridSide->grid);
        d.form->showModeless();
        d.set(u"营销"_s);
        d.form->setTreeListTarget(treeSide.tree);
        QCOMPARE(d.form->mode(), 1);
        gridSide.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(d.form);
        QCOMPARE(FindWindowForm, d.form.get());
        d.press();
        QCOMPARE(treeSide.tree->focusedNode(), treeSide.sales);
        QCOMPARE(d.child<QLineEdit>(u"Edit1"_s)->text(), u"营销"_s);
        d.form->setGridTarget(treeSide.grid);
        QCOMPARE(d.form->mode(), 0);
    }
};

QTEST_MAIN(FindWindowTest)
#include "tst_findwindow.moc"
