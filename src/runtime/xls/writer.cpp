#include "writer.h"

#include "compoundfile.h"
#include "formats.h"
#include "formula.h"
#include "formulatokens.h"
#include "records_p.h"
#include "runtime/exceptions.h"
#include "sharedstrings.h"

#include <QSaveFile>

#include <QBuffer>

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

void writeBof(RecordWriter &records, quint16 type)
{
    records.begin(Record::Bof);
    ByteWriter &w = records.data();
    w.u16(Biff8);
    w.u16(type);
    w.u16(0x0DBB); // build
    w.u16(0x07CC); // year
    w.u32(0);      // file history
    w.u32(6);      // lowest BIFF version that can read the file
    records.end();
}

// RK: a number in 30 bits, as an integer or as the top of a double, optionally
// divided by 100 ([MS-XLS] 2.5.217). Falls back to NUMBER when none fits exactly.
bool encodeRk(double v, quint32 *rk)
{
    constexpr double Limit = 1 << 29;
    if (v == std::trunc(v) && v >= -Limit && v < Limit) {
        *rk = quint32(qint32(v)) << 2 | 0x2;
        return true;
    }
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        *rk = quint32(bits >> 32) & 0xFFFFFFFC;
        return true;
    }
    const double hundred = v * 100.0;
    if (hundred == std::trunc(hundred) && hundred >= -Limit && hundred < Limit
        && double(qint32(hundred)) / 100.0 == v) {
        *rk = quint32(qint32(hundred)) << 2 | 0x3;
        return true;
    }
    return false;
}

// A workbook in memory as a row source.
class BookRows : public RowSource
{
public:
    explicit BookRows(const Workbook &book)
        : m_book(book)
    {}

    const StyleTable &styles() const override { return m_book.styles(); }
    int sheetCount() const override { return m_book.sheetCount(); }
    QString sheetName(int sheet) const override { return m_book.sheet(sheet).name(); }
    int activeSheet() const override { return m_book.activeSheet(); }
    QHash<int, double> columnWidths(int sheet) const override
    {
        return m_book.sheet(sheet).columnWidths();
    }
    void forEachRow(int sheet,
                    const std::function<void(int, std::span<const Cell>)> &visit) override
    {
        const Sheet &s = m_book.sheet(sheet);
        for (int row = 0; row < s.rowCount(); ++row) {
            if (!s.row(row).empty())
                visit(row, s.row(row));
        }
    }

private:
    const Workbook &m_book;
};

// The used range of a sheet: first row and column, last ones plus one; all 0
// for a sheet without cells.
struct Extent
{
    int firstRow = -1;
    int firstColumn = MaxColumns;
    int rowCount = 0;
    int columnCount = 0;

    void add(int row, std::span<const Cell> cells)
    {
        if (firstRow < 0)
            firstRow = row;
        firstColumn = std::min<int>(firstColumn, cells.front().column);
        rowCount = row + 1;
        columnCount = std::max<int>(columnCount, cells.back().column + 1);
    }
};

// The sheets' substreams are written first: they fill the shared strings and the
// references to other sheets that the globals then list.
class WorkbookWriter
{
public:
    explicit WorkbookWriter(RowSource &source)
        : m_source(source)
        , m_styles(source.styles())
    {}

    // Lays the stream out: the sheets' records are made once to learn their
    // length (filling the shared strings and the references to other sheets on
    // the way), then the globals follow from them. write() makes the sheets'
    // records again straight into the device, so that a large workbook never
    // sits in memory as a whole stream.
    qsizetype layout()
    {
        m_sheetLengths.clear();
        m_extents.assign(size_t(m_source.sheetCount()), Extent());
        for (int i = 0; i < m_source.sheetCount(); ++i) {
            m_sheet = i;
            m_sheetLengths.push_back(sheetStream(nullptr));
        }
        m_globals.reserve(4096 + m_sst.uniqueCount() * 16);
        RecordWriter records(m_globals);
        const std::vector<qsizetype> offsets = globals(records);
        qsizetype at = m_globals.size();
        for (size_t i = 0; i < offsets.size(); ++i) {
            ByteWriter(m_globals).patchU32(offsets[i], quint32(at));
            at += m_sheetLengths[i];
        }
        m_counted = true;
        return at;
    }

