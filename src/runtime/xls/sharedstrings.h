#pragma once

#include "records_p.h"

#include <QByteArrayView>
#include <QHash>
#include <QStringList>

#include <vector>

// Strings in BIFF8: the shared string table (SST) that text cells point into,
// and the plain string layouts of other records. Characters are stored one byte
// each (Latin-1) when every one fits, otherwise as UTF-16.
namespace Rt::Xls {

// The shared strings of a workbook being written, each stored once.
class SharedStringTable
{
public:
    // The index of text in the table, added when new; counts one more use.
    quint32 add(const QString &text);
    qsizetype uniqueCount() const { return m_strings.size(); }

    // Writes SST with its CONTINUE records and the EXTSST index; the records
    // written so far sit at the start of the stream.
    void write(RecordWriter &records) const;

private:
    QStringList m_strings;
    QHash<QString, quint32> m_lookup;
    quint32 m_uses = 0;
};

// A string with a u16 (unicode string) or u8 (short string) character count.
void writeUnicodeString(ByteWriter &w, const QString &text);
void writeShortString(ByteWriter &w, const QString &text);
QString readUnicodeString(ByteReader &r);
QString readShortString(ByteReader &r);

// Writes a STRING record (a formula's text result), continued when long.
void writeStringRecord(RecordWriter &records, const QString &text);

// The data of a record and of the CONTINUE records after it.
using RecordChunks = std::vector<QByteArrayView>;

// The strings of an SST record; refuses damaged data.
QStringList readSharedStrings(const RecordChunks &chunks);
// The text of a STRING record.
QString readStringRecord(const RecordChunks &chunks);

} // namespace Rt::Xls
