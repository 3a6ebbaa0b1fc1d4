#pragma once

#include "runtime/datetime.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <cstring>
#include <optional>

// What a loader keeps per column of a large result, whose values repeat.

namespace ColumnCaches {

// A slot of a small table for a value's bytes: FNV-1a over the first and last
// bytes, which tell codes, times and dates apart; the length covers the rest.
inline size_t slotOf(const char *data, qsizetype length, size_t slots)
{
    quint32 hash = 2166136261u ^ quint32(length);
    const qsizetype head = qMin<qsizetype>(length, 8);
    for (qsizetype i = 0; i < head; ++i)
        hash = (hash ^ quint8(data[i])) * 16777619u;
    for (qsizetype i = qMax<qsizetype>(head, length - 8); i < length; ++i)
        hash = (hash ^ quint8(data[i])) * 16777619u;
    return (hash ^ (hash >> 16)) % slots;
}

inline bool sameBytes(const QByteArray &bytes, const char *data, qsizetype length)
{
    return bytes.size() == length && std::memcmp(bytes.constData(), data, size_t(length)) == 0;
}

} // namespace ColumnCaches

// Remembers, for each distinct UTF-8 text of a result column, the first record
// that held it, so that later records share that record's characters instead of
// decoding and storing them again: list columns repeat few distinct values
// (codes, times, dates, names) over many rows. A column of free texts stops
// growing its table at a limit.
//
// A large list asks a million times; most answers come from a small table
// indexed by a cheap hash of the bytes, the rest from a hash table that holds
// every text seen.
class TextInterner
{
public:
    // The first record that held these bytes; record itself when they are new.
    int firstHolder(const char *data, qsizetype length, int record)
    {
        Recent &recent = m_recent[ColumnCaches::slotOf(data, length, recentSlots)];
        if (ColumnCaches::sameBytes(recent.bytes, data, length))
            return recent.record;
        const QByteArray key = QByteArray::fromRawData(data, length);
        auto found = m_records.constFind(key);
        if (found == m_records.cend()) {
            if (m_records.size() >= maxTexts)
                return record;
            found = m_records.insert(QByteArray(data, length), record);
        }
        recent = {found.key(), found.value()};
        return recent.record;
    }

private:
    // Enough for a column of codes, names or dates.
    static constexpr qsizetype maxTexts = 65536;
    static constexpr size_t recentSlots = 256;

    struct Recent
    {
        QByteArray bytes;
        int record = -1;
    };

    std::array<Recent, recentSlots> m_recent;
    QHash<QByteArray, int> m_records;
};

// Reads the date and date-time texts of a column, each distinct text once: a
// list's days repeat over its rows.
class DateReader
{
public:
    std::optional<double> read(const char *data, qsizetype length)
    {
        Recent &recent = m_recent[ColumnCaches::slotOf(data, length, recentSlots)];
        if (!ColumnCaches::sameBytes(recent.bytes, data, length))
            recent = {QByteArray(data, length),
                      Rt::DateTime::parse(std::string_view(data, size_t(length)))};
        return recent.value;
    }

private:
    static constexpr size_t recentSlots = 64;

    struct Recent
    {
        QByteArray bytes;
        std::optional<double> value;
    };

    std::array<Recent, recentSlots> m_recent;
};