    bool write(QIODevice &device)
    {
        if (device.write(m_globals) != m_globals.size())
            return false;
        bool written = true;
        for (int i = 0; i < m_source.sheetCount() && written; ++i) {
            m_sheet = i;
            sheetStream([&device, &written](const QByteArray &piece) {
                written = written && device.write(piece) == piece.size();
            });
        }
        return written;
    }

private:
    // Returns where each BOUNDSHEET keeps the position of its sheet's BOF.
    std::vector<qsizetype> globals(RecordWriter &records)
    {
        writeBof(records, BofGlobals);
        records.u16Record(Record::InterfaceHdr, 1200);
        records.u16Record(Record::Mms, 0);
        records.empty(Record::InterfaceEnd);
        records.begin(Record::WriteAccess);
        const qsizetype start = records.size();
        writeUnicodeString(records.data(), u"Talvex"_s);
        records.data().bytes(QByteArray(112 - (records.size() - start), ' ').constData(),
                             112 - (records.size() - start));
        records.end();
        records.u16Record(Record::CodePage, 1200); // UTF-16
        records.u16Record(Record::Dsf, 0);
        records.begin(Record::TabId);
        for (int i = 0; i < m_source.sheetCount(); ++i)
            records.data().u16(quint16(i + 1));
        records.end();
        records.u16Record(Record::FnGroupCount, 14);
        for (quint16 id : {Record::WindowProtect, Record::Protect, Record::Password,
                           Record::Prot4Rev, Record::Prot4RevPass, Record::Backup, Record::HideObj})
            records.u16Record(id, 0);

        records.begin(Record::Window1);
        ByteWriter &w = records.data();
        w.u16(0);
        w.u16(0);
        w.u16(0x4000);
        w.u16(0x2000);
        w.u16(0x0038); // scroll bars and sheet tabs shown
        w.u16(quint16(activeSheet()));
        w.u16(0);
        w.u16(1);
        w.u16(600);
        records.end();

        records.u16Record(Record::DateMode, 0); // the 1900 date system
        records.u16Record(Record::Precision, 1);
        records.u16Record(Record::RefreshAll, 0);
        records.u16Record(Record::BookBool, 0);
        StyleSheetWriter(m_styles).write(records);
        records.u16Record(Record::UsesElfs, 1);

        std::vector<qsizetype> offsets;
        for (int i = 0; i < m_source.sheetCount(); ++i) {
            records.begin(Record::BoundSheet);
            offsets.push_back(records.size());
            records.data().u32(0); // patched once the globals' length is known
            records.data().u8(0);  // visible
            records.data().u8(0);  // worksheet
            writeShortString(records.data(), m_source.sheetName(i));
            records.end();
        }
        records.begin(Record::Country);
        records.data().u16(86); // China, for the user interface and the system
        records.data().u16(86);
        records.end();
        if (!m_externSheets.empty()) {
            // The workbook's own SUPBOOK, and an EXTERNSHEET entry per sheet that
            // formulas name.
            records.begin(Record::SupBook);
            records.data().u16(quint16(m_source.sheetCount()));
            records.data().u16(0x0401);
            records.end();
            records.begin(Record::ExternSheet);
            records.data().u16(quint16(m_externSheets.size()));
            for (int sheet : m_externSheets) {
                records.data().u16(0);
                records.data().u16(quint16(sheet));
                records.data().u16(quint16(sheet));
            }
            records.end();
        }
        m_sst.write(records);
        records.empty(Record::Eof);
        return offsets;
    }

    int activeSheet() const
    {
        const int active = m_source.activeSheet();
        return active >= 0 && active < m_source.sheetCount() ? active : 0;
    }

