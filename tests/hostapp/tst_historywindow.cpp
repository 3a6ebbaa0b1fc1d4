// The 修改历史 window over a database with a few changes by two operators.

#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/app/HistoryWindow.h"
#include "runtime/editors/dateedit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Three changes: the administrator moves exchange 2 of 王芳 (branch 01) to
// another day and gives a new reason, the clerk adds an exchange for 李明 and
// deletes 陈静's (both branch 02). Returns the desk of the window's viewer.
Database &withChanges(Fixture &fixture, const QString &viewerCode)
{
    const EditorStatements::Entry moved{u"E001"_s,  u"2026-12-04"_s, u"09:00"_s, u"12:00"_s,
                                        u"13:00"_s, u"18:00"_s,      u"540"_s,   u"客户现场支持"_s,
                                        QString(),  u"admin"_s};
    fixture.desk(u"admin"_s).execSql(EditorStatements::updateExchange(u"2"_s, moved));
    Database &clerk = fixture.desk(u"clerk"_s);
    EditorStatements::Entry rest = exchange(u"E003"_s, u"2026-12-01"_s, u"clerk"_s);
    rest.reason = u"加班补休"_s;
    clerk.execSql(EditorStatements::insertExchange(rest));
    clerk.execSql(ExchangeQueries::deleteExchange(u"5"_s));
    return fixture.desk(viewerCode);
}

// The window over the fixture database with those changes, as the viewer reads it.
class Window
{
public:
    explicit Window(const QString &viewerCode = u"admin"_s)
        : window(withChanges(fixture, viewerCode), viewerCode)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T> T *child(const QString &name) const
    {
        return window.findChild<T *>(name);
    }

    // One column of the list of changes.
    QStringList changes(int column) const
    {
        const QAbstractItemModel *model = child<QTableView>(u"tvChanges"_s)->model();
        QStringList texts;
        for (int r = 0; r < model->rowCount(); ++r)
            texts.append(model->index(r, column).data().toString());
        return texts;
    }

    // Detail rows as "caption|before|after", with a * when marked as changed.
    QStringList detail() const
    {
        const QAbstractItemModel *model = child<QTableView>(u"tvDetail"_s)->model();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex caption = model->index(r, 0);
            const bool marked = caption.data(Qt::FontRole).value<QFont>().bold();
            rows.append(caption.data().toString() + u'|' + model->index(r, 1).data().toString()
                        + u'|' + model->index(r, 2).data().toString() + (marked ? u"*"_s : u""_s));
        }
        return rows;
    }

    void choose(int row)
    {
        auto *list = child<QTableView>(u"tvChanges"_s);
        list->setCurrentIndex(list->model()->index(row, 0));
    }

    void search() { child<QPushButton>(u"btnSearch"_s)->click(); }

    Fixture fixture;
    HistoryWindow window;
};

} // namespace

class HistoryWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnTheLatestChanges()
    {
        Window w;
        QCOMPARE(w.window.windowTitle(), u"修改历史"_s);
        QCOMPARE(w.changes(1), (QStringList{u"删除"_s, u"新增"_s, u"修改"_s}));
        QCOMPARE(w.changes(2), (QStringList{u"clerk"_s, u"clerk"_s, u"admin"_s}));
        QCOMPARE(w.changes(4), (QStringList{u"陈静"_s, u"李明"_s, u"王芳"_s}));
        QCOMPARE(w.changes(5), (QStringList{u"2026-10-01"_s, u"2026-12-01"_s, u"2026-12-04"_s}));
        QCOMPARE(w.child<QLabel>(u"lblCount"_s)->text(), u"3 条修改记录"_s);
        QCOMPARE(w.child<TcxDateEdit>(u"edtFrom"_s)->date(), QDate::currentDate().addDays(-30));
    }

    // Before and after side by side; only what changed is marked.
    void updateShowsBothSidesAndMarksTheChanges()
    {
        Window w;
        w.choose(2);
        const QStringList rows = w.detail();
        QCOMPARE(rows.size(), 19);
        QVERIFY(rows.contains(u"调班日期|2026-12-03|2026-12-04*"_s));
        QVERIFY(rows.contains(u"调班理由|培训|客户现场支持*"_s));
        QVERIFY(rows.contains(u"上班标志|上班|上班"_s));
        QVERIFY(rows.contains(u"上班时间一|09:00|09:00"_s));
        QVERIFY(rows.contains(u"创建时间|2026-12-01 10:00:00|2026-12-01 10:00:00"_s));
        const QString modified = rows.filter(u"修改时间|"_s).value(0);
        QVERIFY2(modified.startsWith(u"修改时间||"_s) && modified.endsWith(u'*'),
                 qPrintable(modified));
        QVERIFY(w.child<QLabel>(u"lblChange"_s)->text().contains(u"操作员：admin"_s));
    }

    void insertAndDeleteShowOneSide()
    {
        Window w;
        w.choose(1);
        QVERIFY(w.detail().contains(u"调班理由||加班补休*"_s));
        QVERIFY(w.detail().contains(u"上班标志||休息*"_s));
        QVERIFY(w.detail().contains(u"开始时段3||"_s)); // empty on both sides: not marked
        w.choose(0);
        QVERIFY(w.detail().contains(u"员工编号|E005|*"_s));
    }

    // The clerk reads the changes of his branch only, whoever made them.
    void listsOnlyTheViewersDepartments()
    {
        Window w(u"clerk"_s);
        QCOMPARE(w.changes(4), (QStringList{u"陈静"_s, u"李明"_s}));
        auto *operators = w.child<QComboBox>(u"cbOperator"_s);
        operators->setCurrentIndex(operators->findData(u"admin"_s));
        w.search();
        QVERIFY(w.changes(0).isEmpty());
    }

    // Operator, employee and days reach the query.
    void filtersNarrowTheList()
    {
        Window w;
        auto *operators = w.child<QComboBox>(u"cbOperator"_s);
        operators->setCurrentIndex(operators->findData(u"clerk"_s));
        w.search();
        QCOMPARE(w.changes(1), (QStringList{u"删除"_s, u"新增"_s}));
        QCOMPARE(w.child<QLabel>(u"lblCount"_s)->text(), u"2 条修改记录"_s);
        w.child<QLineEdit>(u"edtEmployee"_s)->setText(u"10003"_s);
        w.search();
        QCOMPARE(w.changes(1), QStringList{u"新增"_s});
        w.child<TcxDateEdit>(u"edtTo"_s)->setDate(QDate::currentDate().addDays(-1));
        w.search();
        QVERIFY(w.changes(0).isEmpty());
        QVERIFY(w.detail().isEmpty());
        QCOMPARE(w.child<QLabel>(u"lblChange"_s)->text(), u"没有选中的修改记录"_s);
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_historywindow.moc"
