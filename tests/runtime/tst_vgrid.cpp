#include "runtime/dataset.h"
#include "runtime/styles.h"
#include "runtime/vgrid/cxvgrid.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString shown(const TcxVerticalGrid &grid, int row, int column = 1)
{
    const QAbstractItemModel *model = grid.findChild<QTableView *>()->model();
    return model->index(row, column).data().toString();
}

} // namespace

class VerticalGridTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void boundRowsShowTheCurrentRecord()
    {
        TDataSet set;
        const int name = set.addField(u"EmployeeName"_s, TFieldType::String);
        const int date = set.addField(u"ExchgDate"_s, TFieldType::DateTime);
        set.setString(set.appendRecord(), name, u"张三"_s);
        set.setString(0, date, u"2026-12-05"_s);
        set.setString(set.appendRecord(), name, u"李四"_s);
        set.finishLoading();
        TDataSource source;
        source.setDataSet(&set);

        TcxDBVerticalGrid grid;
        grid.addRow(u"姓名"_s)->setFieldName(u"employeename"_s);
        grid.addRow(u"日期"_s)->setFieldName(u"EXCHGDATE"_s);
        grid.addRow(u"备注"_s)->setFieldName(u"Remark"_s);
        grid.setDataSource(&source);
        QCOMPARE(shown(grid, 0, 0), u"姓名"_s);
        QCOMPARE(shown(grid, 0), u"张三"_s);
        QCOMPARE(shown(grid, 1), u"2026-12-05"_s);
        QCOMPARE(shown(grid, 2), QString());

        set.setRecNo(1);
        QCOMPARE(shown(grid, 0), u"李四"_s);
        QCOMPARE(shown(grid, 1), QString());

        TDataSet other;
        other.addField(u"EMPLOYEENAME"_s, TFieldType::String);
        other.setString(other.appendRecord(), 0, u"王五"_s);
        other.finishLoading();
        source.setDataSet(&other);
        QCOMPARE(shown(grid, 0), u"王五"_s);
        source.setDataSet(nullptr);
        QCOMPARE(shown(grid, 0), QString());
    }

    void unboundRowsShowTheirValuesAndStyles()
    {
        TcxVerticalGrid grid;
        TcxEditorRow *hours = grid.addRow(u"工时"_s);
        hours->setValue(7.5);
        QCOMPARE(shown(grid, 0), u"7.5"_s);
        hours->setCaption(u"小时"_s);
        QCOMPARE(shown(grid, 0, 0), u"小时"_s);

        TcxStyle caption;
        caption.setColor(Qt::lightGray);
        grid.styles()->setStyle(Rt::StyleRole::Header, &caption);
        const QAbstractItemModel *model = grid.findChild<QTableView *>()->model();
        QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(Qt::lightGray));
        QVERIFY(!model->index(0, 1).data(Qt::BackgroundRole).isValid());

        delete grid.addRow(u"临时"_s);
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(model->rowCount(), 1);
    }
};

QTEST_MAIN(VerticalGridTest)
#include "tst_vgrid.moc"
