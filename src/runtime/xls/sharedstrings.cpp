#include "sharedstrings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

constexpr quint8 HighByte = 0x01; // characters are UTF-16
constexpr quint8 HasPhonetic = 0x04;
constexpr quint8 HasRichText = 0x08;

bool fitsInOneByte(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

void writeChars(ByteWriter &w, QStringView text, bool compressed)
{
    for (QChar c : text) {
        if (compressed)
            w.u8(quint8(c.unicode()));
        else
            w.u16(c.unicode());
    }
}

// Writes a logical record whose strings may run over into CONTINUE records: a
// string's header is never split, and split character data starts its CONTINUE
// with a flags byte that gives the encoding of the rest.
class ContinuedRecord
{
public:
    ContinuedRecord(RecordWriter &records, quint16 id)
        : m_records(records)
    {
        m_records.begin(id);
        m_start = m_records.size();
    }
    ~ContinuedRecord() { m_records.end(); }

    qsizetype room() const { return MaxRecordData - (m_records.size() - m_start); }
    ByteWriter &data() { return m_records.data(); }
    // Offset of the next byte inside the current record, its 4-byte header counted.
    qsizetype offsetInRecord() const { return m_records.size() - m_start + 4; }

    void continueRecord()
    {
        m_records.end();
        m_records.begin(Record::Continue);
        m_start = m_records.size();
    }

    // Header bytes, then the characters, split over records as they fill.
    void string(const QString &text, int headerBytes, auto writeHeader)
    {
        const bool compressed = fitsInOneByte(text);
        const int charSize = compressed ? 1 : 2;
        if (room() < headerBytes + (text.isEmpty() ? 0 : charSize))
            continueRecord();
        writeHeader(data(), compressed ? 0 : HighByte);
        QStringView rest(text);
        for (;;) {
            const qsizetype fits = std::min<qsizetype>(rest.size(), room() / charSize);
            writeChars(data(), rest.first(fits), compressed);
            rest = rest.sliced(fits);
            if (rest.isEmpty())
                break;
            continueRecord();
            data().u8(compressed ? 0 : HighByte);
        }
    }

private:
    RecordWriter &m_records;
    qsizetype m_start = 0;
};

} // namespace

quint32 SharedStringTable::add(const QString &text)
{
    ++m_uses;
    const auto it = m_lookup.constFind(text);
    if (it != m_lookup.cend())
        return *it;
    const quint32 index = quint32(m_strings.size());
    m_strings.append(text);
    m_lookup.insert(text, index);
    return index;
}

void SharedStringTable::write(RecordWriter &records) const
{
    // EXTSST: every bucketSize-th string's position, so that a reader can seek.
    const int bucketSize = std::max<int>(8, int(m_strings.size() / 128 + 1));
    struct Bucket
    {
        quint32 streamPos;
        quint16 offset;
    };
    std::vector<Bucket> buckets;
    {
        ContinuedRecord sst(records, Record::Sst);
        sst.data().u32(m_uses);
        sst.data().u32(quint32(m_strings.size()));
        for (qsizetype i = 0; i < m_strings.size(); ++i) {
            const QString &text = m_strings.at(i);
            const bool compressed = fitsInOneByte(text);
            if (sst.room() < 3 + (compressed ? 1 : 2))
                sst.continueRecord();
            if (i % bucketSize == 0)
                buckets.push_back({quint32(records.size()), quint16(sst.offsetInRecord())});
            sst.string(text, 3, [&text](ByteWriter &w, quint8 flags) {
                w.u16(quint16(text.size()));
                w.u8(flags);
            });
        }
    }
    records.begin(Record::ExtSst);
    records.data().u16(quint16(bucketSize));
    for (const Bucket &b : buckets) {
        records.data().u32(b.streamPos);
        records.data().u16(b.offset);
        records.data().u16(0);
    }
    records.end();
}

void writeUnicodeString(ByteWriter &w, const QString &text)
{
    const bool compressed = fitsInOneByte(text);
    w.u16(quint16(text.size()));
    w.u8(compressed ? 0 : HighByte);
    writeChars(w, text, compressed);
}

void writeShortString(ByteWriter &w, const QString &text)
{
    const bool compressed = fitsInOneByte(text);
    w.u8(quint8(text.size()));
    w.u8(compressed ? 0 : HighByte);
    writeChars(w, text, compressed);
}

void writeStringRecord(RecordWriter &records, const QString &text)
{
    ContinuedRecord record(records, Record::String);
    record.string(text, 3, [&text](ByteWriter &w, quint8 flags) {
        w.u16(quint16(text.size()));
        w.u8(flags);
    });
}

