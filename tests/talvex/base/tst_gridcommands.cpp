// The base window's generic commands over the recording host: which control each
// command takes, the dialogs, the exclusion mark, failures and their log texts.

#include "RecordingHost.h"

#include "runtime/application.h"
#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dialogs.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/printers.h"
#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "runtime/timer.h"
#include "runtime/treelist/cxtreelist.h"
#include "runtime/vgrid/cxvgrid.h"
#include "talvex/base/DllWindow.h"
#include "talvex/base/FindWindow.h"
#include "talvex/project/HostFactory.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A grid named name of `records` records in one column, with a banded or a plain
// view, its level captioned.
TcxGrid *addGrid(QObject *owner, const QString &name, int records, bool banded = true,
                 const QString &levelCaption = {})
{
    auto *grid = new TcxGrid(qobject_cast<QWidget *>(owner));
    grid->setObjectName(name);
    TcxGridTableView *view = banded ? new TcxGridBandedTableView(grid) : new TcxGridTableView(grid);
    if (auto *bandedView = qobject_cast<TcxGridBandedTableView *>(view))
        bandedView->addBand(u"全部"_s);
    TcxGridLevel *level = grid->addLevel();
    level->setGridView(view);
    level->setCaption(levelCaption);
    view->createColumn()->setCaption(u"姓名"_s);
    view->dataController()->setRecordCount(records);
    for (int r = 0; r < records; ++r)
        view->dataController()->setValue(r, 0, u"%1-%2"_s.arg(name).arg(r));
    return grid;
}

TcxTreeList *addTree(QWidget *owner, const QString &name)
{
    auto *tree = new TcxTreeList(owner);
    tree->setObjectName(name);
    tree->addColumn();
    tree->add()->setTexts(0, u"生产部"_s);
    tree->add()->setTexts(0, u"营销中心"_s);
    return tree;
}

int focusedRecord(const TcxGrid *grid)
{
    return static_cast<TcxGridTableView *>(grid->activeView())
        ->dataController()
        ->focusedRecordIndex();
}

// Answers the file dialogs: records title and preset name of each, enters the next
// answer and confirms, or cancels when the answers ran out, the answer is a null
// string or `confirm` is off.
struct FileDialogs
{
    FileDialogs()
    {
        Rt::setFileDialogResponder([this](TFileDialog &dialog) {
            titles << dialog.title();
            presets << dialog.fileName();
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            dialog.setFileName(answer);
            return confirm && !answer.isNull();
        });
    }
    ~FileDialogs() { Rt::setFileDialogResponder({}); }

    QStringList answers;
    bool confirm = true;
    QStringList titles, presets;
};

// What the commands see through the spreadsheet control: a formula, texts to wrap.
TCell *addSpreadsheetControl(QWidget *owner)
{
    auto *cell = new TCell(owner);
    cell->setObjectName(u"Cell1"_s);
    cell->setSheetCount(2);
    cell->setCellText(1, 1, 0, u"1"_s);
    cell->setCellText(1, 2, 0, u"2"_s);
    cell->setCellFormula(1, 3, 0, u"SUM(A1:A2)"_s);
    cell->setCellText(2, 1, 0, u"一段很长很长的说明文字"_s);
    cell->setCellText(1, 1, 1, u"第二页"_s);
    return cell;
}

} // namespace

class GridCommandsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<RecordingHost> host;
    TApplication application;
    QStringList messages;
    QTemporaryDir dir;

    QStringList logged() const { return host->argumentsOf(u"WriteErrorLog"_s); }
    QStringList previews() const
    {
        return host->calls.filter(QRegularExpression(u"^PreviewControl2?\\("_s));
    }
    void closeFindDialog()
    {
        if (FindWindowForm)
            FindWindowForm->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private Q_SLOTS:
    void init()
    {
        host = std::make_unique<RecordingHost>();
        HostFactory = host->factory();
        Rt::setApplication(&application);
        messages.clear();
        Rt::setMessageBoxResponder([this](const Rt::MessageBoxRequest &request) {
            messages << request.text;
            return Rt::Answer::Ok;
        });
        Rt::setPrinterListResponder([] { return QStringList{}; });
    }
    void cleanup()
    {
        closeFindDialog();
        Rt::setPrinterListResponder({});
        Rt::setMessageBoxResponder({});
        HostFactory.reset();
        host.reset();
    }

    // Without an eligible control, or with every one tagged 9999, each command
    // does nothing: no dialog, no preview, no find window, nothing logged. Import
    // says when there is no spreadsheet book at all.
    void nothingEligible_data()
    {
        QTest::addColumn<bool>("excluded");
        QTest::newRow("no eligible kind") << false;
        QTest::newRow("every one excluded") << true;
    }

    void nothingEligible()
    {
        QFETCH(bool, excluded);
        TDllWindowForm window;
        if (excluded) {
            for (QObject *control : std::initializer_list<QObject *>{
                     addGrid(&window, u"cxGrid1"_s, 30), addTree(&window, u"tree"_s),
                     new TcxSpreadSheetBook(&window), addSpreadsheetControl(&window)})
                Rt::setTag(control, 9999);
            Rt::setPrinterListResponder([] { return QStringList{u"PDF"_s}; });
        } else {
            new TcxTextEdit(&window);
            new TcxVerticalGrid(&window);
            (new TcxPageControl(&window))->addPage(u"页"_s);
        }
        FileDialogs dialogs;
        QVERIFY(window.SaveToExcel());
        window.PrintPreview();
        window.PrintPreview2();
        QVERIFY(!window.FindData());
        QVERIFY(dialogs.titles.isEmpty());
        QVERIFY(previews().isEmpty());
        QVERIFY(!FindWindowForm);
        // Import asks for a file before it looks at the tag.
        QVERIFY(messages.isEmpty());
        QVERIFY(window.ImportData());
        QCOMPARE(dialogs.titles.isEmpty(), !excluded);
        QCOMPARE(messages, excluded ? QStringList()
                                    : QStringList{u"这个窗口没有可以导入Excel数据的表格。"_s});
        QVERIFY(logged().isEmpty());
    }

    // A control tagged 9999 is passed over by every command; the next one is used.
    // A frame's banded grid takes the frame's place; a plain grid in a frame is out
    // of reach.
    void excludedControlsArePassedOver()
    {
        TDllWindowForm window;
        window.setUnitCode(u"KQ"_s);
        TcxGrid *excluded = addGrid(&window, u"cxGrid1"_s, 30, true, u"甲"_s);
        Rt::setTag(excluded, 9999);
        auto *frame = new TFrame(&window);
        addGrid(frame, u"plain"_s, 30, false, u"内"_s);
        TcxGrid *used = addGrid(frame, u"inner"_s, 30, true, u"框架"_s);
        addGrid(&window, u"outer"_s, 30, true, u"窗口"_s);
        FileDialogs dialogs;

        QVERIFY(window.SaveToExcel());
        QCOMPARE(dialogs.presets, QStringList{u"框架"_s});

        window.PrintPreview();
        window.PrintPreview2();
        QCOMPARE(previews(), (QStringList{u"PreviewControl(inner, 0, KQ, FormName)"_s,
                                          u"PreviewControl2(inner, 0, KQ, FormName)"_s}));

        QVERIFY(window.FindData());
        FindWindowForm->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"-5"_s);
        FindWindowForm->findChild<QPushButton *>(u"Button1"_s)->click();
        QCOMPARE(focusedRecord(used), 5);
        QCOMPARE(focusedRecord(excluded), -1);
    }

    void findNeedsABandedViewOfMoreThanTwentyRecords_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("banded");
        QTest::addColumn<bool>("opens");
        QTest::newRow("20 records") << 20 << true << false;
        QTest::newRow("21 records") << 21 << true << true;
        QTest::newRow("plain view, 21 records") << 21 << false << false;
    }

    void findNeedsABandedViewOfMoreThanTwentyRecords()
    {
        QFETCH(int, records);
        QFETCH(bool, banded);
        QFETCH(bool, opens);
        TDllWindowForm window;
        addGrid(&window, u"cxGrid1"_s, records, banded);
        QCOMPARE(window.FindData(), opens);
        QCOMPARE(FindWindowForm != nullptr, opens);
        if (opens) {
            QCOMPARE(FindWindowForm->mode(), 0);
            QVERIFY(FindWindowForm->isVisible());
        }
    }

    // The dialog is reused with what the user typed; once closed, the next find
    // command brings a fresh one.
    void findDialogIsReusedThenReset()
    {
        TDllWindowForm window;
        TcxGrid *grid = addGrid(&window, u"cxGrid1"_s, 30);
        QVERIFY(window.FindData());
        const QPointer<TFindWindowForm> first = FindWindowForm;
        first->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"-2"_s);
        first->findChild<QRadioButton *>(u"rb1"_s)->setChecked(true);
        first->findChild<QCheckBox *>(u"chk1"_s)->setChecked(true);
        QVERIFY(window.FindData());
        QCOMPARE(FindWindowForm, first.get());
        QCOMPARE(first->findChild<QLineEdit *>(u"Edit1"_s)->text(), u"-2"_s);

        closeFindDialog();
        QVERIFY(!FindWindowForm);
        QVERIFY(!first);
        QVERIFY(window.FindData());
        QCOMPARE(FindWindowForm->findChild<QLineEdit *>(u"Edit1"_s)->text(), QString());
        QVERIFY(FindWindowForm->findChild<QRadioButton *>(u"rb2"_s)->isChecked());
        QVERIFY(!FindWindowForm->findChild<QCheckBox *>(u"chk1"_s)->isChecked());
        QCOMPARE(focusedRecord(grid), -1);
    }

    void cancelledOrEmptyChoiceWritesNothing()
    {
        TDllWindowForm window;
        addGrid(&window, u"cxGrid1"_s, 3);
        const QString file = dir.filePath(u"cancelled.xls"_s);
        FileDialogs dialogs;
        dialogs.answers = {file};
        dialogs.confirm = false; // a name typed, then cancelled
        QVERIFY(window.SaveToExcel());
        QVERIFY(!QFile::exists(file));
        dialogs.confirm = true;
        dialogs.answers = {u""_s};
        QVERIFY(window.SaveToExcel());
        QCOMPARE(dialogs.titles.size(), 2);
        QVERIFY(logged().isEmpty());
    }

    void exportsEachKindOfControl()
    {
        const QString file = dir.filePath(u"export.xls"_s);
        for (int kind = 0; kind < 3; ++kind) {
            QFile::remove(file);
            TDllWindowForm window;
            if (kind == 0) {
                addGrid(&window, u"cxGrid1"_s, 3);
            } else if (kind == 1) {
                addTree(&window, u"tree"_s);
            } else {
                auto *book = new TcxSpreadSheetBook(&window);
                book->Pages(0)->SetCellText(0, 0, u"生产部"_s, false, true);
            }
            FileDialogs dialogs;
            dialogs.answers = {file};
            QVERIFY(window.SaveToExcel());
            TcxSpreadSheetBook readBack;
            readBack.LoadFromFile(file);
            QStringList first;
            for (int r = 0; r < readBack.Pages(0)->rowCount(); ++r)
                first << readBack.Pages(0)->GetCellObject(0, r)->displayText();
            QVERIFY2(first.contains(kind == 0 ? u"cxGrid1-2"_s : u"生产部"_s),
                     qPrintable(first.join(u',')));
        }
        QVERIFY(logged().isEmpty());
    }

    // A failing command is logged under its name with its own text; nobody sees
    // a message and no wait notice is left standing.
    void failuresAreLogged_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("spreadsheetControl");
        QTest::addColumn<QString>("logged");
        const QString exportFailed = u"SaveToExcel|导出Excel数据发生异常错误|"_s;
        const QString previewFailed =
            u"PrintPreview|执行打印预览PrintPreview发生异常错误|打印机脱机"_s;
        QTest::newRow("export") << u"export"_s << false << exportFailed;
        QTest::newRow("spreadsheet control export") << u"export"_s << true << exportFailed;
        QTest::newRow("PrintPreview") << u"preview"_s << false << previewFailed;
        QTest::newRow("PrintPreview2") << u"preview2"_s << false << previewFailed;
    }

    void failuresAreLogged()
    {
        QFETCH(QString, command);
        QFETCH(bool, spreadsheetControl);
        QFETCH(QString, logged);
        TDllWindowForm window;
        if (spreadsheetControl)
            addSpreadsheetControl(&window);
        else
            addGrid(&window, u"cxGrid1"_s, 3);
        host->previewFailure = u"打印机脱机"_s;
        FileDialogs dialogs;
        dialogs.answers = {dir.filePath(u"no such folder/x.xls"_s)};
        if (command == u"export"_s)
            QVERIFY(!window.SaveToExcel());
        else
            command == u"preview"_s ? window.PrintPreview() : window.PrintPreview2();
        const QStringList entries = this->logged();
        QCOMPARE(entries.size(), 1);
        QVERIFY2(entries.first().startsWith(logged) && entries.first().endsWith(u", 0"_s),
                 qPrintable(entries.first()));
        QVERIFY(messages.isEmpty());
        QVERIFY(!host->waitShown);
    }

    // The spreadsheet control's export: its file, then its formulas and word wrap
    // carried into it, under the two wait texts; the notice is gone afterwards.
    void spreadsheetControlExportCarriesFormulasAndWrap()
    {
        TDllWindowForm window;
        addSpreadsheetControl(&window);
        const QString file = dir.filePath(u"cell.xls"_s);
        FileDialogs dialogs;
        dialogs.answers = {file};
        QVERIFY(window.SaveToExcel());
        QVERIFY(logged().isEmpty());
        QCOMPARE(host->calls.filter(u"WaitMessage"_s),
                 (QStringList{u"ShowWaitMessage(正在导出Excel文件...)"_s,
                              u"ShowWaitMessage(正在设置Excel公式...)"_s, u"HideWaitMessage()"_s}));

        TcxSpreadSheetBook book;
        book.LoadFromFile(file);
        QCOMPARE(book.PageCount(), 2);
        TcxSSBookSheet *sheet = book.Pages(0);
        const auto sum = sheet->GetCellObject(0, 2);
        QCOMPARE(sum->formula(), u"SUM(A1:A2)"_s);
        QCOMPARE(sum->displayText(), u"3"_s);
        for (int c = 0; c < 2; ++c) {
            for (int r = 0; r < 3; ++r)
                QVERIFY2(sheet->GetCellObject(c, r)->Style().wordWrap(),
                         qPrintable(u"cell %1,%2"_s.arg(c).arg(r)));
        }
        QVERIFY(book.Pages(1)->GetCellObject(0, 0)->Style().wordWrap());
        QVERIFY(book.DefaultStyle().wordWrap());
    }

    // Without printers the control is passed over and the next grid previewed;
    // with one, its own preview runs while the caption timer looks for the window.
    void spreadsheetControlPreview()
    {
        TDllWindowForm window;
        window.setUnitCode(u"KQ"_s);
        window.InitWindow();
        addSpreadsheetControl(&window);
        addGrid(&window, u"cxGrid1"_s, 3);
        window.PrintPreview();
        QCOMPARE(previews(), QStringList{u"PreviewControl(cxGrid1, 0, KQ, FormName)"_s});

        host->calls.clear();
        Rt::setPrinterListResponder([] { return QStringList{u"HP LaserJet"_s}; });
        QString seenTitle;
        // Looks for the preview for ten seconds at most; past that, whatever
        // modal window stands instead is closed, and the test fails on the title.
        const QDeadlineTimer giveUp(10000);
        std::function<void()> closePreview = [&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top->windowTitle() == u"打印预览"_s) {
                    seenTitle = top->windowTitle();
                    top->close();
                    return;
                }
            }
            if (!giveUp.hasExpired()) {
                QTimer::singleShot(10, closePreview);
            } else if (QWidget *modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        };
        QTimer::singleShot(0, closePreview);
        window.PrintPreview2();
        QCOMPARE(seenTitle, u"打印预览"_s);
        QVERIFY(!window.previewCaptionTimer()->enabled());
        QVERIFY(previews().isEmpty());
        QVERIFY(logged().isEmpty());
        window.FreeWindow();
    }

    void findOnASpreadsheetControlOpensItsOwnDialog()
    {
        TDllWindowForm window;
        TCell *cell = addSpreadsheetControl(&window);
        QVERIFY(window.FindData());
        QVERIFY(!FindWindowForm);
        QWidget *own = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->parentWidget() == cell)
                own = top;
        }
        QVERIFY(own);
        own->close();
    }

    // Each book the window owns asks in turn (one in a frame does not): an excluded
    // one and a cancelled choice move on to the next book; the first book that takes
    // a file ends the walk.
    void importGoesFromBookToBook()
    {
        const QString file = dir.filePath(u"in.xls"_s);
        {
            TcxSpreadSheetBook source;
            source.Pages(0)->SetCellText(0, 0, u"导入"_s, false, true);
            source.SaveToFile(file);
        }
        TDllWindowForm window;
        auto *framed = new TcxSpreadSheetBook(new TFrame(&window));
        auto *excluded = new TcxSpreadSheetBook(&window);
        Rt::setTag(excluded, 9999);
        auto *cancelled = new TcxSpreadSheetBook(&window);
        auto *loaded = new TcxSpreadSheetBook(&window);
        auto *untouched = new TcxSpreadSheetBook(&window);
        FileDialogs dialogs;
        dialogs.answers = {file, QString(), u"  "_s + file};
        // A name with blanks around it is not empty; it is loaded as chosen, which
        // here is a name no file has.
        QVERIFY(!window.ImportData());
        QCOMPARE(dialogs.titles.size(), 3);
        QVERIFY(logged().first().startsWith(u"ImportData|导入Excel数据发生异常错误|"_s));

        dialogs.titles.clear();
        host->calls.clear();
        dialogs.answers = {file, QString(), file};
        QVERIFY(window.ImportData());
        QCOMPARE(dialogs.titles.size(), 3);
        for (TcxSpreadSheetBook *book : {framed, excluded, cancelled, untouched})
            QVERIFY(book->Pages(0)->GetCellObject(0, 0)->displayText().isEmpty());
        QCOMPARE(loaded->Pages(0)->GetCellObject(0, 0)->displayText(), u"导入"_s);
        QVERIFY(logged().isEmpty());
    }

    // A file that is no workbook is refused with the log text; the book keeps what
    // it had.
    void aDamagedFileIsRefused()
    {
        const QString file = dir.filePath(u"damaged.xls"_s);
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Name,Amount\n王芳,540\n");
        csv.close();
        TDllWindowForm window;
        auto *book = new TcxSpreadSheetBook(&window);
        book->Pages(0)->SetCellText(0, 0, u"原有数据"_s, false, true);
        FileDialogs dialogs;
        dialogs.answers = {file};
        QVERIFY(!window.ImportData());
        QCOMPARE(logged().size(), 1);
        QVERIFY2(logged().first().startsWith(u"ImportData|导入Excel数据发生异常错误|"_s),
                 qPrintable(logged().first()));
        QCOMPARE(book->Pages(0)->GetCellObject(0, 0)->displayText(), u"原有数据"_s);
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(GridCommandsTest)
#include "tst_gridcommands.moc"
