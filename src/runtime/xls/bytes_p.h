#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>

// Little-endian reading and writing for the binary structures of the format. The
// reader checks every read against the bytes it was given, so damaged lengths
// and offsets end in a refusal, never in a read past the buffer.
namespace Rt::Xls {

// Refuses the file with a reason the user can read.
[[noreturn]] void refuse(const QString &reason);

class ByteWriter
{
public:
    explicit ByteWriter(QByteArray &out)
        : m_out(out)
    {}

    qsizetype size() const { return m_out.size(); }
    void u8(quint8 v) { m_out.append(char(v)); }
    void u16(quint16 v)
    {
        const char b[2] = {char(v), char(v >> 8)};
        m_out.append(b, 2);
    }
    void u32(quint32 v)
    {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        m_out.append(b, 4);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, 8);
        u32(quint32(bits));
        u32(quint32(bits >> 32));
    }
    void bytes(const char *data, qsizetype size) { m_out.append(data, size); }
    void zeros(qsizetype count) { m_out.append(count, '\0'); }
    void patchU16(qsizetype at, quint16 v)
    {
        m_out[at] = char(v);
        m_out[at + 1] = char(v >> 8);
    }
    void patchU32(qsizetype at, quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            m_out[at + i] = char(v >> (8 * i));
    }

private:
    QByteArray &m_out;
};

inline void putU16(char *p, quint16 v)
{
    p[0] = char(v);
    p[1] = char(v >> 8);
}

inline void putU32(char *p, quint32 v)
{
    putU16(p, quint16(v));
    putU16(p + 2, quint16(v >> 16));
}

inline void putF64(char *p, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    putU32(p, quint32(bits));
    putU32(p + 4, quint32(bits >> 32));
}

inline quint16 readU16(const char *p)
{
    return quint16(quint8(p[0]) | quint8(p[1]) << 8);
}

inline quint32 readU32(const char *p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16
           | quint32(quint8(p[3])) << 24;
}

inline double readF64(const char *p)
{
    const quint64 bits = quint64(readU32(p)) | quint64(readU32(p + 4)) << 32;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

// Reads one structure; what names it in the refusal ("记录 LABELSST").
class ByteReader
{
public:
    ByteReader(const char *data, qsizetype size, const QString &what)
        : m_data(data)
        , m_size(size)
        , m_what(what)
    {}

    qsizetype pos() const { return m_pos; }
    qsizetype remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos >= m_size; }
    const char *current() const { return m_data + m_pos; }

    void need(qsizetype count) const
    {
        if (count < 0 || count > remaining())
            overrun();
    }
    quint8 u8()
    {
        need(1);
        return quint8(m_data[m_pos++]);
    }
    quint16 u16()
    {
        need(2);
        const quint16 v = readU16(m_data + m_pos);
        m_pos += 2;
        return v;
    }
    quint32 u32()
    {
        need(4);
        const quint32 v = readU32(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    double f64()
    {
        need(8);
        const double v = readF64(m_data + m_pos);
        m_pos += 8;
        return v;
    }
    const char *take(qsizetype count)
    {
        need(count);
        const char *p = m_data + m_pos;
        m_pos += count;
        return p;
    }
    void skip(qsizetype count) { take(count); }

    [[noreturn]] void overrun() const;

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    QString m_what;
};

} // namespace Rt::Xls
