#include "compoundfile.h"

#include "bytes_p.h"

#include <QIODevice>

#include <vector>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

// Special sector numbers of the FAT.
constexpr quint32 MaxRegularSector = 0xFFFFFFFA;
constexpr quint32 DifatSector = 0xFFFFFFFC;
constexpr quint32 FatSector = 0xFFFFFFFD;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr quint32 NoStream = 0xFFFFFFFF;

constexpr char Signature[8] = {char(0xD0), char(0xCF), 0x11, char(0xE0),
                               char(0xA1), char(0xB1), 0x1A, char(0xE1)};
constexpr int SectorSize = 512;
constexpr int EntriesPerFatSector = SectorSize / 4;
constexpr int HeaderDifatSlots = 109;
constexpr int MiniSectorSize = 64;
constexpr quint32 MiniStreamCutoff = 4096;
constexpr int DirectoryEntrySize = 128;

enum EntryType : quint8 { Unused = 0, Storage = 1, Stream = 2, RootStorage = 5 };

void writeDirectoryEntry(ByteWriter &w, const QString &name, EntryType type, quint32 child,
                         quint32 start, quint32 size)
{
    const qsizetype begin = w.size();
    for (QChar c : name)
        w.u16(c.unicode());
    w.zeros(64 - name.size() * 2);
    w.u16(name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
    w.u8(type);
    w.u8(type == Unused ? 0 : 1); // black: one entry per tree needs no balancing
    w.u32(NoStream);              // left sibling
    w.u32(NoStream);              // right sibling
    w.u32(child);
    w.zeros(16 + 4 + 8 + 8); // class id, state bits, creation and modification time
    w.u32(start);
    w.u32(size);
    w.u32(0); // high half of the size, unused in version 3
    Q_ASSERT(w.size() - begin == DirectoryEntrySize);
}

} // namespace

bool writeCompoundFile(QIODevice &device, const QByteArrayList &workbook)
{
    qsizetype length = 0;
    for (const QByteArray &part : workbook)
        length += part.size();
    // Readers look streams under the cutoff up in the mini stream; padding with
    // zeros after the final EOF record keeps the stream in regular sectors.
    const quint32 streamSize = quint32(std::max<qsizetype>(length, MiniStreamCutoff));
    const quint32 streamSectors = (streamSize + SectorSize - 1) / SectorSize;
    const quint32 directorySectors = 1;

    // The FAT maps its own sectors and those of the DIFAT: iterate to a fixed point.
    quint32 fatSectors = 0;
    quint32 difatSectors = 0;
    for (;;) {
        const quint32 total = streamSectors + directorySectors + fatSectors + difatSectors;
        const quint32 needFat = (total + EntriesPerFatSector - 1) / EntriesPerFatSector;
        const quint32 needDifat = needFat <= HeaderDifatSlots
                                      ? 0
                                      : (needFat - HeaderDifatSlots + EntriesPerFatSector - 2)
                                            / (EntriesPerFatSector - 1);
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 directoryStart = streamSectors;
    const quint32 fatStart = directoryStart + directorySectors;
    const quint32 difatStart = fatStart + fatSectors;

    QByteArray header;
    header.reserve(SectorSize);
    ByteWriter h(header);
    h.bytes(Signature, 8);
    h.zeros(16);   // class id
    h.u16(0x003E); // minor version
    h.u16(0x0003); // major version 3: 512-byte sectors
    h.u16(0xFFFE); // little-endian
    h.u16(9);      // sector shift
    h.u16(6);      // mini sector shift
    h.zeros(6);
    h.u32(0); // directory sectors: not counted in version 3
    h.u32(fatSectors);
    h.u32(directoryStart);
    h.u32(0); // transaction signature
    h.u32(MiniStreamCutoff);
    h.u32(EndOfChain); // no mini FAT
    h.u32(0);
    h.u32(difatSectors ? difatStart : EndOfChain);
    h.u32(difatSectors);
    for (int i = 0; i < HeaderDifatSlots; ++i)
        h.u32(quint32(i) < fatSectors ? fatStart + quint32(i) : FreeSector);

    QByteArray tables;
    tables.reserve(qsizetype(directorySectors + fatSectors + difatSectors) * SectorSize);
    ByteWriter t(tables);
    writeDirectoryEntry(t, u"Root Entry"_s, RootStorage, 1, EndOfChain, 0);
    writeDirectoryEntry(t, u"Workbook"_s, Stream, NoStream, 0, streamSize);
    for (int i = 2; i < SectorSize / DirectoryEntrySize; ++i)
        writeDirectoryEntry(t, QString(), Unused, NoStream, 0, 0);

    for (quint32 s = 0; s < fatSectors * EntriesPerFatSector; ++s) {
        if (s + 1 < streamSectors)
            t.u32(s + 1);
        else if (s + 1 == streamSectors || s == directoryStart)
            t.u32(EndOfChain);
        else if (s >= fatStart && s < difatStart)
            t.u32(FatSector);
        else if (s >= difatStart && s < difatStart + difatSectors)
            t.u32(DifatSector);
        else
            t.u32(FreeSector);
    }
    // DIFAT sectors list the FAT sectors the header has no slot for, 127 each,
    // the last entry linking to the next DIFAT sector.
    quint32 listed = HeaderDifatSlots;
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (int i = 0; i < EntriesPerFatSector - 1; ++i, ++listed)
            t.u32(listed < fatSectors ? fatStart + listed : FreeSector);
        t.u32(d + 1 < difatSectors ? difatStart + d + 1 : EndOfChain);
    }

    const qsizetype padding = qsizetype(streamSectors) * SectorSize - length;
    bool written = device.write(header) == header.size();
    for (const QByteArray &part : workbook)
        written = written && device.write(part) == part.size();
    return written && device.write(QByteArray(padding, '\0')) == padding
           && device.write(tables) == tables.size();
}

