#include "XlsTestSupport.h"

#include "runtime/dataset.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/progress.h"
#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/excelexport.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "runtime/treelist/cxtreelist.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <limits>

using namespace Rt::Xls;
using namespace XlsTest;
using namespace Qt::StringLiterals;

namespace {

// The text a cell shows in a workbook read back.
QString shown(const Workbook &book, int sheet, int row, int column)
{
    const Cell *cell = book.sheet(sheet).cell(row, column);
    return cell ? formatValue(cell->value, book.styles().at(cell->style).numberFormat) : QString();
}

const CellStyle &styleOf(const Workbook &book, int sheet, int row, int column)
{
    const Cell *cell = book.sheet(sheet).cell(row, column);
    return book.styles().at(cell ? cell->style : 0);
}

// A spreadsheet control with two sheets: texts, numbers and formulas.
void fillControl(TCell &cell)
{
    cell.setSheetCount(2);
    cell.setCellText(1, 1, 0, u"项目"_s);
    cell.setCellText(2, 1, 0, u"数量"_s);
    cell.setCellText(1, 2, 0, u"螺丝"_s);
    cell.setCellText(2, 2, 0, u"12"_s);
    cell.setCellText(1, 3, 0, u"螺母"_s);
    cell.setCellText(2, 3, 0, u"30.5"_s);
    cell.setCellText(1, 4, 0, u"合计"_s);
    cell.setCellFormula(2, 4, 0, u"SUM(B2:B3)"_s);
    cell.setCellFormula(3, 4, 0, u"B4*2"_s);
    cell.setCellText(1, 1, 1, u"第二页"_s);
    cell.setCellFormula(2, 2, 1, u"Sheet1!B4+1"_s);
}

// Closes the next modal dialog of type T once it shows, after handing it to check.
template <typename T> void whenShown(std::function<void(T *)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<T *>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                check(dialog);
                dialog->reject();
                return;
            }
        }
    });
    timer->start();
}

} // namespace

class SpreadsheetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void controlAnswersItsDispatchOperations()
    {
        TCell cell;
        fillControl(cell);
        QCOMPARE(cell.dispatch(228).toInt(), 2);
        QCOMPARE(cell.dispatch(38, {0}).toInt(), 3);
        QCOMPARE(cell.dispatch(40, {0}).toInt(), 4);
        QCOMPARE(cell.dispatch(38, {1}).toInt(), 2);
        QCOMPARE(cell.dispatch(40, {1}).toInt(), 2);
        QVERIFY(cell.dispatch(121, {2, 4, 0}).toInt() > 0);
        QCOMPARE(cell.dispatch(121, {2, 3, 0}).toInt(), 0);
        QCOMPARE(cell.dispatch(121, {9, 9, 0}).toInt(), 0);
        QCOMPARE(cell.dispatch(327, {2, 4, 0}).toString(), u"SUM(B2:B3)"_s);
        QCOMPARE(cell.dispatch(327, {2, 2, 1}).toString(), u"Sheet1!B4+1"_s);
        QCOMPARE(cell.dispatch(327, {1, 1, 0}).toString(), QString());
        QCOMPARE(cell.dispatch(111).toInt(), 0);
        cell.findChild<QTabWidget *>()->setCurrentIndex(1);
        QCOMPARE(cell.dispatch(111).toInt(), 1);

        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(999));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(38));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(38, {5}));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(121, {1, 1}));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(327, {u"x"_s, 1, 0}));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.dispatch(129, {}));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, cell.setCellFormula(1, 1, 0, u"SUM(("_s));
        QCOMPARE(cell.dispatch(121, {1, 1, 0}).toInt(), 0);
    }

    void bookRecalculatesAsSwitched()
    {
        TcxSpreadSheetBook book;
        TcxSSBookSheet *page = book.Pages(0);
        page->SetCellText(0, 0, u"2"_s, false, true);
        page->SetCellText(0, 1, u"=A1*10"_s, false, true);
        QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"20"_s);
        QCOMPARE(page->GetCellObject(0, 1)->formula(), u"A1*10"_s);

        book.SetAutoRecalc(false);
        page->SetCellText(0, 0, u"3"_s, false, true);
        QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"20"_s);
        book.Recalc();
        QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"30"_s);
        page->SetCellText(0, 0, u"4"_s, false, true);
        book.SetAutoRecalc(true);
        QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"40"_s);

        // Within an update the results wait for its outermost end.
        {
            TcxSpreadSheetBook::UpdateScope outer(book);
            {
                TcxSpreadSheetBook::UpdateScope inner(book);
                page->SetCellText(0, 0, u"5"_s, false, true);
            }
            QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"40"_s);
        }
        QCOMPARE(page->GetCellObject(0, 1)->displayText(), u"50"_s);

        // A formula that reads itself ends in an error, not in a hang.
        page->SetCellText(1, 0, u"=B1+1"_s, false, true);
        QCOMPARE(page->GetCellObject(1, 0)->displayText(), u"#REF!"_s);
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, page->SetCellText(0, 1, u"=SUM(A1"_s, false, true));
        QCOMPARE(page->GetCellObject(0, 1)->formula(), u"A1*10"_s);
    }

    // A chain of references far deeper than the stack would hold is computed
    // from its end; one that leads back to its start ends in an error.
    void longChainsRecalculate_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("middle");
        QTest::newRow("to a number") << u"1"_s << u"20000"_s << u"10000"_s;
        QTest::newRow("back to its start") << u"=A1+1"_s << u"#REF!"_s << u"#REF!"_s;
        QTest::newRow("to a sum of a range") << u"=SUM(B1:B3)"_s << u"20005"_s << u"10005"_s;
    }
    void longChainsRecalculate()
    {
        QFETCH(QString, end);
        QFETCH(QString, first);
        QFETCH(QString, middle);
        constexpr int length = 20000;
        TcxSpreadSheetBook book;
        TcxSSBookSheet *page = book.Pages(0);
        {
            TcxSpreadSheetBook::UpdateScope update(book);
            for (int row = 0; row < length - 1; ++row)
                page->SetCellText(0, row, u"=A%1+1"_s.arg(row + 2), false, true);
            page->SetCellText(0, length - 1, end, false, true);
            for (int row = 0; row < 3; ++row)
                page->SetCellText(1, row, QString::number(row + 1), false, true);
        }
        QCOMPARE(page->GetCellObject(0, 0)->displayText(), first);
        QCOMPARE(page->GetCellObject(0, length / 2)->displayText(), middle);
    }

    // The book shows a tab per sheet with the sheet's cells.
    void bookShowsATabPerSheet()
    {
        TCell control;
        fillControl(control);
        const QString file = m_dir.filePath(u"tabs.xls"_s);
        control.dispatch(129, {file});
        TcxSpreadSheetBook book;
        book.resize(480, 260);
        book.LoadFromFile(file);
        auto *tabs = book.findChild<QTabWidget *>();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), u"Sheet1"_s);
        QCOMPARE(tabs->tabText(1), u"Sheet2"_s);
        auto *view = qobject_cast<QTableView *>(tabs->widget(0));
        QCOMPARE(view->model()->index(3, 1).data().toString(), u"42.5"_s);
        QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), u"B"_s);
        QVERIFY(!book.grab().isNull());
    }

    void controlPrintsThroughAPreview_data()
    {
        QTest::addColumn<int>("dispId");
        QTest::newRow("print") << 133;
        QTest::newRow("second print") << 132;
    }
    void controlPrintsThroughAPreview()
    {
        QFETCH(int, dispId);
        TCell control;
        fillControl(control);
        QString title;
        whenShown<QPrintPreviewDialog>(
            [&title](QPrintPreviewDialog *d) { title = d->windowTitle(); });
        control.dispatch(dispId, {1, 0});
        QCOMPARE(title, u"打印预览"_s);
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, control.dispatch(dispId, {1, 7}));
    }

    void controlFindsWithItsOwnDialog()
    {
        TCell control;
        fillControl(control);
        control.show();
        control.dispatch(221, {0});
        auto *dialog = control.findChild<QDialog *>(u"CellFindDialog"_s);
        QVERIFY(dialog && dialog->isVisible());
        dialog->findChild<QLineEdit *>(u"edtFindText"_s)->setText(u"螺"_s);
        auto *next = dialog->findChild<QPushButton *>(u"btnFindNext"_s);
        auto *view = qobject_cast<QTableView *>(control.findChild<QTabWidget *>()->widget(0));
        next->click();
        QCOMPARE(view->currentIndex(), view->model()->index(1, 0));
        next->click();
        QCOMPARE(view->currentIndex(), view->model()->index(2, 0));
        next->click();
        QCOMPARE(view->currentIndex(), view->model()->index(2, 0));
        QCOMPARE(dialog->findChild<QLabel *>(u"lblFindStatus"_s)->text(), u"找不到“螺”。"_s);
        // Asked again, the control shows the same dialog.
        control.dispatch(221, {0});
        QCOMPARE(control.findChildren<QDialog *>(u"CellFindDialog"_s).size(), 1);
    }

    // Bound columns are read from the data set itself: every cell shows the text
    // the grid shows, numbers and dates stay numbers, and what the grid leaves
    // blank stays empty. The values are the awkward ones: nulls, a date-time of 0
    // that shows nothing, times of day, numbers that are no numbers, value-list
    // items that a number's text does not match or that repeat a value, texts
    // that share their characters with an earlier record.
    void gridExportShowsBoundFieldsAsTheGrid()
    {
        TDataSet set;
        const int text = set.addField(u"Text"_s, TFieldType::String);
        const int flag = set.addField(u"Flag"_s, TFieldType::Integer);
        const int count = set.addField(u"Count"_s, TFieldType::Integer);
        const int rate = set.addField(u"Rate"_s, TFieldType::Float);
        const int day = set.addField(u"Day"_s, TFieldType::DateTime);
        const int kind = set.addField(u"Kind"_s, TFieldType::String);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QList<double> rates{1.25, nan, -inf, 0, 1e-3};
        const QList<double> days{46361, 46361.5, 0, 46361.25, 46000.75};
        for (int i = 0; i < 12; ++i) {
            const int r = set.appendRecord();
            if (i % 4 == 3)
                set.shareString(r, text, 0);
            else if (i % 4 != 1)
                set.setString(r, text, i % 4 == 2 ? QString() : u"调班%1"_s.arg(i));
            if (i % 5 != 4)
                set.setInteger(r, flag, i % 4 - 1);
            if (i % 3 != 0)
                set.setInteger(r, count, 7 * i - 20);
            set.setFloat(r, rate, rates.at(i % rates.size()));
            if (i % 6 != 5)
                set.setDateTime(r, day, days.at(i % days.size()));
            if (i % 3 != 2)
                set.setString(r, kind, i % 2 ? u"A"_s : u"B"_s);
        }
        set.finishLoading();
        TcxGrid grid;
        TDataSource source;
        auto *view = new TcxGridDBTableView(&grid);
        grid.addLevel()->setGridView(view);
        view->dataController()->setDataSource(&source);
        for (int f = 0; f < set.fieldCount(); ++f)
            view->createColumn()->setFieldName(set.fieldName(f));
        view->createColumn()->setFieldName(u"NoSuchField"_s);
        view->column(flag)->setValueList(TcxImageComboBoxItems(
            {{u"01"_s, u"一"_s}, {u"0"_s, u"零"_s}, {u"0"_s, u"又零"_s}, {u"-1"_s, u"负"_s}}));
        view->column(kind)->setValueList(
            TcxImageComboBoxItems({{u"A"_s, u"甲"_s}, {QString(), u"未填"_s}}));
        view->column(set.fieldCount())
            ->setValueList(TcxImageComboBoxItems({{QString(), u"无字段"_s}}));
        source.setDataSet(&set);

        const QString file = m_dir.filePath(u"bound.xls"_s);
        ExportGrid4ToExcel(file, &grid, true, true, true, u"1001"_s, u"xls"_s, false);
        const Workbook book = readWorkbook(file);
        const QAbstractItemModel *model = view->itemModel();
        for (int r = 0; r < set.recordCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QString expected = model->index(r, c).data().toString();
                QCOMPARE(shown(book, 0, r + 1, c), expected);
                const Cell *cell = book.sheet(0).cell(r + 1, c);
                QCOMPARE(cell == nullptr, expected.isEmpty());
                const bool number = (c == count || c == rate || c == day) && !expected.isEmpty()
                                    && expected != u"nan"_s && expected != u"-inf"_s;
                QCOMPARE(cell && cell->value.kind == Value::Kind::Number, number);
            }
        }
        QCOMPARE(shown(book, 0, 1 + 6, day), u"2026-12-05 12:00:00"_s);
    }

    // More records than a sheet holds continue on the next sheet under the same
    // header; the footer counts them all. What other readers see of the export is
    // checked in tst_xlsinterop; here also what they do not report: the columns'
    // alignment.
    void gridExportContinuesOnFurtherSheets()
    {
        const int records = 65535 + 10;
        auto set = exchanges(records);
        RegisterGrid g(set.get());
        const QString file = m_dir.filePath(u"long.xls"_s);
        ExportGrid4ToExcel(file, &g.grid, true, true, true, u"1001"_s, u"xls"_s, false);
        const Workbook book = readWorkbook(file);
        QCOMPARE(book.sheetCount(), 2);
        QCOMPARE(book.sheet(0).rowCount(), 65536);
        QCOMPARE(shown(book, 1, 0, 2), u"姓名"_s);
        QCOMPARE(shown(book, 1, 1, 1), u"65536"_s);
        QCOMPARE(shown(book, 1, 10, 1), u"65545"_s);
        QCOMPARE(book.sheet(1).cell(11, 4)->formula->text(), u"SUM(Sheet1!E2:E65536,E2:E11)"_s);
        QCOMPARE(shown(book, 1, 11, 4), g.view->footerText(g.view->column(5)));
        QCOMPARE(shown(book, 1, 11, 0), u"65545 条记录"_s);
        QCOMPARE(book.sheet(0).columnCount(), 5);
        QCOMPARE(styleOf(book, 0, 1, 3).alignment, HorizontalAlignment::Centre);
        QCOMPARE(styleOf(book, 1, 1, 4).alignment, HorizontalAlignment::Right);
    }

    void treeListExport()
    {
        TcxTreeList tree;
        TcxTreeListColumn *name = tree.addColumn();
        name->setCaption(u"部门"_s);
        TcxTreeListColumn *code = tree.addColumn();
        code->setCaption(u"编码"_s);
        code->setVisible(false);
        TcxTreeListColumn *phone = tree.addColumn();
        phone->setCaption(u"电话"_s);
        TcxTreeListNode *head = tree.add();
        head->setTexts(0, u"总部"_s);
        head->setTexts(1, u"01"_s);
        head->setTexts(2, u"0101"_s);
        TcxTreeListNode *branch = head->addChild();
        branch->setTexts(0, u"研发部"_s);
        TcxTreeListNode *team = branch->addChild();
        team->setTexts(0, u"一组"_s);
        TcxTreeListNode *other = tree.add();
        other->setTexts(0, u"分部"_s);
        tree.fullCollapse();

        const QString file = m_dir.filePath(u"tree.xls"_s);
        cxExportTL4ToExcel(file, &tree, true, true, true, u"1001"_s);
        const Workbook book = readWorkbook(file);
        QCOMPARE(shown(book, 0, 0, 0), u"部门"_s);
        QCOMPARE(shown(book, 0, 0, 1), u"电话"_s);
        QCOMPARE(book.sheet(0).columnCount(), 2);
        const QStringList names{u"总部"_s, u"研发部"_s, u"一组"_s, u"分部"_s};
        const QList<int> levels{0, 1, 2, 0};
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(shown(book, 0, i + 1, 0), names.at(i));
            QCOMPARE(int(styleOf(book, 0, i + 1, 0).indent), levels.at(i));
        }
        QCOMPARE(book.sheet(0).cell(1, 1)->value, Value::text(u"0101"_s));
    }

    // Long work keeps painting, shows its count after a moment, and lets no input
    // reach the windows until it is over.
    void progressBlocksInputAndShowsCount()
    {
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        {
            Rt::ProgressScope progress(u"正在导出Excel文件..."_s, 1000, &edit);
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 600)
                progress.advance(clock.elapsed());
            QVERIFY(progress.isShown());
            auto *dialog = edit.findChild<QProgressDialog *>();
            QVERIFY(dialog && dialog->labelText().startsWith(u"正在导出Excel文件...\n"_s));
            QTest::keyClick(&edit, Qt::Key_A);
            QVERIFY(!edit.close());
        }
        QCOMPARE(edit.text(), QString());
        QVERIFY(!edit.findChild<QProgressDialog *>());
        QTest::keyClick(&edit, Qt::Key_B);
        QCOMPARE(edit.text(), u"b"_s);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(SpreadsheetTest)
#include "tst_spreadsheet.moc"
