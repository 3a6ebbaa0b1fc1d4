#include "XlsTestSupport.h"

#include "runtime/component.h"
#include "runtime/dataset.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using XlsTest::exchanges;

namespace {

QString text(const TcxGridTableView *view, int row, int column)
{
    return view->itemModel()->index(row, column).data().toString();
}

QColor background(const TcxGridTableView *view, int row, int column)
{
    return view->itemModel()->index(row, column).data(Qt::BackgroundRole).value<QBrush>().color();
}

// A grid whose one level shows a bound view.
struct BoundGrid
{
    explicit BoundGrid(TDataSet *set)
    {
        grid.addLevel()->setGridView(view);
        view->dataController()->setDataSource(&source);
        source.setDataSet(set);
    }

    TcxGridColumn *column(const QString &field)
    {
        TcxGridColumn *column = view->createColumn();
        column->setFieldName(field);
        column->setCaption(field);
        return column;
    }

    bool shown()
    {
        grid.show();
        return QTest::qWaitForWindowExposed(&grid);
    }
    QTableView *table() const { return grid.findChild<QTableView *>(); }
    QAbstractItemModel *model() const { return view->itemModel(); }

    TcxGrid grid;
    TDataSource source;
    TcxGridDBTableView *view = new TcxGridDBTableView(&grid);
};

} // namespace

class GridTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Bound by field name without regard to case, anew for each data set; a
    // field the set lacks shows nothing.
    void boundColumnsFindTheirFields()
    {
        auto set = exchanges(3);
        BoundGrid g(set.get());
        g.column(u"CODE"_s);
        g.column(u"exchgDate"_s);
        g.column(u"NoSuchField"_s);
        QCOMPARE(text(g.view, 1, 0), u"00002"_s);
        QCOMPARE(text(g.view, 1, 1), u"2026-12-06"_s);
        QCOMPARE(text(g.view, 1, 2), QString());
        TDataSet other;
        const int date = other.addField(u"EXCHGDATE"_s, TFieldType::DateTime);
        other.setString(other.appendRecord(), date, u"2027-01-01"_s);
        other.finishLoading();
        g.source.setDataSet(&other);
        QCOMPARE(g.model()->rowCount(), 1);
        QCOMPARE(text(g.view, 0, 1), u"2027-01-01"_s);
    }

    // A column fitted into the grid's width is never narrower than its summary,
    // which would show a cut figure; the width follows the figure as it grows.
    void footerFiguresShowWhole()
    {
        auto set = exchanges(3);
        BoundGrid g(set.get());
        g.view->setColumnAutoWidth(true);
        g.view->setFooterVisible(true);
        g.column(u"Code"_s)->setWidth(200);
        TcxGridColumn *count = g.column(u"ExchgDate"_s);
        count->setWidth(20);
        count->setMinWidth(20);
        g.view->addFooterSummary(count, Rt::SummaryKind::Count, u"0 条记录"_s);
        g.grid.resize(300, 240);
        QVERIFY(g.shown());
        const auto fits = [&] {
            const QString text = g.view->footerText(count);
            const int needed = g.table()->fontMetrics().horizontalAdvance(text);
            return g.table()->horizontalHeader()->sectionSize(1) > needed;
        };
        QCOMPARE(g.view->footerText(count), u"3 条记录"_s);
        QVERIFY(fits());
        auto many = exchanges(84825);
        g.source.setDataSet(many.get());
        QCOMPARE(g.view->footerText(count), u"84825 条记录"_s);
        QVERIFY(fits());
    }

    void footerLeavesTheLastRowReachable()
    {
        auto set = exchanges(200);
        BoundGrid g(set.get());
        g.column(u"Code"_s);
        g.view->addFooterSummary(g.column(u"WorkTime"_s), Rt::SummaryKind::Sum, u"0"_s);
        g.grid.resize(300, 240);
        QTableView *table = g.table();
        const auto lastRowShows = [&] {
            table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
            const QRect last = table->visualRect(g.model()->index(g.model()->rowCount() - 1, 0));
            return last.isValid() && last.bottom() < table->viewport()->height();
        };

        // Switched on while hidden, then shown.
        g.view->setFooterVisible(true);
        QVERIFY(g.shown());
        const int rowsBottom = table->viewport()->geometry().bottom();
        QVERIFY(lastRowShows());
        // Switched off and on again while shown.
        g.view->setFooterVisible(false);
        QVERIFY(table->viewport()->geometry().bottom() > rowsBottom + 10);
        g.view->setFooterVisible(true);
        QCOMPARE(table->viewport()->geometry().bottom(), rowsBottom);
        QVERIFY(lastRowShows());
        // New records while shown.
        auto more = exchanges(300);
        g.source.setDataSet(more.get());
        QCOMPARE(table->viewport()->geometry().bottom(), rowsBottom);
        QVERIFY(lastRowShows());
    }

    void focusedRowAndCurrentRecordFollowEachOther()
    {
        auto set = exchanges(10);
        BoundGrid g(set.get());
        g.column(u"Code"_s);
        g.column(u"WorkFlag"_s);
        g.view->setCellSelect(false);
        QVERIFY(g.shown());
        QTableView *table = g.table();
        TcxGridDBDataController *controller = g.view->dataController();
        QCOMPARE(controller->focusedRecordIndex(), 0);
        QCOMPARE(table->currentIndex().row(), 0);
        QSignalSpy focus(g.view, &TcxGridTableView::focusedRecordChanged);

        set->setRecNo(5);
        QCOMPARE(controller->focusedRecordIndex(), 5);
        QCOMPARE(table->currentIndex().row(), 5);
        QVERIFY(table->selectionModel()->isRowSelected(5, {}));
        QCOMPARE(focus.last(), (QVariantList{0, 5}));

        table->setCurrentIndex(g.model()->index(7, 1));
        QCOMPARE(set->recNo(), 7);
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(set->recNo(), 8);
        controller->setFocusedRecordIndex(2);
        QCOMPARE(set->recNo(), 2);
        QCOMPARE(table->currentIndex().row(), 2);

        // A reload focuses the data set's current record, reported even on the same
        // index since the record behind it is a new one.
        focus.clear();
        set->finishLoading();
        QCOMPARE(focus.count(), 1);
        QCOMPARE(focus.last(), (QVariantList{2, 0}));
        QCOMPARE(table->currentIndex().row(), 0);
        focus.clear();
        set->finishLoading();
        QCOMPARE(focus.count(), 1);
        QCOMPARE(focus.last(), (QVariantList{0, 0}));

        g.source.setDataSet(nullptr);
        QCOMPARE(controller->focusedRecordIndex(), -1);
        QCOMPARE(g.model()->rowCount(), 0);
    }

    void contentStylesReachTheModel()
    {
        auto set = exchanges(4);
        BoundGrid g(set.get());
        g.column(u"Code"_s);
        TcxGridColumn *flag = g.column(u"WorkFlag"_s);
        TcxStyleRepository repository;
        TcxStyle *even = repository.createStyle();
        even->setColor(Qt::white);
        TcxStyle *odd = repository.createStyle();
        odd->setColor(QColor(0xee, 0xf3, 0xfa));
        TcxStyle *rest = repository.createStyle();
        rest->setColor(Qt::yellow);
        rest->setTextColor(Qt::red);
        QFont bold;
        bold.setBold(true);
        rest->setFont(bold);
        TcxStyle *boldOnly = repository.createStyle();
        boldOnly->setFont(bold);

        QSignalSpy repaint(g.model(), &QAbstractItemModel::dataChanged);
        g.view->styles()->setStyle(Rt::StyleRole::ContentEven, even);
        g.view->styles()->setStyle(Rt::StyleRole::ContentOdd, odd);
        QVERIFY(!repaint.isEmpty());
        QCOMPARE(background(g.view, 0, 0), QColor(Qt::white));
        QCOMPARE(background(g.view, 1, 0), odd->color());

        QList<int> asked;
        flag->setContentStyleHandler([&](TcxCustomGridView *view, int record,
                                         TcxGridColumn *column) -> TcxStyle * {
            asked.append(record);
            const auto *table = static_cast<TcxGridTableView *>(view);
            if (record == 3)
                return boldOnly;
            return table->dataController()->value(record, column->index()).toInt() == 0 ? rest
                                                                                        : nullptr;
        });
        const QModelIndex restCell = g.model()->index(0, 1);
        QCOMPARE(background(g.view, 0, 1), QColor(Qt::yellow));
        QCOMPARE(restCell.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QVERIFY(restCell.data(Qt::FontRole).value<QFont>().bold());
        // The record's other cells keep the row's style.
        QCOMPARE(background(g.view, 0, 0), QColor(Qt::white));
        QVERIFY(!g.model()->index(0, 0).data(Qt::FontRole).isValid());
        // No style from the handler leaves the row's.
        QCOMPARE(background(g.view, 1, 1), odd->color());
        QVERIFY(!g.model()->index(1, 1).data(Qt::FontRole).isValid());
        // A style with a font only keeps the row's colour.
        QCOMPARE(background(g.view, 3, 1), odd->color());
        QVERIFY(g.model()->index(3, 1).data(Qt::FontRole).value<QFont>().bold());

        // A delegate asks for a cell's roles together: the handler runs once per cell.
        asked.clear();
        QModelRoleData roles[] = {QModelRoleData(Qt::BackgroundRole),
                                  QModelRoleData(Qt::ForegroundRole), QModelRoleData(Qt::FontRole)};
        restCell.multiData(roles);
        QCOMPARE(asked, QList<int>{0});
        QCOMPARE(roles[0].data().value<QBrush>().color(), QColor(Qt::yellow));
    }

    void doubleClickReportsRecordAndColumn()
    {
        auto set = exchanges(5);
        BoundGrid g(set.get());
        g.column(u"Code"_s);
        g.column(u"WorkFlag"_s)->setVisible(false);
        TcxGridColumn *time = g.column(u"WorkTime"_s);
        QVERIFY(g.shown());
        QSignalSpy clicks(g.view, &TcxGridTableView::cellDblClick);
        QTableView *table = g.table();
        const QRect cell = table->visualRect(g.model()->index(3, 1));
        // As the window system delivers it: a click, then the double click.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.last().at(0).toInt(), 3);
        QCOMPARE(clicks.last().at(1).value<TcxGridColumn *>(), time);
    }

    void bandedColumnsStandUnderTheirBands()
    {
        TcxGridDBBandedTableView view;
        QCOMPARE(view.addBand(u"员工"_s), 0);
        QCOMPARE(view.addBand(u"班次"_s), 1);
        const auto add = [&view](const QString &caption, int band) {
            TcxGridBandedColumn *column = view.createColumn();
            column->setCaption(caption);
            column->setBandIndex(band);
            return column;
        };
        add(u"X"_s, 1);
        add(u"Y"_s, 0);
        add(u"Z"_s, 1);
        TcxGridBandedColumn *w = add(u"W"_s, 9);
        QCOMPARE(view.bandOf(w), 1);
        QStringList captions;
        for (int i = 0; i < view.itemModel()->columnCount(); ++i)
            captions << view.itemModel()->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(captions, (QStringList{u"Y"_s, u"X"_s, u"Z"_s, u"W"_s}));
        w->setBandIndex(0);
        QCOMPARE(view.itemModel()->headerData(1, Qt::Horizontal).toString(), u"W"_s);
    }

    void sizesFollowTheViewOptions()
    {
        TcxGrid grid;
        auto *view = new TcxGridTableView(&grid);
        grid.addLevel()->setGridView(view);
        view->createColumn()->setWidth(100);
        view->createColumn()->setWidth(300);
        TcxGridColumn *narrow = view->createColumn();
        narrow->setWidth(100);
        narrow->setMinWidth(250);
        view->setColumnAutoWidth(true);
        grid.resize(500, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QTableView *table = grid.findChild<QTableView *>();
        const QHeaderView *header = table->horizontalHeader();
        QCOMPARE(header->length(), table->viewport()->width());
        QVERIFY(header->sectionSize(2) >= 250);
        QVERIFY(header->sectionSize(1) > header->sectionSize(0));
        QCOMPARE(table->horizontalScrollBar()->maximum(), 0);

        view->setColumnAutoWidth(false);
        QCOMPARE(header->sectionSize(1), 300);
        QVERIFY(table->horizontalScrollBar()->maximum() > 0);

        // Rows grow to fit wrapped text, and shrink back.
        view->dataController()->setRecordCount(2);
        view->dataController()->setValue(0, 0, u"调班原因：家中有事，与同组同事互换早班和晚班"_s);
        const int plain = table->rowHeight(0);
        view->setCellAutoHeight(true);
        QVERIFY(table->rowHeight(0) > 2 * plain);
        view->setCellAutoHeight(false);
        QCOMPARE(table->rowHeight(0), plain);
    }

    void draggedWidthsBecomeTheColumnsOwn()
    {
        auto set = exchanges(5);
        BoundGrid g(set.get());
        TcxGridColumn *code = g.column(u"Code"_s);
        code->setWidth(90);
        code->setMinWidth(40);
        QVERIFY(g.shown());
        QHeaderView *header = g.table()->horizontalHeader();
        QCOMPARE(header->sectionSize(0), 90);
        header->resizeSection(0, 150);
        QCOMPARE(code->width(), 150);
        header->resizeSection(0, 10);
        QCOMPARE(header->sectionSize(0), 40);
        QCOMPARE(code->width(), 40);
        // A reload rebuilds the header's sections from the columns.
        set->finishLoading();
        QCOMPARE(header->sectionSize(0), 40);
    }

    void gridInternalsAreNoComponents()
    {
        TForm form;
        auto *grid = new TcxGrid(&form);
        TcxGridLevel *level = grid->addLevel();
        auto *view = new TcxGridDBTableView(grid);
        level->setGridView(view);
        TcxGridColumn *column = view->createColumn();

        const QList<QObject *> components = Rt::ownedComponents(&form);
        for (QObject *expected : {static_cast<QObject *>(grid), static_cast<QObject *>(level),
                                  static_cast<QObject *>(view), static_cast<QObject *>(column)})
            QVERIFY(components.contains(expected));
        for (QObject *component : components) {
            QVERIFY(!qobject_cast<QAbstractItemModel *>(component));
            QVERIFY(!qobject_cast<TcxViewStyles *>(component));
            QVERIFY(!qobject_cast<TcxGridDataController *>(component));
            QVERIFY(!qobject_cast<QHeaderView *>(component));
        }

        // A deleted view leaves its level and the grid showing nothing.
        delete view;
        QCOMPARE(grid->activeView(), nullptr);
        QCOMPARE(grid->findChild<QTableView *>()->model(), nullptr);
    }
};

QTEST_MAIN(GridTest)
#include "tst_grid.moc"
