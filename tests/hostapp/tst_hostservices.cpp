// The host's services as the plug-in reaches them: through the root interface
// (the unknown operator: tst_hostcommandline).

#include "HostFixture.h"
#include "PdfText.h"

#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/spreadsheetbook.h"
#include "talvex/model/BaseObj.h"
#include "talvex/project/HostFactory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The text of each page of a PDF file; none when it could not be read.
QStringList pdfPages(const QString &pdf)
{
    const std::optional<QString> text = pdfText(pdf);
    if (!text)
        return {};
    QStringList pages = text->split(u'\f');
    pages.removeLast(); // what follows the last page's form feed
    return pages;
}

} // namespace

class HostServicesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void operatorRightsAndScope_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("scope");
        QTest::newRow("admin") << u"admin"_s << u"1"_s << 2
                               << u"('01','0101','010101','02','0201','9')"_s;
        QTest::newRow("clerk") << u"clerk"_s << u"2"_s << 2 << u"('02','0201')"_s;
        QTest::newRow("viewer") << u"viewer"_s << u"3"_s << 1
                                << u"('01','0101','010101','02','0201','9')"_s;
    }

    void operatorRightsAndScope()
    {
        QFETCH(QString, code);
        QFETCH(QString, id);
        QFETCH(int, level);
        QFETCH(QString, scope);
        HostFixture host(code);
        TBaseObj *op = host.root->GetOperator();
        QCOMPARE(op->ID, id);
        // The operator's code is the field after ID.
        QCOMPARE(op->metaObject()
                     ->property(TBaseObj::staticMetaObject.propertyCount())
                     .read(op)
                     .toString(),
                 code);
        auto rights = Host::rights();
        QCOMPARE(rights->GetRight(u"1001"_s), level);
        QCOMPARE(rights->GetRight(u"9999"_s), 0);
        QString text;
        rights->GetDeptScope(op->ID, text);
        QCOMPARE(text, scope);
    }

    void dictionaryCombosCarryCodesAndNames()
    {
        HostFixture host;
        auto dict = Host::dict();
        TcxImageComboBox *combo =
            dict->GetDictCombo(u" select StationCode,StationName from HR_StationInfo"_s);
        QCOMPARE(combo->items().count(), 2);
        QCOMPARE(combo->items().displayText(u"02"_s), u"班组长"_s);
        // Asked again, the host refills its own combo rather than making another.
        host.db().execute(u"INSERT INTO HR_StationInfo VALUES ('03', '质检员')"_s);
        QCOMPARE(dict->GetDictCombo(u" select StationCode,StationName from HR_StationInfo"_s),
                 combo);
        QCOMPARE(combo->items().count(), 3);
    }

    // A long list runs over pages: the captions head every page, the footer
    // follows the last row only, the pages are numbered.
    void previewRunsOverPages()
    {
        HostFixture host;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"pages.pdf"_s);
        host.session.setPrintToFile(pdf);
        TcxGrid grid;
        auto *view = new TcxGridBandedTableView(&grid);
        grid.addLevel()->setGridView(view);
        view->addBand(u"员工"_s);
        TcxGridColumn *name = view->createColumn();
        name->setCaption(u"员工姓名"_s);
        view->createColumn()->setCaption(u"内部编号"_s);
        view->column(1)->setVisible(false);
        view->setFooterVisible(true);
        view->addFooterSummary(name, Rt::SummaryKind::Count, u"0 条记录"_s);
        view->dataController()->setRecordCount(150);
        for (int r = 0; r < 150; ++r)
            view->dataController()->setValue(r, 0, u"员工%1"_s.arg(r + 1, 3, 10, QChar(u'0')));

        Host::printer()->PreviewControl(&grid, 0, u"KQ"_s, u"FormName"_s);
        const QStringList pages = pdfPages(pdf);
        const QString all = pages.join(u'\n');
        QVERIFY2(pages.size() >= 3, qPrintable(all));
        for (int p = 1; p <= pages.size(); ++p) {
            // The text layout drops the blanks between Chinese and digits.
            const QString page = QString(pages.at(p - 1)).remove(u' ');
            QVERIFY2(page.contains(u"员工姓名"_s), qPrintable(page));
            QVERIFY(!page.contains(u"内部编号"_s));
            QVERIFY(page.contains(u"第%1页/共%2页"_s.arg(p).arg(pages.size())));
            QCOMPARE(page.contains(u"150条记录"_s), p == pages.size());
        }
        for (int r = 1; r <= 150; ++r)
            QVERIFY(all.contains(u"员工%1"_s.arg(r, 3, 10, QChar(u'0'))));
    }

    // A spreadsheet book prints every sheet's cells, each sheet from a new page.
    void previewPrintsABookSheetBySheet()
    {
        HostFixture host;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"book.pdf"_s);
        host.session.setPrintToFile(pdf);
        const QString file = dir.filePath(u"book.xls"_s);
        {
            TCell source;
            source.setSheetCount(2);
            source.setCellText(1, 1, 0, u"工号"_s);
            source.setCellText(2, 1, 0, u"金额"_s);
            source.setCellText(1, 2, 0, u"10001"_s);
            source.setCellFormula(2, 2, 0, u"2*270"_s);
            source.setCellText(1, 1, 1, u"第二张表"_s);
            source.dispatch(129, {file});
        }
        TcxSpreadSheetBook book;
        book.LoadFromFile(file);
        Host::printer()->PreviewControl2(&book, 0, u"KQ"_s, u"FormName"_s);
        const QStringList pages = pdfPages(pdf);
        for (const QString &cell : {u"工号"_s, u"金额"_s, u"10001"_s, u"540"_s})
            QVERIFY2(pages.value(0).contains(cell), qPrintable(pages.value(0)));
        QVERIFY(!pages.value(0).contains(u"第二张表"_s));
        QVERIFY(pages.value(1).contains(u"第二张表"_s));
        // The second preview takes books only.
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, Host::printer()->PreviewControl2(
                                                    &host.session, 0, u"KQ"_s, u"FormName"_s));
    }

    // The log file keeps one line per entry.
    void logWritesOneLinePerEntry()
    {
        HostFixture host;
        QFile::remove(host.log.filePath());
        Host::log()->WriteErrorLog(u"保存记录失败！\r\nUNIQUE constraint failed"_s, 0);
        QFile file(host.log.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QCOMPARE(text.count(u'\n'), 1);
        QVERIFY(text.contains(u"保存记录失败！ UNIQUE constraint failed"_s));
    }
};

QTEST_MAIN(HostServicesTest)
#include "tst_hostservices.moc"