namespace {

QString readChars(ByteReader &r, int count, quint8 flags)
{
    QString text(count, Qt::Uninitialized);
    const bool wide = flags & HighByte;
    r.need(qsizetype(count) * (wide ? 2 : 1));
    for (int i = 0; i < count; ++i)
        text[i] = QChar(wide ? r.u16() : r.u8());
    return text;
}

// Reads strings across the chunks of a continued record.
class ContinuedReader
{
public:
    ContinuedReader(const RecordChunks &chunks, const QString &what)
        : m_chunks(chunks)
        , m_what(what)
    {}

    bool atEnd()
    {
        while (m_chunk < m_chunks.size() && m_pos >= m_chunks[m_chunk].size())
            nextChunk();
        return m_chunk >= m_chunks.size();
    }
    qsizetype remainingBytes() const
    {
        qsizetype total = 0;
        for (size_t i = m_chunk; i < m_chunks.size(); ++i)
            total += m_chunks[i].size();
        return total - m_pos;
    }

    // Header fields: when a chunk ends, the next one continues with no flags byte.
    quint8 u8()
    {
        if (atEnd())
            overrun();
        return quint8(m_chunks[m_chunk][m_pos++]);
    }
    quint16 u16() { return quint16(u8() | u8() << 8); }
    quint32 u32() { return quint32(u16()) | quint32(u16()) << 16; }
    void skip(quint64 count)
    {
        while (count > 0) {
            if (atEnd())
                overrun();
            const quint64 here = std::min<quint64>(count, m_chunks[m_chunk].size() - m_pos);
            m_pos += qsizetype(here);
            count -= here;
        }
    }

    // Characters: a chunk that ends inside them is followed by one giving the
    // encoding of the rest in its first byte.
    QString chars(int count, quint8 flags)
    {
        QString text;
        text.reserve(std::min<qsizetype>(count, remainingBytes()));
        while (text.size() < count) {
            if (m_chunk < m_chunks.size() && m_pos >= m_chunks[m_chunk].size()) {
                nextChunk();
                if (m_chunk >= m_chunks.size() || m_chunks[m_chunk].isEmpty())
                    overrun();
                flags = quint8(m_chunks[m_chunk][0]);
                m_pos = 1;
            }
            if (m_chunk >= m_chunks.size())
                overrun();
            const QByteArrayView chunk = m_chunks[m_chunk];
            ByteReader r(chunk.data() + m_pos, chunk.size() - m_pos, m_what);
            const int charSize = flags & HighByte ? 2 : 1;
            const int here =
                int(std::min<qsizetype>(count - text.size(), r.remaining() / charSize));
            if (here == 0 && r.remaining() > 0)
                overrun(); // half a UTF-16 character at the end of a chunk
            text += readChars(r, here, flags);
            m_pos += r.pos();
        }
        return text;
    }

    [[noreturn]] void overrun() const
    {
        refuse(u"%1 的数据不完整（超出了记录的末尾）。"_s.arg(m_what));
    }

private:
    void nextChunk()
    {
        ++m_chunk;
        m_pos = 0;
    }

    const RecordChunks &m_chunks;
    QString m_what;
    size_t m_chunk = 0;
    qsizetype m_pos = 0;
};

QString readRichString(ContinuedReader &r)
{
    const quint16 count = r.u16();
    const quint8 flags = r.u8();
    const quint16 runs = flags & HasRichText ? r.u16() : 0;
    const quint32 phonetic = flags & HasPhonetic ? r.u32() : 0;
    QString text = r.chars(count, flags);
    r.skip(quint64(runs) * 4);
    r.skip(phonetic);
    return text;
}

} // namespace

QString readUnicodeString(ByteReader &r)
{
    const quint16 count = r.u16();
    return readChars(r, count, r.u8());
}

QString readShortString(ByteReader &r)
{
    const quint8 count = r.u8();
    return readChars(r, count, r.u8());
}

QStringList readSharedStrings(const RecordChunks &chunks)
{
    ContinuedReader r(chunks, u"共享字符串表 (SST)"_s);
    r.u32(); // uses
    const quint32 unique = r.u32();
    QStringList strings;
    // The declared count is not trusted: each string takes at least three bytes.
    strings.reserve(std::min<qsizetype>(unique, r.remainingBytes() / 3));
    for (quint32 i = 0; i < unique; ++i) {
        if (r.atEnd())
            refuse(u"共享字符串表 (SST) 声明了 %1 个字符串，却只有 %2 个。"_s.arg(unique).arg(i));
        strings.append(readRichString(r));
    }
    return strings;
}

QString readStringRecord(const RecordChunks &chunks)
{
    ContinuedReader r(chunks, u"公式结果字符串 (STRING)"_s);
    const quint16 count = r.u16();
    const quint8 flags = r.u8();
    return r.chars(count, flags);
}

} // namespace Rt::Xls
