#include "XlsTestSupport.h"

#include "runtime/exceptions.h"
#include "runtime/xls/formula.h"
#include "runtime/xls/numberformat.h"
#include "runtime/xls/reader.h"
#include "runtime/xls/writer.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <functional>

using namespace Rt::Xls;
using namespace XlsTest;
using namespace Qt::StringLiterals;

namespace {

// A file the writer made, as bytes.
QByteArray fileOf(const Workbook &book)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"book.xls"_s);
    writeWorkbook(book, path);
    return readFile(path);
}

Workbook roundTrip(const Workbook &book)
{
    return parseWorkbook(fileOf(book));
}

Workbook sample()
{
    Workbook book;
    CellStyle bold;
    bold.bold = true;
    Sheet &sheet = book.addSheet(u"数据"_s);
    put(sheet, 0, 0, Value::text(u"名称"_s), book.styles().add(bold));
    for (int r = 1; r <= 20; ++r) {
        put(sheet, r, 0, Value::text(u"项目%1"_s.arg(r)));
        put(sheet, r, 1, Value::number(r * 1.25));
    }
    putFormula(sheet, 21, 1, u"SUM(B2:B21)"_s, Value::number(262.5));
    return book;
}

// Byte surgery on a file the writer made.
using Mutation = std::function<void(QByteArray &)>;
} // namespace
Q_DECLARE_METATYPE(Mutation)
namespace {

// Offsets inside the workbook stream of the writer's file: the stream starts at
// sector 0 (file offset 512) and runs on without a break.
qsizetype streamOffset(const QByteArray &file, quint16 recordId, int occurrence = 0)
{
    const QByteArray stream = workbookStreamOf(file);
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        quint16 id, len;
        std::memcpy(&id, stream.constData() + pos, 2);
        std::memcpy(&len, stream.constData() + pos + 2, 2);
        if (id == recordId && occurrence-- == 0)
            return 512 + pos;
        if (id == 0 && len == 0)
            break;
        pos += 4 + len;
    }
    return -1;
}

qsizetype fatOffset(const QByteArray &file)
{
    return (qsizetype(u32At(file, 0x4C)) + 1) * 512;
}

qsizetype directoryOffset(const QByteArray &file)
{
    return (qsizetype(u32At(file, 0x30)) + 1) * 512;
}

} // namespace

class XlsReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("latin") << u"Anna Müller"_s;
        QTest::newRow("chinese") << u"调班 调休 王芳"_s;
        QTest::newRow("outside the basic plane") << u"𠀋𠀍 ok"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("long latin over continue records") << QString(9000, u'x');
        QTest::newRow("long chinese over continue records") << QString(20000, u'班');
        QTest::newRow("mixed, split between encodings")
            << QString(8210, u'a') + QString(100, u'调');
        QTest::newRow("longest a cell holds") << QString(32767, u'z');
        QTest::newRow("quotes and line breaks") << u"a\"b'c\nd\te"_s;
    }
    void texts()
    {
        QFETCH(QString, text);
        Workbook book;
        Sheet &sheet = book.addSheet(u"Sheet1"_s);
        // Some strings before, so that this one starts anywhere in a record.
        for (int i = 0; i < 50; ++i)
            put(sheet, i, 1, Value::text(u"前%1"_s.arg(i)));
        put(sheet, 3, 0, Value::text(text));
        putFormula(sheet, 4, 0, u"A4"_s, Value::text(text));
        const Workbook back = roundTrip(book);
        QCOMPARE(back.sheet(0).cell(3, 0)->value, Value::text(text));
        QCOMPARE(back.sheet(0).cell(4, 0)->value, Value::text(text));
        QCOMPARE(back.sheet(0).cell(49, 1)->value, Value::text(u"前49"_s));
    }

    void numbers_data()
    {
        QTest::addColumn<double>("value");
        for (double v : {0.0, 1.0, -1.0, 0.01, -7.25, 1.5, 1e10, 1.0 / 3, 123456789.123,
                         536870911.0, -536870912.0, 1e-300, 9.99e307, 46361.5729166667})
            QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
    }
    void numbers()
    {
        QFETCH(double, value);
        Workbook book;
        put(book.addSheet(u"Sheet1"_s), 0, 0, Value::number(value));
        QCOMPARE(roundTrip(book).sheet(0).cell(0, 0)->value.num(), value);
    }

    // Styles come back as written, backgrounds too, dates as numbers under their date format, and
    // the default style as the style of every cell without its own; with sheets,
    // the active one and column widths.
    void stylesSheetsAndWidths()
    {
        Workbook book = sample();
        CellStyle wrap;
        wrap.wrap = true;
        book.styles().setDefaultStyle(wrap);
        CellStyle date;
        date.numberFormat = u"yyyy-mm-dd"_s;
        CellStyle dateTime;
        dateTime.numberFormat = u"yyyy-mm-dd hh:mm:ss"_s;
        dateTime.wrap = true;
        CellStyle indented;
        indented.indent = 3;
        indented.bold = true;
        indented.alignment = HorizontalAlignment::Left;
        CellStyle centred;
        centred.alignment = HorizontalAlignment::Centre;
        centred.numberFormat = u"0.00"_s;
        // Backgrounds take palette entries of their own; two styles share one.
        CellStyle orange;
        orange.fill = 0xFFFFD8A8;
        CellStyle boldOrange = orange;
        boldOrange.bold = true;
        CellStyle red;
        red.fill = 0xFFE53935;
        const QList<CellStyle> styles{date, dateTime, indented, centred, orange, boldOrange, red};
        for (int i = 0; i < styles.size(); ++i)
            put(book.sheet(0), 30 + i, 0, Value::number(46361.25 + i),
                book.styles().add(styles[i]));
        book.sheet(0).setColumnWidth(0, 21.5);
        book.sheet(0).setColumnWidth(7, 3);
        for (int i = 2; i <= 5; ++i)
            put(book.addSheet(u"第%1页"_s.arg(i)), i, i, Value::number(i));
        book.setActiveSheet(3);

        const Workbook back = roundTrip(book);
        const Sheet &first = back.sheet(0);
        auto styleAt = [&](int row) { return back.styles().at(first.cell(row, 0)->style); };
        for (int i = 0; i < styles.size(); ++i)
            QCOMPARE(styleAt(30 + i), styles.at(i));
        QCOMPARE(formatValue(first.cell(30, 0)->value, styleAt(30).numberFormat), u"2026-12-05"_s);
        QCOMPARE(formatValue(first.cell(31, 0)->value, styleAt(31).numberFormat),
                 u"2026-12-06 06:00:00"_s);
        QVERIFY(styleAt(1).wrap);
        QVERIFY(styleAt(0).bold);
        QCOMPARE(back.sheetCount(), 5);
        QCOMPARE(back.activeSheet(), 3);
        QCOMPARE(first.columnWidth(0), 21.5);
        QCOMPARE(first.columnWidth(7), 3.0);
        QCOMPARE(first.columnWidth(1), 0.0);
        for (int i = 2; i <= 5; ++i) {
            QCOMPARE(back.sheet(i - 1).name(), u"第%1页"_s.arg(i));
            QCOMPARE(back.sheet(i - 1).cell(i, i)->value, Value::number(i));
            QCOMPARE(back.sheet(i - 1).rowCount(), i + 1);
        }
    }

    // Small workbooks of other programs sit in the mini stream.
    void miniStream()
    {
        const QByteArray stream = workbookStream(sample());
        QVERIFY(stream.size() < 4096);
        const Workbook back = parseWorkbook(miniStreamFile(stream));
        QCOMPARE(back.sheet(0).cell(20, 0)->value, Value::text(u"项目20"_s));
        QCOMPARE(back.sheet(0).cell(21, 1)->formula->text(), u"SUM(B2:B21)"_s);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<Mutation>("mutation");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty file")
            << Mutation([](QByteArray &f) { f.clear(); }) << u"不是 Excel 97-2003"_s;
        QTest::newRow("a text file") << Mutation([](QByteArray &f) { f = QByteArray(4000, 'a'); })
                                     << u"不是 Excel 97-2003"_s;
        QTest::newRow("truncated in the header")
            << Mutation([](QByteArray &f) { f.truncate(300); }) << u"不是 Excel 97-2003"_s;
        QTest::newRow("truncated after the header")
            << Mutation([](QByteArray &f) { f.truncate(1500); }) << u"截断"_s;
        QTest::newRow("truncated by one sector")
            << Mutation([](QByteArray &f) { f.chop(512); }) << u"截断"_s;
        QTest::newRow("big-endian mark")
            << Mutation([](QByteArray &f) { putU16(f, 0x1C, 0xFEFF); }) << u"字节顺序"_s;
        QTest::newRow("unknown sector size")
            << Mutation([](QByteArray &f) { putU16(f, 0x1E, 10); }) << u"不支持的复合文档版本"_s;
        QTest::newRow("huge FAT count")
            << Mutation([](QByteArray &f) { putU32(f, 0x2C, 0x7FFFFFFF); }) << u"FAT 扇区数"_s;
        QTest::newRow("FAT sector past the end")
            << Mutation([](QByteArray &f) { putU32(f, 0x4C, 90000); }) << u"超出了文件的范围"_s;
        QTest::newRow("chain loops")
            << Mutation([](QByteArray &f) { putU32(f, fatOffset(f) + 4 * 3, 1); }) << u"成环"_s;
        QTest::newRow("chain loops on itself")
            << Mutation([](QByteArray &f) { putU32(f, fatOffset(f) + 4 * 2, 2); }) << u"成环"_s;
        QTest::newRow("chain leaves the file")
            << Mutation([](QByteArray &f) { putU32(f, fatOffset(f) + 4 * 2, 777777); })
            << u"无效的扇区号"_s;
        QTest::newRow("free sector in a chain")
            << Mutation([](QByteArray &f) { putU32(f, fatOffset(f) + 4 * 2, 0xFFFFFFFF); })
            << u"无效的扇区号"_s;
        QTest::newRow("directory start out of range")
            << Mutation([](QByteArray &f) { putU32(f, 0x30, 5000); }) << u"目录"_s;
        QTest::newRow("huge stream size") << Mutation([](QByteArray &f) {
            putU32(f, directoryOffset(f) + 128 + 0x78, 0x7FFFFFF0);
        }) << u"超出了文件的大小"_s;
        QTest::newRow("stream longer than its chain") << Mutation([](QByteArray &f) {
            putU32(f, directoryOffset(f) + 128 + 0x78, quint32(f.size() - 600));
        }) << u"超出了它的扇区链"_s;
        QTest::newRow("no workbook stream")
            << Mutation([](QByteArray &f) { putU16(f, directoryOffset(f) + 128, u'X'); })
            << u"没有 Excel 97-2003 工作簿"_s;
        QTest::newRow("an Excel 95 book") << Mutation([](QByteArray &f) {
            const qsizetype e = directoryOffset(f) + 128;
            const char16_t name[] = u"Book";
            std::memset(f.data() + e, 0, 64);
            std::memcpy(f.data() + e, name, 10);
            putU16(f, e + 0x40, 10);
        }) << u"Excel 5.0/95"_s;
        QTest::newRow("BIFF5 record version")
            << Mutation([](QByteArray &f) { putU16(f, 512 + 4, 0x0500); }) << u"旧格式"_s;
        QTest::newRow("no BOF first")
            << Mutation([](QByteArray &f) { putU16(f, 512, 0x0001); }) << u"BOF"_s;
        QTest::newRow("encrypted")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x0042), 0x002F); })
            << u"已加密"_s;
        QTest::newRow("record runs past the stream")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x00FC) + 2, 0xFFFF); })
            << u"超出了工作簿流的末尾"_s;
        QTest::newRow("sheet position past the stream")
            << Mutation([](QByteArray &f) { putU32(f, streamOffset(f, 0x0085) + 4, 0x00FFFFFF); })
            << u"位置超出了"_s;
        QTest::newRow("sheet position not at a BOF") << Mutation([](QByteArray &f) {
            putU32(f, streamOffset(f, 0x0085) + 4, u32At(f, streamOffset(f, 0x0085) + 4) + 4);
        }) << u"BOF"_s;
        QTest::newRow("two sheets on the same records") << Mutation([](QByteArray &f) {
            putU32(f, streamOffset(f, 0x0085, 1) + 4, u32At(f, streamOffset(f, 0x0085) + 4));
        }) << u"重叠"_s;
        QTest::newRow("sheet without EOF") << Mutation([](QByteArray &f) {
            const qsizetype eof = streamOffset(f, 0x000A, 2);
            putU16(f, eof, 0x0055);
        }) << u"没有结束记录"_s;
        QTest::newRow("string count lies")
            << Mutation([](QByteArray &f) { putU32(f, streamOffset(f, 0x00FC) + 8, 0x0FFFFFFF); })
            << u"声明了"_s;
        QTest::newRow("string length lies")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x00FC) + 12, 0xFFFF); })
            << u"共享字符串表"_s;
        QTest::newRow("phonetic flag without data")
            << Mutation([](QByteArray &f) { f[streamOffset(f, 0x00FC) + 14] = 0x04; })
            << u"共享字符串表"_s;
        QTest::newRow("string index out of range")
            << Mutation([](QByteArray &f) { putU32(f, streamOffset(f, 0x00FD) + 10, 999); })
            << u"不存在的共享字符串"_s;
        QTest::newRow("cell record cut short")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x00FD) + 2, 4); })
            << u"数据不完整"_s;
        QTest::newRow("column out of range")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x00FD) + 6, 300); })
            << u"256 列"_s;
        QTest::newRow("formula tokens past the record")
            << Mutation([](QByteArray &f) { putU16(f, streamOffset(f, 0x0006) + 4 + 20, 500); })
            << u"数据不完整"_s;
        QTest::newRow("duplicate sheet name") << Mutation([](QByteArray &f) {
            // A second sheet named like the first.
            const qsizetype second = streamOffset(f, 0x0085, 1);
            const qsizetype first = streamOffset(f, 0x0085, 0);
            std::memcpy(f.data() + second + 10, f.constData() + first + 10, 4);
        }) << u"重复"_s;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(Mutation, mutation);
        QFETCH(QString, reason);
        Workbook book = sample();
        put(book.addSheet(u"数据2"_s), 0, 0, Value::number(1));
        QByteArray file = fileOf(book);
        mutation(file);
        try {
            parseWorkbook(file);
            QFAIL("a damaged file was read");
        } catch (const Rt::Exception &e) {
            QVERIFY2(e.message().startsWith(u"文件不是有效的Excel工作簿："_s),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        }
    }

    // BLANK records that empty the last row, again and again, leave the sheet as
    // the cells before them made it.
    void blankRecordsEmptyTheLastRow()
    {
        const Workbook book = parseWorkbook(blankedLastRowFile());
        QCOMPARE(book.sheet(0).rowCount(), 1);
        QCOMPARE(book.sheet(0).columnCount(), 1);
        QCOMPARE(book.sheet(0).cell(0, 0)->value, Value::number(1));
        QVERIFY(!book.sheet(0).cell(MaxRows - 1, MaxColumns - 1));
    }

    // What the reader cannot compute again keeps its value: a formula with an
    // unknown function token is read as its cached result.
    void unknownFunctionKeepsValue()
    {
        Workbook book;
        putFormula(book.addSheet(u"Sheet1"_s), 0, 0, u"ABS(-2)"_s, Value::number(2));
        QByteArray file = fileOf(book);
        const qsizetype formula = streamOffset(file, 0x0006);
        // ABS (24) becomes function 350, which this reader does not know.
        const qsizetype func = file.indexOf(QByteArray("\x41\x18\x00", 3), formula);
        QVERIFY(func > formula);
        putU16(file, func + 1, 350);
        const Workbook back = parseWorkbook(file);
        QVERIFY(!back.sheet(0).cell(0, 0)->formula);
        QCOMPARE(back.sheet(0).cell(0, 0)->value, Value::number(2));
    }
};

QTEST_GUILESS_MAIN(XlsReaderTest)
#include "tst_xlsreader.moc"
