#include "XlsTestSupport.h"

#include "runtime/exceptions.h"
#include "runtime/xls/evaluator.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <QFile>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

using namespace Rt::Xls;
using namespace XlsTest;
using namespace Qt::StringLiterals;

namespace {

// A register as the exports write it: bold captions, texts, numbers, a date, a
// footer formula, on two sheets; formulas with each kind of cached result.
Workbook registerBook()
{
    Workbook book;
    CellStyle bold;
    bold.bold = true;
    const int header = book.styles().add(bold);
    CellStyle date;
    date.numberFormat = u"yyyy-mm-dd"_s;
    const int dateStyle = book.styles().add(date);
    CellStyle total;
    total.numberFormat = u"\"合计：\"0"_s;
    total.alignment = HorizontalAlignment::Centre;
    const int totalStyle = book.styles().add(total);
    CellStyle wrapped;
    wrapped.wrap = true;
    wrapped.indent = 2;
    const int wrapStyle = book.styles().add(wrapped);

    Sheet &sheet = book.addSheet(u"调班"_s);
    sheet.setColumnWidth(0, 12);
    sheet.setColumnWidth(2, 10.5);
    put(sheet, 0, 0, Value::text(u"姓名"_s), header);
    put(sheet, 0, 1, Value::text(u"工时"_s), header);
    put(sheet, 0, 2, Value::text(u"日期"_s), header);
    put(sheet, 1, 0, Value::text(u"王芳"_s), wrapStyle);
    put(sheet, 1, 1, Value::number(480));
    put(sheet, 1, 2, Value::number(46361), dateStyle);
    put(sheet, 2, 0, Value::text(u"Anna"_s));
    put(sheet, 2, 1, Value::number(-7.25));
    put(sheet, 2, 2, Value::number(46362.5), dateStyle);
    put(sheet, 3, 0, Value::text(u"王芳"_s));
    put(sheet, 3, 1, Value::number(0.1));
    put(sheet, 3, 3, Value::boolean(true));
    put(sheet, 3, 4, Value::error(ErrorCode::Div0));
    put(sheet, 3, 5, Value(), wrapStyle);
    putFormula(sheet, 4, 1, u"SUM(B2:B4)"_s, Value::number(472.85)).style = quint16(totalStyle);
    putFormula(sheet, 4, 0, u"IF(B5>100,\"多\",\"少\")"_s, Value::text(u"多"_s));

    Sheet &second = book.addSheet(u"Sheet 2"_s);
    putFormula(second, 0, 0, u"调班!B2*2"_s, Value::number(960));
    putFormula(second, 0, 1, u"TODAY()"_s, Value::number(46361));
    putFormula(second, 1, 0, u"B1>0"_s, Value::boolean(true));
    putFormula(second, 1, 1, u"#N/A"_s, Value::error(ErrorCode::NA));
    putFormula(second, 1, 2, u"\"\""_s, Value::text(QString()));
    book.setActiveSheet(0);
    return book;
}

// What the process holds from the heap, small blocks and mapped ones.
qint64 allocatedBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void compareWithGolden(const QStringList &listing, const QString &name)
{
    const QString path = goldenPath(name);
    // Rewriting a golden file proves nothing about the writer: the run that does
    // it fails, and the next one, without the variable, checks against it.
    if (qEnvironmentVariableIsSet("TALVEX_UPDATE_GOLDEN")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
        file.write(listing.join(u'\n').toUtf8() + '\n');
        QFAIL(qPrintable(u"golden file %1 rewritten: review it, then run again without "
                         u"TALVEX_UPDATE_GOLDEN"_s.arg(path)));
    }
    const QStringList expected = QString::fromUtf8(readFile(path)).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(!expected.isEmpty(), qPrintable(u"golden file %1 is missing"_s.arg(path)));
    QCOMPARE(listing, expected);
}

} // namespace

class XlsWriterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The records of a small register, pinned: globals, styles, shared strings,
    // cells of every kind, widths, two sheets; formulas with cached results: a
    // number as itself, a text through a STRING record (none for an empty text),
    // Booleans and errors marked, volatile formulas flagged for recalculation.
    void registerWorkbookRecords()
    {
        compareWithGolden(recordListing(workbookStream(registerBook())), u"register.records"_s);
    }

    // Long and many strings: SST continues over CONTINUE records without splitting
    // a string's header, and with a flags byte where characters are split.
    void sharedStringsContinue()
    {
        Workbook book;
        Sheet &sheet = book.addSheet(u"Sheet1"_s);
        put(sheet, 0, 0, Value::text(QString(9000, u'x')));
        put(sheet, 1, 0, Value::text(QString(5000, u'调')));
        for (int i = 0; i < 600; ++i)
            put(sheet, 2 + i, 0, Value::text(u"第%1行"_s.arg(i)));
        QStringList listing;
        for (const QString &line : recordListing(workbookStream(book))) {
            if (line.startsWith(u"00fc"_s) || line.startsWith(u"003c"_s)
                || line.startsWith(u"00ff"_s))
                listing << line;
        }
        compareWithGolden(listing, u"sst-continue.records"_s);
    }

    // The container: header, the stream in regular sectors (a short stream padded
    // to the mini stream cutoff), one directory sector, a FAT that marks its own
    // sectors, and DIFAT sectors once the header's 109 FAT slots run out; the
    // reader follows them all.
    void compoundFileLayout_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("fatSectors");
        QTest::addColumn<int>("difatSectors");
        QTest::newRow("small") << 1 << 1 << 0;
        QTest::newRow("beyond 109 FAT sectors") << 65536 << 156 << 1;
    }
    void compoundFileLayout()
    {
        QFETCH(int, rows);
        QFETCH(int, fatSectors);
        QFETCH(int, difatSectors);
        Workbook book;
        Sheet &sheet = book.addSheet(u"Sheet1"_s);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < (rows > 10000 ? 11 : 2); ++c)
                put(sheet, r, c, Value::number(r + c + 0.5));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(u"layout.xls"_s);
        writeWorkbook(book, path);
        const QByteArray file = readFile(path);
        auto u32 = [&file](qsizetype at) { return u32At(file, at); };
        const QByteArray stream = workbookStream(book);
        const int streamSectors = int((std::max<qsizetype>(stream.size(), 4096) + 511) / 512);
        QCOMPARE(file.left(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        QCOMPARE(int(u32(0x2C)), fatSectors);
        QCOMPARE(int(u32(0x48)), difatSectors);
        QCOMPARE(int(u32(0x30)), streamSectors);
        QCOMPARE(file.size(), 512 * (1 + streamSectors + 1 + fatSectors + difatSectors));
        QCOMPARE(workbookStreamOf(file).left(stream.size()), stream);
        // Each FAT sector's own entry says FATSECT, each DIFAT sector's DIFSECT.
        auto fatEntry = [&](int sector) {
            const int fatIndex = sector / 128;
            const quint32 fatSector =
                fatIndex < 109 ? u32(0x4C + 4 * fatIndex)
                               : u32((qsizetype(u32(0x44)) + 1) * 512 + 4 * (fatIndex - 109));
            return u32((qsizetype(fatSector) + 1) * 512 + 4 * (sector % 128));
        };
        const int firstFat = streamSectors + 1;
        for (int i = 0; i < fatSectors; ++i)
            QCOMPARE(fatEntry(firstFat + i), 0xFFFFFFFDu);
        for (int i = 0; i < difatSectors; ++i)
            QCOMPARE(fatEntry(firstFat + fatSectors + i), 0xFFFFFFFCu);
        QCOMPARE(fatEntry(streamSectors - 1), 0xFFFFFFFEu);
        QCOMPARE(fatEntry(streamSectors), 0xFFFFFFFEu);
        QCOMPARE(fatEntry(0), 1u);
        const Workbook back = parseWorkbook(file);
        QCOMPARE(back.sheet(0).rowCount(), rows);
        QCOMPARE(back.sheet(0).cell(rows - 1, 1)->value, Value::number(rows - 1 + 1 + 0.5));
    }

    // Texts past the longest a cell holds are cut, in a cell and in a formula's
    // result alike, never between the halves of a character beyond U+FFFF.
    void longTextsKeepWholeCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        const QString face = u"😀"_s;
        const QString fill(MaxTextLength - 1, u'x');
        QTest::newRow("pair across the limit") << fill + face + u"y"_s << fill;
        QTest::newRow("pair ending at the limit")
            << fill.left(MaxTextLength - 2) + face + u"yz"_s << fill.left(MaxTextLength - 2) + face;
        QTest::newRow("one unit per character")
            << QString(MaxTextLength + 5, u'调') << QString(MaxTextLength, u'调');
    }
    void longTextsKeepWholeCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        Workbook book;
        Sheet &sheet = book.addSheet(u"Sheet1"_s);
        put(sheet, 0, 0, Value::text(text));
        putFormula(sheet, 0, 1, u"\"a\""_s, Value::text(text));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"long.xls"_s);
        writeWorkbook(book, path);
        const Workbook back = readWorkbook(path);
        QCOMPARE(back.sheet(0).cell(0, 0)->value, Value::text(kept));
        QCOMPARE(back.sheet(0).cell(0, 1)->value, Value::text(kept));
    }

    // A SUM over more sheets than a function takes arguments is nested; the file
    // holds it, and it reads back to the same formula and total.
    void sumOverManySheets_data()
    {
        QTest::addColumn<int>("sheets");
        QTest::newRow("flat") << 2;
        QTest::newRow("one past the arguments") << 31;
        QTest::newRow("three runs") << 61;
    }
    void sumOverManySheets()
    {
        QFETCH(int, sheets);
        Workbook book;
        QStringList ranges;
        double total = 0;
        for (int s = 0; s < sheets; ++s) {
            Sheet &sheet = book.addSheet(u"Sheet%1"_s.arg(s + 1));
            put(sheet, 0, 0, Value::number(s + 0.5));
            put(sheet, 1, 0, Value::number(1));
            ranges << sheet.name() + u"!A1:A2"_s;
            total += s + 1.5;
        }
        const QString formula = sumFormula(ranges);
        putFormula(book.sheet(0), 5, 0, formula, Value::number(total));
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sheets.xls"_s);
        writeWorkbook(book, path);
        const Workbook back = readWorkbook(path);
        QCOMPARE(back.sheetCount(), sheets);
        const Cell *sum = back.sheet(0).cell(5, 0);
        QVERIFY(sum && sum->formula);
        QCOMPARE(sum->formula->text(), formula);
        CachedValues values(back);
        QCOMPARE(evaluate(*sum->formula, 0, values), Value::number(total));
    }

    // A sheet's extent follows its cells as they go: the last row and column are
    // found again, across the 64 rows a word of the row index covers.
    void sheetShrinksToItsCells_data()
    {
        QTest::addColumn<QList<QPoint>>("cells"); // x the column, y the row
        QTest::addColumn<QList<QPoint>>("removed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        const QList<QPoint> spread{{0, 0}, {3, 5}, {7, 9}, {1, 70}, {2, 200}};
        QTest::newRow("last row") << spread << QList<QPoint>{{2, 200}} << 71 << 8;
        QTest::newRow("last rows of two words")
            << spread << QList<QPoint>{{2, 200}, {1, 70}} << 10 << 8;
        QTest::newRow("a middle row") << spread << QList<QPoint>{{3, 5}} << 201 << 8;
        QTest::newRow("widest column") << spread << QList<QPoint>{{7, 9}} << 201 << 4;
        QTest::newRow("row keeps another cell")
            << spread + QList<QPoint>{{5, 200}} << QList<QPoint>{{2, 200}} << 201 << 8;
        QTest::newRow("a cell never there") << spread << QList<QPoint>{{9, 200}} << 201 << 8;
        QTest::newRow("everything") << spread << spread << 0 << 0;
    }
    void sheetShrinksToItsCells()
    {
        QFETCH(QList<QPoint>, cells);
        QFETCH(QList<QPoint>, removed);
        QFETCH(int, rows);
        QFETCH(int, columns);
        Sheet sheet;
        for (const QPoint &cell : cells)
            put(sheet, cell.y(), cell.x(), Value::number(1));
        for (const QPoint &cell : removed)
            sheet.removeCell(cell.y(), cell.x());
        QCOMPARE(sheet.rowCount(), rows);
        QCOMPARE(sheet.columnCount(), columns);
        put(sheet, MaxRows - 1, 0, Value::number(2));
        QCOMPARE(sheet.rowCount(), MaxRows);
    }

    // Emptying the last row again and again, as a crafted file's BLANK records
    // can, reuses the row's room instead of taking more each time.
    void emptiedRowsKeepTheirRoom()
    {
        Sheet sheet;
        put(sheet, 0, 0, Value::number(1));
        auto fillAndEmpty = [&sheet] {
            put(sheet, MaxRows - 1, MaxColumns - 1, Value::number(2));
            sheet.removeCell(MaxRows - 1, MaxColumns - 1);
        };
        fillAndEmpty();
        const qint64 before = allocatedBytes();
        for (int i = 0; i < 5000; ++i)
            fillAndEmpty();
        const qint64 grown = allocatedBytes() - before;
        QCOMPARE(sheet.rowCount(), 1);
        QCOMPARE(sheet.columnCount(), 1);
        QVERIFY2(grown < 1024 * 1024, qPrintable(u"%1 bytes more"_s.arg(grown)));
    }

    void invalidWorkbooksAreRefused()
    {
        Workbook empty;
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, workbookStream(empty));
        Workbook book;
        Sheet &sheet = book.addSheet(u"Sheet1"_s);
        putFormula(sheet, 0, 0, u"Missing!A1"_s, Value::number(0));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, workbookStream(book));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, book.addSheet(u"a/b"_s));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, book.addSheet(u"SHEET1"_s));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, sheet.cellAt(65536, 0));
        QVERIFY_THROWS_EXCEPTION(Rt::Exception, sheet.cellAt(0, 256));
    }
};

QTEST_GUILESS_MAIN(XlsWriterTest)
#include "tst_xlswriter.moc"
