#include "XlsTestSupport.h"

#include "runtime/spreadsheet/cell.h"
#include "runtime/spreadsheet/excelexport.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Rt::Xls;
using namespace XlsTest;
using namespace Qt::StringLiterals;

namespace {

const QString Python = u"/usr/bin/python3"_s;

QString script(const QString &name)
{
    return QStringLiteral(TALVEX_TEST_SOURCE_DIR) + u"/"_s + name;
}

// What a reader saw in a cell: its kind and its value as text.
struct Seen
{
    QString kind;
    QString value;
};

// Numbers as the tests compare them: shortest exact text.
QString numberText(double v)
{
    return QString::number(v, 'g', 15);
}

QHash<QString, Seen> freexlCells(const QString &file)
{
    const QString dump =
        QString::fromUtf8(run(QStringLiteral(TALVEX_BIN_DIR) + u"/freexl_dump"_s, {file}));
    QHash<QString, Seen> cells;
    for (const QString &line : dump.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.at(0) == u"sheet"_s)
            continue;
        QString value = f.at(4);
        if (f.at(3) == u"number"_s)
            value = numberText(value.toDouble());
        cells.insert(f.at(0) + u":"_s + cellName(f.at(1).toInt(), f.at(2).toInt()),
                     {f.at(3), value});
    }
    return cells;
}

QJsonArray xlrdSheets(const QString &file)
{
    return QJsonDocument::fromJson(run(Python, {script(u"xlrd_dump.py"_s), file})).array();
}

// soffice converts file into dir; each call gets a profile of its own.
void libreOffice(const QString &filter, const QString &file, const QString &dir)
{
    QTemporaryDir profile;
    run(u"soffice"_s,
        {u"--headless"_s, u"-env:UserInstallation=file://"_s + profile.path(), u"--convert-to"_s,
         filter, u"--outdir"_s, dir, file},
        180000);
}

// Separator, quote, UTF-8, first line, no column types, English locale, texts
// unquoted, save as shown, values rather than formulas, every sheet.
const QString CsvFilter =
    u"csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,false,true,false,false,-1"_s;

