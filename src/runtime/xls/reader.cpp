#include "reader.h"

#include "bytes_p.h"
#include "compoundfile.h"
#include "formats.h"
#include "formula.h"
#include "formulatokens.h"
#include "numberformat.h"
#include "records_p.h"
#include "runtime/exceptions.h"
#include "sharedstrings.h"

#include <QFile>
#include <QHash>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

// Days from the 1904 date system's day 0 to the 1900 system's.
constexpr double Days1904 = 1462;

struct RecordView
{
    quint16 id = 0;
    QByteArrayView data;
    qsizetype offset = 0;
};

// Walks the records of a substream; every header and length is checked against
// the stream, so each step moves forward by at least four bytes.
class RecordCursor
{
public:
    RecordCursor(const QByteArray &stream, qsizetype offset)
        : m_stream(stream)
        , m_pos(offset)
    {}

    qsizetype pos() const { return m_pos; }

    bool next(RecordView *record)
    {
        if (m_pos + 4 > m_stream.size())
            return false;
        const char *p = m_stream.constData() + m_pos;
        record->id = readU16(p);
        const quint16 length = readU16(p + 2);
        if (m_pos + 4 + length > m_stream.size())
            refuse(u"位置 %1 处的记录（0x%2）超出了工作簿流的末尾，文件被截断了。"_s.arg(m_pos).arg(
                record->id, 4, 16, QChar(u'0')));
        record->offset = m_pos;
        record->data = QByteArrayView(p + 4, length);
        m_pos += 4 + length;
        return true;
    }

    // The data of the CONTINUE records right after the current one.
    RecordChunks continued(QByteArrayView first)
    {
        RecordChunks chunks{first};
        while (m_pos + 4 <= m_stream.size()
               && readU16(m_stream.constData() + m_pos) == Record::Continue) {
            RecordView r;
            next(&r);
            chunks.push_back(r.data);
        }
        return chunks;
    }

private:
    const QByteArray &m_stream;
    qsizetype m_pos;
};

QString recordName(quint16 id)
{
    return u"记录 0x%1"_s.arg(id, 4, 16, QChar(u'0'));
}

struct SheetEntry
{
    quint32 offset;
    quint8 type;
    QString name;
};

struct ExternSheet
{
    quint16 supBook;
    quint16 first;
    quint16 last;
};

class WorkbookReader
{
public:
    explicit WorkbookReader(QByteArray stream)
        : m_stream(std::move(stream))
    {}

    Workbook run()
    {
        readGlobals();
        m_styleSheet.resolve(m_book.styles());
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const SheetEntry &entry = m_entries[i];
            if (entry.type != 0)
                continue; // charts, macro sheets and modules hold no cells for us
            checkSheetEntry(entry);
            if (!readSheet(entry))
                continue;
            if (int(i) == m_activeEntry)
                m_book.setActiveSheet(m_book.sheetCount() - 1);
        }
        if (m_book.sheetCount() == 0)
            refuse(u"工作簿中没有工作表。"_s);
        return std::move(m_book);
    }