    int sheetIndex(const QString &name) const
    {
        for (int i = 0; i < m_source.sheetCount(); ++i) {
            if (m_source.sheetName(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    quint16 externSheet(const QString &name)
    {
        const int sheet = sheetIndex(name);
        if (sheet < 0)
            throw Exception(u"公式引用了不存在的工作表“%1”。"_s.arg(name));
        const auto it = std::find(m_externSheets.begin(), m_externSheets.end(), sheet);
        if (it != m_externSheets.end())
            return quint16(it - m_externSheets.begin());
        m_externSheets.push_back(sheet);
        return quint16(m_externSheets.size() - 1);
    }

    // Makes a sheet's records and hands them to emit in pieces of about a
    // megabyte; without emit it only counts them. Returns the length.
    qsizetype sheetStream(const std::function<void(const QByteArray &)> &emit)
    {
        constexpr qsizetype Piece = 1 << 20;
        QByteArray out;
        out.reserve(Piece + 64 * 1024);
        qsizetype length = 0;
        auto pass = [&] {
            length += out.size();
            if (emit)
                emit(out);
            out.resize(0); // keeps the room for the next piece
        };
        RecordWriter records(out);
        writeBof(records, BofWorksheet);
        records.u16Record(Record::CalcMode, 1); // automatic
        records.u16Record(Record::CalcCount, 100);
        records.u16Record(Record::RefMode, 1); // A1 references
        records.u16Record(Record::Iteration, 0);
        records.begin(Record::Delta);
        records.data().f64(0.001);
        records.end();
        records.u16Record(Record::SaveRecalc, 1);
        records.u16Record(Record::PrintHeaders, 0);
        records.u16Record(Record::PrintGridLines, 0);
        records.u16Record(Record::GridSet, 1);
        records.begin(Record::Guts);
        records.data().zeros(8);
        records.end();
        records.begin(Record::DefaultRowHeight);
        records.data().u16(0);
        records.data().u16(255);
        records.end();
        records.u16Record(Record::WsBool, 0x04C1);
        records.u16Record(Record::DefColWidth, 8);
        columnInfo(records, m_source.columnWidths(m_sheet));
        // The used range is learnt while the rows are counted, and written with them.
        Extent &extent = m_extents[size_t(m_sheet)];
        dimensions(records, extent);
        m_source.forEachRow(m_sheet, [&](int row, std::span<const Cell> cells) {
            if (cells.empty())
                return;
            if (!m_counted)
                extent.add(row, cells);
            for (const Cell &cell : cells)
                writeCell(records, row, cell);
            if (out.size() >= Piece)
                pass();
        });
        records.begin(Record::Window2);
        ByteWriter &w = records.data();
        // Grid lines, headers, zeros, outline symbols and default grid colour; the
        // active sheet is also selected and shown.
        w.u16(m_sheet == activeSheet() ? 0x06B6 : 0x00B6);
        w.u16(0);
        w.u16(0);
        w.u32(64);
        w.u16(0);
        w.u16(0);
        w.u32(0);
        records.end();
        records.empty(Record::Eof);
        pass();
        return length;
    }

    void columnInfo(RecordWriter &records, const QHash<int, double> &widths)
    {
        QList<int> columns = widths.keys();
        std::sort(columns.begin(), columns.end());
        for (int column : columns) {
            records.begin(Record::ColInfo);
            ByteWriter &w = records.data();
            w.u16(quint16(column));
            w.u16(quint16(column));
            // 1/256 of the default font's digit width.
            w.u16(quint16(std::lround(widths.value(column) * 256)));
            w.u16(StyleSheetWriter::DefaultCellXf);
            w.u16(0);
            w.u16(0);
            records.end();
        }
    }

    void dimensions(RecordWriter &records, const Extent &extent)
    {
        const bool empty = extent.firstRow < 0;
        records.begin(Record::Dimensions);
        ByteWriter &w = records.data();
        w.u32(empty ? 0 : quint32(extent.firstRow));
        w.u32(empty ? 0 : quint32(extent.rowCount));
        w.u16(empty ? 0 : quint16(extent.firstColumn));
        w.u16(empty ? 0 : quint16(extent.columnCount));
        w.u16(0);
        records.end();
    }

    void cellHeader(ByteWriter &w, int row, const Cell &cell)
    {
        w.u16(quint16(row));
        w.u16(cell.column);
        w.u16(m_xf.xfIndex(cell.style));
    }

    // Cell records are many and small: each is put together here and appended
    // in one piece.
    void writeCell(RecordWriter &records, int row, const Cell &cell)
    {
        if (cell.formula) {
            writeFormula(records, row, cell);
            return;
        }
        char record[4 + 14];
        auto header = [&](quint16 id, quint16 length) {
            putU16(record, id);
            putU16(record + 2, length);
            putU16(record + 4, quint16(row));
            putU16(record + 6, cell.column);
            putU16(record + 8, m_xf.xfIndex(cell.style));
            return 4 + length;
        };
        const Value &v = cell.value;
        int size = 0;
        switch (v.kind) {
        case Value::Kind::Empty:
            size = header(Record::Blank, 6);
            break;
        case Value::Kind::Text:
            size = header(Record::LabelSst, 10);
            putU32(record + 10, sharedString(v.str()));
            break;
        case Value::Kind::Number: {
            quint32 rk;
            if (encodeRk(v.num(), &rk)) {
                size = header(Record::Rk, 10);
                putU32(record + 10, rk);
            } else {
                size = header(Record::Number, 14);
                putF64(record + 10, v.num());
            }
            break;
        }
        case Value::Kind::Boolean:
        case Value::Kind::Error:
            size = header(Record::BoolErr, 8);
            record[10] = char(quint8(v.num()));
            record[11] = v.kind == Value::Kind::Error ? 1 : 0;
            break;
        }
        records.raw(record, size);
    }

    // The first pass adds the texts, the second finds them again.
    quint32 sharedString(const QString &text)
    {
        const QString kept = truncatedText(text);
        return m_counted ? m_sst.indexOf(kept) : m_sst.add(kept);
    }

    void writeFormula(RecordWriter &records, int row, const Cell &cell)
    {
        const QByteArray tokens = compileFormula(
            *cell.formula, [this](const QString &sheet) { return externSheet(sheet); });
        records.begin(Record::Formula);
        ByteWriter &w = records.data();
        cellHeader(w, row, cell);
        // The cached result, so that readers that do not calculate show it too.
        const Value &v = cell.value;
        const bool textResult = v.kind == Value::Kind::Text && !v.str().isEmpty();
        switch (v.kind) {
        case Value::Kind::Number:
            w.f64(v.num());
            break;
        case Value::Kind::Text:
        case Value::Kind::Empty:
            w.u8(textResult ? 0 : 3);
            w.zeros(5);
            w.u16(0xFFFF);
            break;
        case Value::Kind::Boolean:
        case Value::Kind::Error:
            w.u8(v.kind == Value::Kind::Boolean ? 1 : 2);
            w.u8(0);
            w.u8(quint8(v.num()));
            w.zeros(3);
            w.u16(0xFFFF);
            break;
        }
        w.u16(cell.formula->isVolatile() ? 0x0001 : 0x0000);
        w.u32(0);
        w.u16(quint16(tokens.size()));
        w.bytes(tokens.constData(), tokens.size());
        records.end();
        if (textResult)
            writeStringRecord(records, truncatedText(v.str()));
    }

    RowSource &m_source;
    const StyleTable &m_styles;
    StyleSheetWriter m_xf{m_styles};
    SharedStringTable m_sst;
    std::vector<int> m_externSheets;
    std::vector<qsizetype> m_sheetLengths;
    std::vector<Extent> m_extents;
    QByteArray m_globals;
    bool m_counted = false;
    int m_sheet = 0;
};

} // namespace

namespace {

void checkWritable(const RowSource &source)
{
    if (source.sheetCount() == 0)
        throw Exception(u"工作簿中没有工作表，无法保存。"_s);
}

} // namespace

QByteArray workbookStream(const Workbook &workbook)
{
    BookRows rows(workbook);
    checkWritable(rows);
    WorkbookWriter writer(rows);
    QByteArray stream;
    stream.reserve(writer.layout());
    QBuffer buffer(&stream);
    buffer.open(QIODevice::WriteOnly);
    writer.write(buffer);
    return stream;
}

void writeWorkbook(const Workbook &workbook, const QString &fileName)
{
    BookRows rows(workbook);
    writeWorkbook(rows, fileName);
}

void writeWorkbook(RowSource &source, const QString &fileName)
{
    checkWritable(source);
    WorkbookWriter writer(source);
    const qsizetype length = writer.layout();
    QSaveFile file(fileName);
    const bool written =
        file.open(QIODevice::WriteOnly)
        && writeCompoundFile(file, length,
                             [&writer](QIODevice &device) { return writer.write(device); })
        && file.commit();
    if (!written)
        throw Exception(u"无法写入文件“%1”：%2"_s.arg(fileName, file.errorString()));
}

} // namespace Rt::Xls