QStringList csvRows(const QString &path)
{
    return QString::fromUtf8(readFile(path)).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class XlsInteropTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_set = exchanges(60);
        m_grid = std::make_unique<RegisterGrid>(m_set.get());
        m_gridFile = m_dir.filePath(u"register.xls"_s);
        ExportGrid4ToExcel(m_gridFile, &m_grid->grid, true, true, true, u"1001"_s, u"xls"_s, false);
    }

    // xlrd and libfreexl, a C reader, read the exported grid with the values the
    // grid shows: texts as texts, numbers as numbers, dates as dates; xlrd also
    // the header bold, the footer's cached results and format, the widths.
    void outsideReadersSeeTheGridExportAsShown()
    {
        const QJsonArray sheets = xlrdSheets(m_gridFile);
        QCOMPARE(sheets.size(), 1);
        QHash<QString, QJsonArray> cells;
        for (const QJsonValue &cell : sheets.at(0)[u"cells"_s].toArray()) {
            const QJsonArray c = cell.toArray();
            cells.insert(cellName(c.at(0).toInt(), c.at(1).toInt()), c);
        }
        const QHash<QString, Seen> freexl = freexlCells(m_gridFile);
        const QAbstractItemModel *model = m_grid->view->itemModel();
        for (int c = 0; c < model->columnCount(); ++c) {
            const QJsonArray header = cells.value(cellName(0, c));
            QCOMPARE(header.at(3).toString(), model->headerData(c, Qt::Horizontal).toString());
            QVERIFY(header.at(4).toBool());
            QCOMPARE(freexl.value(u"0:"_s + cellName(0, c)).value, header.at(3).toString());
        }
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QString shown = model->index(r, c).data().toString();
                const QJsonArray cell = cells.value(cellName(r + 1, c));
                const Seen seen = freexl.value(u"0:"_s + cellName(r + 1, c));
                QCOMPARE(seen.value, shown);
                if (shown.isEmpty()) {
                    QVERIFY(cell.isEmpty());
                    continue;
                }
                const QString kind = cell.at(2).toString();
                const QString value =
                    kind == u"number"_s ? numberText(cell.at(3).toDouble()) : cell.at(3).toString();
                QCOMPARE(value, shown);
                const QString expectedKind = c == 0 ? u"date"_s : c == 4 ? u"number"_s : u"text"_s;
                QCOMPARE(kind, expectedKind);
                QCOMPARE(seen.kind, expectedKind);
            }
        }
        const QJsonArray sum = cells.value(cellName(61, 4));
        QCOMPARE(sum.at(3).toDouble(), m_set->recordCount() ? sumOfMinutes() : 0.0);
        QCOMPARE(sum.at(7).toString(), u"\"合计：\"0"_s);
        QCOMPARE(cells.value(cellName(61, 0)).at(3).toDouble(), 60.0);
        const QJsonObject widths = sheets.at(0)[u"widths"_s].toObject();
        QVERIFY(widths[u"2"_s].toInt() > widths[u"1"_s].toInt());
    }

    // LibreOffice recalculates the footer's formulas and shows what the grid's
    // footer shows.
    void libreOfficeEvaluatesTheFooter()
    {
        const QString out = m_dir.filePath(u"lo-grid"_s);
        libreOffice(CsvFilter, m_gridFile, out);
        const QStringList shown = csvRows(out + u"/register-Sheet1.csv"_s);
        QCOMPARE(shown.size(), 62);
        const QString footer = shown.last();
        QVERIFY2(footer.contains(m_grid->view->footerText(m_grid->view->column(5))),
                 qPrintable(footer));
        QVERIFY2(footer.startsWith(u"60 条记录,"_s), qPrintable(footer));
        // A sum that took the caption in too would show the same total.
        QCOMPARE(readWorkbook(m_gridFile).sheet(0).cell(61, 4)->formula->text(), u"SUM(E2:E61)"_s);
        QCOMPARE(shown.at(1).section(u',', 0, 0), u"2026-12-05 12:00:00"_s);
    }

    // A workbook of many formulas: LibreOffice's own results equal the cached ones.
    void libreOfficeAgreesWithCachedResults()
    {
        TCell control;
        control.setSheetCount(2);
        for (int r = 1; r <= 6; ++r) {
            control.setCellText(1, r, 0, QString::number(r * 1.5));
            control.setCellText(2, r, 0, r % 2 ? u"调班"_s : u"Text"_s);
        }
        const QStringList formulas{
            u"SUM(A1:A6)"_s,
            u"AVERAGE(A1:A6)*2-1"_s,
            u"MAX(A1:A6)/MIN(A2,A3)"_s,
            u"ROUND(A5/7,3)"_s,
            u"IF(A1>1,\"大\",\"小\")"_s,
            u"CONCATENATE(B1,\"-\",LEFT(B2,2))"_s,
            u"LEN(B1)+MOD(17,5)"_s,
            u"COUNT(A1:B6)+COUNTA(A1:B6)"_s,
            u"AND(A1>0,NOT(A2>100))"_s,
            u"2^3^2-(-2)^2"_s,
            u"A1%*50"_s,
            u"ROWS(A1:A6)*ABS(-2)"_s,
            u"Sheet2!A1+1"_s,
            u"DATE(2026,12,5)-DATE(2026,1,1)"_s,
            u"UPPER(B2)&LOWER(B2)&TRIM(\"  a  b \")"_s,
            u"ROUNDUP(2.123,1)+ROUNDDOWN(-2.19,1)+INT(-1.5)"_s,
        };
        for (int i = 0; i < formulas.size(); ++i)
            control.setCellFormula(3, i + 1, 0, formulas.at(i));
        control.setCellText(1, 1, 1, u"41"_s);
        const QString file = m_dir.filePath(u"formulas.xls"_s);
        control.dispatch(129, {file});

        const Workbook ours = readWorkbook(file);
        const QString out = m_dir.filePath(u"lo-formulas"_s);
        libreOffice(CsvFilter, file, out);
        const QStringList rows = csvRows(out + u"/formulas-Sheet1.csv"_s);
        for (int i = 0; i < formulas.size(); ++i) {
            const Cell *cell = ours.sheet(0).cell(i, 2);
            QVERIFY(cell && cell->formula);
            const QString cached = formatValue(cell->value, QString());
            QString theirs = rows.at(i).section(u',', 2, 2);
            theirs.remove(u'"');
            // A Boolean result in a General cell shows as 1 or 0 there.
            if (cell->value.kind == Value::Kind::Boolean)
                theirs = theirs == u"1"_s ? u"TRUE"_s : theirs == u"0"_s ? u"FALSE"_s : theirs;
            // Numbers may differ in their last digits; anything else must match.
            bool theirsIsNumber = false;
            bool cachedIsNumber = false;
            const double theirNumber = theirs.toDouble(&theirsIsNumber);
            const double cachedNumber = cached.toDouble(&cachedIsNumber);
            const bool sameNumber =
                theirsIsNumber && cachedIsNumber && qFuzzyCompare(theirNumber, cachedNumber);
            QVERIFY2(theirs == cached || sameNumber,
                     qPrintable(formulas.at(i) + u": "_s + theirs + u" vs "_s + cached));
        }
    }

    // A file xlwt wrote: texts, numbers, dates, formulas, styles, widths, sheets.
    void xlwtFileIsRead()
    {
        const QString file = m_dir.filePath(u"xlwt.xls"_s);
        run(Python, {script(u"xlwt_sample.py"_s), file});
        const Workbook book = readWorkbook(file);
        QCOMPARE(book.sheetCount(), 2);
        const Sheet &sheet = book.sheet(0);
        QCOMPARE(sheet.name(), u"考勤"_s);
        QCOMPARE(sheet.cell(0, 0)->value, Value::text(u"姓名"_s));
        QVERIFY(book.styles().at(sheet.cell(0, 0)->style).bold);
        QVERIFY(book.styles().at(sheet.cell(1, 0)->style).wrap);
        QCOMPARE(sheet.cell(3, 1)->value, Value::number(180.5));
        QCOMPARE(formatValue(sheet.cell(5, 2)->value,
                             book.styles().at(sheet.cell(5, 2)->style).numberFormat),
                 u"2026-12-05"_s);
        QCOMPARE(sheet.cell(6, 1)->formula->text(), u"SUM(B2:B6)"_s);
        QCOMPARE(sheet.cell(6, 0)->formula->text(), u"IF(B7>100,\"多\",\"少\")"_s);
        QCOMPARE(sheet.columnWidth(0), 20.0);
        QCOMPARE(book.sheet(1).cell(0, 0)->formula->text(), u"考勤!B2*2"_s);
        QCOMPARE(book.sheet(1).cell(1, 0)->value, Value::text(QString(9000, u'x')));
    }

    // LibreOffice writes its own .xls (shared formulas, its own records): read
    // back with the same values, formulas and styles.
    void libreOfficeFileIsRead()
    {
        Workbook book;
        CellStyle bold;
        bold.bold = true;
        CellStyle date;
        date.numberFormat = u"yyyy-mm-dd"_s;
        const int boldStyle = book.styles().add(bold);
        const int dateStyle = book.styles().add(date);
        Sheet &sheet = book.addSheet(u"原表"_s);
        put(sheet, 0, 0, Value::text(u"数量"_s), boldStyle);
        for (int r = 1; r <= 30; ++r) {
            put(sheet, r, 0, Value::number(r * 2.5));
            putFormula(sheet, r, 1, u"A%1*2"_s.arg(r + 1), Value::number(r * 5.0));
            put(sheet, r, 2, Value::number(46361 + r), dateStyle);
        }
        const QString file = m_dir.filePath(u"ours.xls"_s);
        writeWorkbook(book, file);
        const QString out = m_dir.filePath(u"lo-xls"_s);
        libreOffice(u"xls:MS Excel 97"_s, file, out);
        const Workbook back = readWorkbook(out + u"/ours.xls"_s);
        const Sheet &read = back.sheet(0);
        QCOMPARE(read.name(), u"原表"_s);
        QVERIFY(back.styles().at(read.cell(0, 0)->style).bold);
        for (int r = 1; r <= 30; ++r) {
            QCOMPARE(read.cell(r, 0)->value, Value::number(r * 2.5));
            QVERIFY(read.cell(r, 1)->formula);
            QCOMPARE(read.cell(r, 1)->formula->text(), u"A%1*2"_s.arg(r + 1));
            QCOMPARE(read.cell(r, 1)->value, Value::number(r * 5.0));
            QVERIFY(isDateFormat(back.styles().at(read.cell(r, 2)->style).numberFormat));
            QCOMPARE(read.cell(r, 2)->value, Value::number(46361 + r));
        }
    }

private:
    double sumOfMinutes() const
    {
        double sum = 0;
        for (int r = 0; r < m_set->recordCount(); ++r)
            sum += double(m_set->asInteger(r, 2));
        return sum;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TDataSet> m_set;
    std::unique_ptr<RegisterGrid> m_grid;
    QString m_gridFile;
};

QTEST_MAIN(XlsInteropTest)
#include "tst_xlsinterop.moc"
