#include "runtime/treelist/cxtreelist.h"

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

// 研发部 > (一组 > 张三), 二组; 财务部 — every branch collapsed.
struct Company
{
    Company()
    {
        tree.addColumn()->setCaption(u"部门"_s);
        tree.addColumn()->setCaption(u"编号"_s);
        research = tree.add();
        research->setTexts(0, u"研发部"_s);
        team = research->addChild();
        team->setTexts(0, u"一组"_s);
        employee = team->addChild();
        employee->setTexts(0, u"张三"_s);
        employee->setTexts(1, u"E001"_s);
        secondTeam = research->addChild();
        secondTeam->setTexts(0, u"二组"_s);
        finance = tree.add();
        finance->setTexts(0, u"财务部"_s);
    }

    QTreeView *view() const { return tree.findChild<QTreeView *>(); }
    QAbstractItemModel *model() const { return view()->model(); }
    QModelIndex indexOf(const TcxTreeListNode *node) const
    {
        if (!node)
            return {};
        return model()->index(node->index(), 0, indexOf(node->parent()));
    }

    TcxTreeList tree;
    TcxTreeListNode *research;
    TcxTreeListNode *team;
    TcxTreeListNode *employee;
    TcxTreeListNode *secondTeam;
    TcxTreeListNode *finance;
};

} // namespace

class TreeListTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void focusOnAHiddenNodeShowsAndSelectsIt()
    {
        Company c;
        QSignalSpy focus(&c.tree, &TcxTreeList::focusedNodeChanged);
        c.tree.setFocusedNode(c.employee);
        QVERIFY(c.research->expanded());
        QVERIFY(c.team->expanded());
        QVERIFY(c.view()->isExpanded(c.indexOf(c.team)));
        QVERIFY(c.view()->selectionModel()->isSelected(c.indexOf(c.employee)));
        QCOMPARE(c.view()->currentIndex(), c.indexOf(c.employee));
        QVERIFY(c.employee->focused());
        QCOMPARE(focus.count(), 1);
        QCOMPARE(focus.last().at(0).value<TcxTreeListNode *>(), nullptr);
        QCOMPARE(focus.last().at(1).value<TcxTreeListNode *>(), c.employee);

        c.finance->setFocused(true);
        QCOMPARE(focus.last().at(0).value<TcxTreeListNode *>(), c.employee);
        QCOMPARE(c.tree.focusedNode(), c.finance);
        QVERIFY(!c.employee->focused());

        // A click on a row focuses its node and counts as a click of the tree.
        c.tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.tree));
        QSignalSpy clicks(&c.tree, &TcxTreeList::clicked);
        const QRect row = c.view()->visualRect(c.indexOf(c.secondTeam));
        QTest::mouseClick(c.view()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(c.tree.focusedNode(), c.secondTeam);
        QCOMPARE(focus.last().at(0).value<TcxTreeListNode *>(), c.finance);
        QCOMPARE(clicks.count(), 1);
        // So does a click on the empty space below the rows, leaving the focus.
        QTest::mouseClick(c.view()->viewport(), Qt::LeftButton, {},
                          QPoint(10, c.view()->viewport()->height() - 5));
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(c.tree.focusedNode(), c.secondTeam);
    }

    // The view shows the state the nodes were given meanwhile, hidden columns
    // staying hidden.
    void bulkUpdateResetsTheViewOnce()
    {
        Company c;
        c.tree.column(1)->setVisible(false);
        QVERIFY(c.view()->isColumnHidden(1));
        QSignalSpy resets(c.model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserts(c.model(), &QAbstractItemModel::rowsInserted);
        c.tree.beginUpdate();
        c.tree.beginUpdate();
        TcxTreeListNode *added = nullptr;
        for (int i = 0; i < 50; ++i) {
            added = c.finance->addChild();
            added->setTexts(0, u"会计%1"_s.arg(i));
        }
        c.finance->expand(false);
        c.tree.setFocusedNode(added);
        c.tree.endUpdate();
        QCOMPARE(resets.count(), 0);
        c.tree.endUpdate();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(inserts.count(), 0);
        QCOMPARE(c.model()->rowCount(c.indexOf(c.finance)), 50);
        QVERIFY(c.view()->isExpanded(c.indexOf(c.finance)));
        QVERIFY(c.view()->isColumnHidden(1));
        QCOMPARE(c.view()->currentIndex(), c.indexOf(added));
        QCOMPARE(c.tree.absoluteCount(), 55);

        // Outside an update each node reaches the view as it comes.
        c.secondTeam->addChild();
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(resets.count(), 1);
        c.tree.column(1)->setVisible(true);
        QVERIFY(!c.view()->isColumnHidden(1));
    }

    void clearReportsTheFocusLeavingWhileTheNodeExists()
    {
        Company c;
        c.tree.setFocusedNode(c.employee);
        QString leaving;
        connect(&c.tree, &TcxTreeList::focusedNodeChanged, &c.tree,
                [&leaving](TcxTreeListNode *previous, TcxTreeListNode *focused) {
                    QVERIFY(!focused);
                    leaving = previous->texts(0);
                });
        c.tree.clear();
        QCOMPARE(leaving, u"张三"_s);
        QCOMPARE(c.tree.count(), 0);
        QCOMPARE(c.tree.absoluteCount(), 0);
        QCOMPARE(c.tree.focusedNode(), nullptr);
        QCOMPARE(c.model()->rowCount(), 0);
    }
};

QTEST_MAIN(TreeListTest)
#include "tst_treelist.moc"