private:
    void checkBof(const RecordView &r, quint16 expectedType, const QString &what)
    {
        if (r.id != Record::Bof || r.data.size() < 4)
            refuse(u"%1 不是以 BOF 记录开始的。"_s.arg(what));
        const quint16 version = readU16(r.data.data());
        if (version != Biff8) {
            refuse(
                u"这是 Excel 95 或更早版本的旧格式（BIFF 版本 0x%1），不受支持，请另存为 Excel 97-2003 格式。"_s
                    .arg(version, 4, 16, QChar(u'0')));
        }
        if (expectedType && readU16(r.data.data() + 2) != expectedType)
            refuse(u"%1 的 BOF 记录类型不对。"_s.arg(what));
    }

    void readGlobals()
    {
        RecordCursor cursor(m_stream, 0);
        RecordView r;
        if (!cursor.next(&r))
            refuse(u"工作簿流是空的。"_s);
        checkBof(r, BofGlobals, u"工作簿流"_s);
        while (cursor.next(&r)) {
            ByteReader data(r.data.data(), r.data.size(), recordName(r.id));
            switch (r.id) {
            case Record::Eof:
                return;
            case Record::FilePass:
                refuse(u"文件已加密（设置了打开密码），无法读取。"_s);
            case Record::Font:
                m_styleSheet.readFont(data);
                break;
            case Record::Format:
                m_styleSheet.readFormat(data);
                break;
            case Record::Xf:
                if (++m_xfCount > 0xFFF0)
                    refuse(u"单元格格式 (XF) 太多。"_s);
                m_styleSheet.readXf(data);
                break;
            case Record::Palette:
                m_styleSheet.readPalette(data);
                break;
            case Record::DateMode:
                m_dates1904 = data.u16() == 1;
                break;
            case Record::Window1:
                data.skip(10);
                m_activeEntry = data.u16();
                break;
            case Record::BoundSheet: {
                SheetEntry entry;
                entry.offset = data.u32();
                data.u8(); // visibility
                entry.type = data.u8();
                entry.name = readShortString(data);
                m_entries.push_back(entry);
                break;
            }
            case Record::SupBook:
                // The workbook's own SUPBOOK reads "sheet count, 0x0401".
                m_internalSupBooks.push_back(r.data.size() == 4
                                             && readU16(r.data.data() + 2) == 0x0401);
                break;
            case Record::ExternSheet: {
                const quint16 count = data.u16();
                for (quint16 i = 0; i < count; ++i) {
                    ExternSheet e;
                    e.supBook = data.u16();
                    e.first = data.u16();
                    e.last = data.u16();
                    m_externSheets.push_back(e);
                }
                break;
            }
            case Record::Sst:
                m_strings = readSharedStrings(cursor.continued(r.data));
                break;
            default:
                break;
            }
        }
        refuse(u"工作簿的全局部分没有结束记录 (EOF)，文件被截断了。"_s);
    }

    void checkSheetEntry(const SheetEntry &entry)
    {
        if (entry.offset + quint64(4) > quint64(m_stream.size()))
            refuse(u"工作表“%1”的位置超出了工作簿流的末尾。"_s.arg(entry.name));
        try {
            checkSheetName(entry.name);
        } catch (const Exception &e) {
            refuse(e.message());
        }
        if (m_book.sheetIndex(entry.name) >= 0)
            refuse(u"工作表名称“%1”重复。"_s.arg(entry.name));
        if (m_book.sheetCount() >= MaxSheets)
            refuse(u"工作表太多（最多 %1 张）。"_s.arg(MaxSheets));
    }

    // The sheet an EXTERNSHEET entry names; null when it is another workbook's or
    // a range of sheets.
    QString externSheetName(quint16 index) const
    {
        if (index >= m_externSheets.size())
            return QString();
        const ExternSheet &e = m_externSheets[index];
        if (e.supBook >= m_internalSupBooks.size() || !m_internalSupBooks[e.supBook]
            || e.first != e.last || e.first >= m_entries.size())
            return QString();
        return m_entries[e.first].name;
    }

    // Sheets' substreams do not overlap: a file whose sheets share records could
    // make the reader walk the same bytes once per sheet.
    void claimRange(const SheetEntry &entry, qsizetype end)
    {
        const qsizetype begin = entry.offset;
        for (const auto &[first, last] : m_sheetRanges) {
            if (begin < last && first < end)
                refuse(u"工作表“%1”的数据与另一张工作表重叠。"_s.arg(entry.name));
        }
        m_sheetRanges.emplace_back(begin, end);
    }

    struct SharedFormula
    {
        int firstRow, lastRow, firstColumn, lastColumn;
        QByteArray tokens;
    };
    struct PendingShared
    {
        int row, column;
        quint32 anchor; // row << 8 | column of the formula's first cell
    };

    bool readSheet(const SheetEntry &entry)
    {
        RecordCursor cursor(m_stream, entry.offset);
        RecordView r;
        cursor.next(&r);
        checkBof(r, 0, u"工作表“%1”"_s.arg(entry.name));
        // A dialog sheet is a worksheet with a flag; chart and macro BOFs mean
        // the entry holds nothing for us.
        if (readU16(r.data.data() + 2) != BofWorksheet)
            return false;
        Sheet &sheet = m_book.addSheet(entry.name);
        QHash<quint32, SharedFormula> shared;
        std::vector<PendingShared> pendingShared;
        // The cell whose text result the next STRING record holds.
        int pendingRow = -1, pendingColumn = -1;

        // Substreams inside the sheet (embedded charts) are passed over whole.
        int nested = 0;
        while (cursor.next(&r)) {
            if (r.id == Record::Bof || (nested > 0 && r.id != Record::Eof)) {
                nested += r.id == Record::Bof ? 1 : 0;
                continue;
            }
            ByteReader data(r.data.data(), r.data.size(), recordName(r.id));
            switch (r.id) {
            case Record::Eof:
                if (nested > 0) {
                    --nested;
                    break;
                }
                resolveShared(sheet, shared, pendingShared);
                claimRange(entry, cursor.pos());
                return true;
            case Record::ColInfo: {
                const quint16 first = data.u16();
                const quint16 last = std::min<quint16>(data.u16(), MaxColumns - 1);
                const quint16 width = data.u16();
                for (int c = first; c <= last; ++c)
                    sheet.setColumnWidth(c, width / 256.0);
                break;
            }
            case Record::LabelSst: {
                auto [row, column, style] = cellHeader(data);
                const quint32 index = data.u32();
                if (index >= quint32(m_strings.size()))
                    refuse(u"工作表“%1”的单元格 %2 引用了不存在的共享字符串 %3。"_s
                               .arg(entry.name, cellName(row, column))
                               .arg(index));
                setValue(sheet, row, column, style, Value::text(m_strings.at(index)));
                break;
            }
            case Record::Label:
            case Record::RString: {
                auto [row, column, style] = cellHeader(data);
                setValue(sheet, row, column, style, Value::text(readUnicodeString(data)));
                break;
            }
            case Record::Number: {
                auto [row, column, style] = cellHeader(data);
                setValue(sheet, row, column, style, number(data.f64(), style));
                break;
            }
            case Record::Rk: {
                auto [row, column, style] = cellHeader(data);
                setValue(sheet, row, column, style, number(decodeRk(data.u32()), style));
                break;
            }
            case Record::MulRk:
                multiple(sheet, data, 6, [&](int row, int column, quint16 style) {
                    setValue(sheet, row, column, style, number(decodeRk(data.u32()), style));
                });
                break;
            case Record::Blank: {
                auto [row, column, style] = cellHeader(data);
                setValue(sheet, row, column, style, Value());
                break;
            }
            case Record::MulBlank:
                multiple(sheet, data, 2, [&](int row, int column, quint16 style) {
                    setValue(sheet, row, column, style, Value());
                });
                break;
            case Record::BoolErr: {
                auto [row, column, style] = cellHeader(data);
                const quint8 v = data.u8();
                setValue(sheet, row, column, style,
                         data.u8() ? Value::error(ErrorCode(v)) : Value::boolean(v != 0));
                break;
            }
            case Record::Formula: {
                auto [row, column, style] = cellHeader(data);
                const bool text = formula(sheet, data, row, column, style, pendingShared);
                pendingRow = text ? row : -1;
                pendingColumn = column;
                break;
            }
            case Record::String:
                if (pendingRow >= 0) {
                    sheet.cellAt(pendingRow, pendingColumn).value =
                        Value::text(readStringRecord(cursor.continued(r.data)));
                }
                pendingRow = -1;
                break;
            case Record::SharedFormula: {
                SharedFormula f;
                f.firstRow = data.u16();
                f.lastRow = data.u16();
                f.firstColumn = data.u8();
                f.lastColumn = data.u8();
                data.skip(2);
                const quint16 size = data.u16();
                f.tokens = QByteArray(data.take(size), size);
                shared.insert(quint32(f.firstRow) << 8 | quint32(f.firstColumn), f);
                break;
            }
            default:
                break;
            }
        }
        refuse(u"工作表“%1”没有结束记录 (EOF)，文件被截断了。"_s.arg(entry.name));
    }

    struct Header
    {
        int row;
        int column;
        quint16 style;
    };
    Header cellHeader(ByteReader &data)
    {
        const quint16 row = data.u16();
        const quint16 column = data.u16();
        const quint16 xf = data.u16();
        if (column >= MaxColumns)
            refuse(u"单元格的列号 %1 超出了 256 列。"_s.arg(column + 1));
        return {row, column, m_styleSheet.styleOf(xf)};
    }

    // MULRK and MULBLANK: a row, a first column, one item per cell, a last column.
    template <typename Visit> void multiple(Sheet &, ByteReader &data, int itemSize, Visit visit)
    {
        if (data.remaining() < 6 || (data.remaining() - 6) % itemSize != 0)
            data.overrun();
        const int count = int((data.remaining() - 6) / itemSize);
        const quint16 row = data.u16();
        const quint16 first = data.u16();
        const quint16 last = readU16(data.current() + qsizetype(count) * itemSize);
        if (last < first || last - first + 1 != count || last >= MaxColumns)
            refuse(u"第 %1 行的多单元格记录的列范围无效。"_s.arg(row + 1));
        for (int i = 0; i < count; ++i)
            visit(row, first + i, m_styleSheet.styleOf(data.u16()));
    }

    void setValue(Sheet &sheet, int row, int column, quint16 style, const Value &value)
    {
        // A blank cell in the default style is no cell at all: skipping it keeps
        // large files of formatted nothing from taking memory.
        if (value.isEmpty() && style == 0) {
            if (sheet.cell(row, column))
                sheet.removeCell(row, column);
            return;
        }
        Cell &cell = sheet.cellAt(row, column);
        cell.style = style;
        cell.value = value;
        cell.formula.reset();
    }

    Value number(double v, quint16 style) const
    {
        // The model counts dates in the 1900 system.
        if (m_dates1904 && isDateFormat(m_book.styles().at(style).numberFormat))
            v += Days1904;
        return Value::number(v);
    }

    static double decodeRk(quint32 rk)
    {
        double v;
        if (rk & 0x2) {
            v = double(qint32(rk) >> 2);
        } else {
            const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
            std::memcpy(&v, &bits, 8);
        }
        // Divided, not multiplied by 0.01: that rounds as the writer meant.
        return rk & 0x1 ? v / 100.0 : v;
    }

    // Reads a FORMULA record; true when its result is a text in a STRING record.
    bool formula(Sheet &sheet, ByteReader &data, int row, int column, quint16 style,
                 std::vector<PendingShared> &pendingShared)
    {
        const char *result = data.take(8);
        data.u16(); // flags: hints for recalculation only
        data.u32();
        const quint16 size = data.u16();
        const QByteArrayView tokens(data.take(size), size);

        Value value;
        bool textFollows = false;
        if (readU16(result + 6) == 0xFFFF) {
            switch (quint8(result[0])) {
            case 0:
                textFollows = true;
                value = Value::text(QString());
                break;
            case 1:
                value = Value::boolean(result[2] != 0);
                break;
            case 2:
                value = Value::error(ErrorCode(quint8(result[2])));
                break;
            default:
                value = Value::text(QString());
                break;
            }
        } else {
            value = number(readF64(result), style);
        }
        Cell &cell = sheet.cellAt(row, column);
        cell.style = style;
        cell.value = value;
        cell.formula.reset();
        // A shared or array formula points at the record that holds its tokens.
        if (!tokens.isEmpty() && tokens[0] == 0x01) {
            if (tokens.size() >= 5) {
                const quint32 anchor =
                    quint32(readU16(tokens.data() + 1)) << 8 | quint32(quint8(tokens[3]));
                pendingShared.push_back({row, column, anchor});
            }
            return textFollows;
        }
        cell.formula = formulaFor(tokens, row, column);
        return textFollows;
    }

    FormulaRef formulaFor(QByteArrayView tokens, int row, int column) const
    {
        DecompileContext context;
        context.row = row;
        context.column = column;
        context.sheetName = [this](quint16 index) { return externSheetName(index); };
        const std::optional<QString> text = decompileFormula(tokens, context);
        if (!text)
            return {};
        // A formula this system cannot compute again keeps only its result.
        try {
            return Formula::parse(*text);
        } catch (const Exception &) {
            return {};
        }
    }

    void resolveShared(Sheet &sheet, const QHash<quint32, SharedFormula> &shared,
                       const std::vector<PendingShared> &pending) const
    {
        for (const PendingShared &p : pending) {
            const auto it = shared.constFind(p.anchor);
            if (it == shared.cend())
                continue; // an array formula, or its record is missing: keep the value
            const SharedFormula &f = *it;
            if (p.row < f.firstRow || p.row > f.lastRow || p.column < f.firstColumn
                || p.column > f.lastColumn)
                continue;
            sheet.cellAt(p.row, p.column).formula = formulaFor(f.tokens, p.row, p.column);
        }
    }

    const QByteArray m_stream;
    Workbook m_book;
    StyleSheetReader m_styleSheet;
    QStringList m_strings;
    std::vector<SheetEntry> m_entries;
    std::vector<std::pair<qsizetype, qsizetype>> m_sheetRanges;
    std::vector<bool> m_internalSupBooks;
    std::vector<ExternSheet> m_externSheets;
    int m_activeEntry = 0;
    int m_xfCount = 0;
    bool m_dates1904 = false;
};

} // namespace

Workbook parseWorkbook(const QByteArray &file)
{
    return WorkbookReader(readWorkbookStream(file)).run();
}

Workbook readWorkbook(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(u"无法打开文件“%1”：%2"_s.arg(fileName, file.errorString()));
    return parseWorkbook(file.readAll());
}

} // namespace Rt::Xls
