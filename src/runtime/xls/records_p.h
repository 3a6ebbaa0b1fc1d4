#pragma once

#include "bytes_p.h"

#include <QByteArray>

// BIFF8 record framing: u16 id, u16 length, data. The ids are those of [MS-XLS].
namespace Rt::Xls {

namespace Record {
enum : quint16 {
    Formula = 0x0006,
    Eof = 0x000A,
    CalcCount = 0x000C,
    CalcMode = 0x000D,
    Precision = 0x000E,
    RefMode = 0x000F,
    Delta = 0x0010,
    Iteration = 0x0011,
    Protect = 0x0012,
    Password = 0x0013,
    ExternSheet = 0x0017,
    WindowProtect = 0x0019,
    DateMode = 0x0022,
    PrintHeaders = 0x002A,
    PrintGridLines = 0x002B,
    FilePass = 0x002F,
    Font = 0x0031,
    Continue = 0x003C,
    Window1 = 0x003D,
    Backup = 0x0040,
    CodePage = 0x0042,
    DefColWidth = 0x0055,
    WriteAccess = 0x005C,
    SaveRecalc = 0x005F,
    ColInfo = 0x007D,
    Guts = 0x0080,
    WsBool = 0x0081,
    GridSet = 0x0082,
    BoundSheet = 0x0085,
    Country = 0x008C,
    HideObj = 0x008D,
    Palette = 0x0092,
    FnGroupCount = 0x009C,
    MulRk = 0x00BD,
    MulBlank = 0x00BE,
    Mms = 0x00C1,
    RString = 0x00D6,
    BookBool = 0x00DA,
    Xf = 0x00E0,
    InterfaceHdr = 0x00E1,
    InterfaceEnd = 0x00E2,
    Sst = 0x00FC,
    LabelSst = 0x00FD,
    ExtSst = 0x00FF,
    TabId = 0x013D,
    UsesElfs = 0x0160,
    Dsf = 0x0161,
    SupBook = 0x01AE,
    Prot4Rev = 0x01AF,
    RefreshAll = 0x01B7,
    Prot4RevPass = 0x01BC,
    Dimensions = 0x0200,
    Blank = 0x0201,
    Number = 0x0203,
    Label = 0x0204,
    BoolErr = 0x0205,
    String = 0x0207,
    Row = 0x0208,
    Array = 0x0221,
    DefaultRowHeight = 0x0225,
    Window2 = 0x023E,
    Rk = 0x027E,
    Style = 0x0293,
    Format = 0x041E,
    SharedFormula = 0x04BC,
    Bof = 0x0809,
};
} // namespace Record

// The most data one record holds; longer data continues in CONTINUE records.
inline constexpr int MaxRecordData = 8224;

// BOF substream types.
inline constexpr quint16 BofGlobals = 0x0005;
inline constexpr quint16 BofWorksheet = 0x0010;
inline constexpr quint16 Biff8 = 0x0600;

// Appends records to a stream.
class RecordWriter
{
public:
    explicit RecordWriter(QByteArray &out)
        : m_out(out)
        , m_w(out)
    {}

    qsizetype size() const { return m_out.size(); }
    ByteWriter &data() { return m_w; }

    // Opens a record; its data follows through data(), end() fixes its length.
    void begin(quint16 id)
    {
        Q_ASSERT(m_open < 0);
        m_w.u16(id);
        m_open = m_out.size();
        m_w.u16(0);
    }
    void end()
    {
        const qsizetype length = m_out.size() - m_open - 2;
        Q_ASSERT(length <= MaxRecordData);
        m_w.patchU16(m_open, quint16(length));
        m_open = -1;
    }
    // Appends a whole record, header included.
    void raw(const char *record, qsizetype size)
    {
        Q_ASSERT(m_open < 0);
        m_out.append(record, size);
    }
    void u16Record(quint16 id, quint16 value)
    {
        begin(id);
        m_w.u16(value);
        end();
    }
    void empty(quint16 id)
    {
        begin(id);
        end();
    }

private:
    QByteArray &m_out;
    ByteWriter m_w;
    qsizetype m_open = -1;
};

} // namespace Rt::Xls