namespace {

struct DirectoryEntry
{
    QString name;
    quint8 type = Unused;
    quint32 start = EndOfChain;
    quint64 size = 0;
};

// A compound file being read: its header and FAT, with every sector number it
// follows checked against the file.
class CompoundReader
{
public:
    explicit CompoundReader(const QByteArray &file);

    QByteArray workbookStream();

private:
    const char *sector(quint32 id) const;
    std::vector<quint32> chain(quint32 start, const std::vector<quint32> &table, quint32 limit,
                               const QString &what) const;
    QByteArray readChain(quint32 start, quint64 size, const QString &what) const;
    void readFat();
    void readDirectory();
    QByteArray readMiniStream(const DirectoryEntry &entry) const;

    const QByteArray &m_file;
    quint32 m_sectorSize = SectorSize;
    quint32 m_sectorCount = 0;
    quint16 m_major = 3;
    quint32 m_fatCount = 0;
    quint32 m_directoryStart = 0;
    quint32 m_cutoff = MiniStreamCutoff;
    quint32 m_miniFatStart = EndOfChain;
    quint32 m_miniFatCount = 0;
    quint32 m_difatStart = EndOfChain;
    quint32 m_difatCount = 0;
    std::vector<quint32> m_fat;
    std::vector<DirectoryEntry> m_entries;
};

CompoundReader::CompoundReader(const QByteArray &file)
    : m_file(file)
{
    if (file.size() < SectorSize || std::memcmp(file.constData(), Signature, 8) != 0)
        refuse(u"这不是 Excel 97-2003 工作簿（.xls）文件。"_s);
    ByteReader h(file.constData(), SectorSize, u"文件头"_s);
    h.skip(0x18);
    h.u16(); // minor version
    m_major = h.u16();
    const quint16 byteOrder = h.u16();
    const quint16 sectorShift = h.u16();
    const quint16 miniShift = h.u16();
    if (byteOrder != 0xFFFE)
        refuse(u"文件头的字节顺序标记无效。"_s);
    if (!((m_major == 3 && sectorShift == 9) || (m_major == 4 && sectorShift == 12))
        || miniShift != 6) {
        refuse(u"不支持的复合文档版本（版本 %1，扇区位移 %2）。"_s.arg(m_major).arg(sectorShift));
    }
    m_sectorSize = 1u << sectorShift;
    if (quint64(file.size()) < m_sectorSize)
        refuse(u"文件被截断了（不足一个扇区）。"_s);
    m_sectorCount =
        quint32((quint64(file.size()) - m_sectorSize + m_sectorSize - 1) / m_sectorSize);
    h.skip(6 + 4);
    m_fatCount = h.u32();
    m_directoryStart = h.u32();
    h.u32();
    m_cutoff = h.u32();
    m_miniFatStart = h.u32();
    m_miniFatCount = h.u32();
    m_difatStart = h.u32();
    m_difatCount = h.u32();
    if (m_cutoff != MiniStreamCutoff)
        refuse(u"文件头的小流界限 %1 无效。"_s.arg(m_cutoff));
    readFat();
    readDirectory();
}

// The bytes of a sector; the last sector of a file may be short and reads as
// zero-filled, everything past the file end is refused by the callers' range checks.
const char *CompoundReader::sector(quint32 id) const
{
    const quint64 offset = (quint64(id) + 1) * m_sectorSize;
    if (id >= m_sectorCount || offset + m_sectorSize > quint64(m_file.size()))
        refuse(u"扇区 %1 在文件末尾之外，文件被截断或已损坏。"_s.arg(id));
    return m_file.constData() + offset;
}

void CompoundReader::readFat()
{
    if (m_fatCount == 0 || m_fatCount > m_sectorCount)
        refuse(u"文件头中的 FAT 扇区数 %1 无效。"_s.arg(m_fatCount));
    if (m_difatCount > m_sectorCount)
        refuse(u"文件头中的 DIFAT 扇区数 %1 无效。"_s.arg(m_difatCount));

    std::vector<quint32> fatSectors;
    fatSectors.reserve(m_fatCount);
    const char *slots = m_file.constData() + 0x4C;
    for (int i = 0; i < HeaderDifatSlots && fatSectors.size() < m_fatCount; ++i)
        fatSectors.push_back(readU32(slots + 4 * i));
    // The DIFAT chain: each sector holds FAT sector numbers and the next link.
    std::vector<bool> seen(m_sectorCount, false);
    quint32 next = m_difatStart;
    const quint32 perSector = m_sectorSize / 4 - 1;
    for (quint32 d = 0; fatSectors.size() < m_fatCount; ++d) {
        if (d >= m_difatCount || next >= m_sectorCount || seen[next])
            refuse(u"DIFAT 链损坏（在第 %1 个 DIFAT 扇区处）。"_s.arg(d + 1));
        seen[next] = true;
        const char *p = sector(next);
        for (quint32 i = 0; i < perSector && fatSectors.size() < m_fatCount; ++i)
            fatSectors.push_back(readU32(p + 4 * i));
        next = readU32(p + 4 * perSector);
    }
    m_fat.reserve(size_t(m_fatCount) * (m_sectorSize / 4));
    for (quint32 id : fatSectors) {
        if (id >= m_sectorCount)
            refuse(u"FAT 扇区号 %1 超出了文件的范围，文件被截断或已损坏。"_s.arg(id));
        const char *p = sector(id);
        for (quint32 i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(readU32(p + 4 * i));
    }
}

// Follows a chain through table, refusing links out of range, special values
// inside the chain and cycles; limit is the number of entries that can exist.
std::vector<quint32> CompoundReader::chain(quint32 start, const std::vector<quint32> &table,
                                           quint32 limit, const QString &what) const
{
    std::vector<quint32> ids;
    std::vector<bool> seen(limit, false);
    for (quint32 id = start; id != EndOfChain; id = table[id]) {
        if (id > MaxRegularSector || id >= limit || id >= table.size())
            refuse(u"%1 的扇区链含有无效的扇区号 %2。"_s.arg(what).arg(qint64(id)));
        if (seen[id])
            refuse(u"%1 的扇区链在扇区 %2 处成环。"_s.arg(what).arg(id));
        seen[id] = true;
        ids.push_back(id);
    }
    return ids;
}

QByteArray CompoundReader::readChain(quint32 start, quint64 size, const QString &what) const
{
    const std::vector<quint32> ids = chain(start, m_fat, m_sectorCount, what);
    if (size > quint64(ids.size()) * m_sectorSize)
        refuse(u"%1 的长度 %2 超出了它的扇区链，文件被截断或已损坏。"_s.arg(what).arg(size));
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    for (quint32 id : ids) {
        if (quint64(bytes.size()) >= size)
            break;
        const quint64 part = std::min<quint64>(m_sectorSize, size - quint64(bytes.size()));
        bytes.append(sector(id), qsizetype(part));
    }
    return bytes;
}

void CompoundReader::readDirectory()
{
    const std::vector<quint32> ids = chain(m_directoryStart, m_fat, m_sectorCount, u"目录"_s);
    const quint32 perSector = m_sectorSize / DirectoryEntrySize;
    for (quint32 id : ids) {
        const char *p = sector(id);
        for (quint32 i = 0; i < perSector; ++i) {
            const char *e = p + i * DirectoryEntrySize;
            DirectoryEntry entry;
            entry.type = quint8(e[0x42]);
            const quint16 nameBytes = readU16(e + 0x40);
            if (entry.type != Unused) {
                if (nameBytes % 2 != 0 || nameBytes > 64)
                    refuse(u"目录项 %1 的名称长度无效。"_s.arg(m_entries.size()));
                for (int c = 0; c + 1 < nameBytes / 2; ++c)
                    entry.name.append(QChar(readU16(e + 2 * c)));
            }
            entry.start = readU32(e + 0x74);
            entry.size = readU32(e + 0x78);
            // Version 3 files may hold garbage in the size's high half.
            if (m_major == 4)
                entry.size |= quint64(readU32(e + 0x7C)) << 32;
            m_entries.push_back(entry);
        }
    }
    if (m_entries.empty() || m_entries.front().type != RootStorage)
        refuse(u"复合文档的根目录项缺失。"_s);
}

QByteArray CompoundReader::readMiniStream(const DirectoryEntry &entry) const
{
    const DirectoryEntry &root = m_entries.front();
    if (root.size > quint64(m_file.size()))
        refuse(u"小流的长度超出了文件。"_s);
    const QByteArray ministream = readChain(root.start, root.size, u"小流"_s);
    if (m_miniFatCount > m_sectorCount)
        refuse(u"文件头中的小 FAT 扇区数无效。"_s);
    const QByteArray miniFatBytes =
        readChain(m_miniFatStart, quint64(m_miniFatCount) * m_sectorSize, u"小 FAT"_s);
    std::vector<quint32> miniFat(size_t(miniFatBytes.size() / 4));
    for (size_t i = 0; i < miniFat.size(); ++i)
        miniFat[i] = readU32(miniFatBytes.constData() + 4 * i);
    const quint32 miniSectors = quint32(ministream.size() / MiniSectorSize);
    const std::vector<quint32> ids =
        chain(entry.start, miniFat, miniSectors, u"工作簿流（小流）"_s);
    if (entry.size > quint64(ids.size()) * MiniSectorSize)
        refuse(u"工作簿流的长度超出了它的小扇区链。"_s);
    QByteArray bytes;
    bytes.reserve(qsizetype(entry.size));
    for (quint32 id : ids) {
        const qsizetype part =
            qsizetype(std::min<quint64>(MiniSectorSize, entry.size - bytes.size()));
        bytes.append(ministream.constData() + qsizetype(id) * MiniSectorSize, part);
        if (quint64(bytes.size()) >= entry.size)
            break;
    }
    return bytes;
}

QByteArray CompoundReader::workbookStream()
{
    const DirectoryEntry *workbook = nullptr;
    bool oldBook = false;
    for (size_t i = 1; i < m_entries.size(); ++i) {
        const DirectoryEntry &e = m_entries[i];
        if (e.type != Stream)
            continue;
        if (e.name.compare(u"Workbook"_s, Qt::CaseInsensitive) == 0)
            workbook = &e;
        else if (e.name.compare(u"Book"_s, Qt::CaseInsensitive) == 0)
            oldBook = true;
    }
    if (!workbook) {
        if (oldBook)
            refuse(u"这是 Excel 5.0/95 的旧格式工作簿，不受支持，请另存为 Excel 97-2003 格式。"_s);
        refuse(u"文件中没有 Excel 97-2003 工作簿。"_s);
    }
    if (workbook->size > quint64(m_file.size()))
        refuse(u"工作簿流的长度 %1 超出了文件的大小。"_s.arg(workbook->size));
    if (workbook->size < m_cutoff)
        return readMiniStream(*workbook);
    return readChain(workbook->start, workbook->size, u"工作簿流"_s);
}

} // namespace

QByteArray readWorkbookStream(const QByteArray &file)
{
    return CompoundReader(file).workbookStream();
}

} // namespace Rt::Xls
