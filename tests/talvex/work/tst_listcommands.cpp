// The list window's generic commands over the real host and the fixture database:
// export and previews take the list of exchanges, find the department tree.

#include "HostFixture.h"
#include "ListWindow.h"
#include "PdfText.h"

#include "runtime/dialogs.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "runtime/treelist/cxtreelist.h"
#include "talvex/base/FindWindow.h"
#include "talvex/work/WorkWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ListCommandsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Rt::setFileDialogResponder({}); }

    void exportWritesTheListAsShown()
    {
        HostFixture host;
        ListWindow w;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"list.xls"_s);
        Rt::setFileDialogResponder([&](TFileDialog &dialog) {
            dialog.setFileName(file);
            return true;
        });
        QVERIFY(w.form.SaveToExcel());

        TcxSpreadSheetBook book;
        book.LoadFromFile(file);
        TcxSSBookSheet *sheet = book.Pages(0);
        const QList<QStringList> shown = w.shown();
        QCOMPARE(shown.size(), 5);
        for (int r = 0; r < shown.size(); ++r) {
            QStringList cells;
            for (int c = 0; c < shown[r].size(); ++c)
                cells << sheet->GetCellObject(c, r)->displayText();
            QCOMPARE(cells, shown[r]);
        }
        QVERIFY(host.log.latest().isEmpty());
    }

    void previewsPrintTheList_data()
    {
        QTest::addColumn<bool>("second");
        QTest::newRow("PrintPreview") << false;
        QTest::newRow("PrintPreview2") << true;
    }

    void previewsPrintTheList()
    {
        QFETCH(bool, second);
        HostFixture host;
        ListWindow w;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"list.pdf"_s);
        host.session.setPrintToFile(pdf);
        second ? w.form.PrintPreview2() : w.form.PrintPreview();
        const std::optional<QString> read = pdfText(pdf);
        QVERIFY2(read, "pdftotext did not read the preview");
        const QString &text = *read;
        QVERIFY2(text.contains(u"员工编号"_s), qPrintable(text));
        QVERIFY(text.contains(u"欧阳 雪"_s) || text.contains(u"欧阳雪"_s));
        // Value lists print their descriptions; hidden columns do not print.
        QVERIFY(text.contains(u"休息"_s) && text.contains(u"调休"_s));
        QVERIFY(!text.contains(u"修改时间"_s));
        QVERIFY(text.contains(u"4 条记录"_s));
        QVERIFY(!text.contains(u"部门列表"_s));
    }

    // Find passes over the list (a plain table view) and searches the departments;
    // the department found lists its exchanges.
    void findSearchesTheDepartmentTree()
    {
        HostFixture host;
        ListWindow w;
        QVERIFY(w.form.FindData());
        QVERIFY(FindWindowForm);
        QCOMPARE(FindWindowForm->mode(), 1);
        FindWindowForm->findChild<QLineEdit *>(u"Edit1"_s)->setText(u"华东"_s);
        FindWindowForm->findChild<QPushButton *>(u"Button1"_s)->click();
        auto *tree = w.form.findChild<TcxTreeList *>(u"tlTypeList"_s);
        QCOMPARE(tree->focusedNode()->texts(1), u"0201"_s);
        QCOMPARE(w.shown().size(), 2);
        QCOMPARE(w.shown().at(1).first(), u"E003"_s);
        QVERIFY(host.messages.isEmpty());
    }
};

QTEST_MAIN(ListCommandsTest)
#include "tst_listcommands.moc"
