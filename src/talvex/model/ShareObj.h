#pragma once

#include "ModelGlobal.h"

#include <QHash>
#include <QList>
#include <QString>

class QObject;

// An ordered list of (key, object) entries with a hash index over the keys. The
// list owns its objects: each is freed exactly once, when its entry is deleted,
// when the list is cleared or when the list is destroyed. Keys are compared
// exactly; a list built from query rows is keyed by each object's ID.
class MODEL_EXPORT TObjectHashedList
{
public:
    TObjectHashedList() = default;
    ~TObjectHashedList();
    TObjectHashedList(const TObjectHashedList &) = delete;
    TObjectHashedList &operator=(const TObjectHashedList &) = delete;

    int count() const { return int(m_entries.size()); }
    // Appends an entry and takes ownership of object; returns its position.
    int addObject(const QString &key, QObject *object);
    QString key(int index) const { return m_entries.at(index).key; }
    // Position of the first entry with exactly that key; -1 when none.
    int indexOf(const QString &key) const;
    // Removes entry index without freeing its object, which the caller then owns.
    QObject *takeAt(int index);

    // The object of the entry whose key equals Key without surrounding blanks.
    QObject *FindObject(const QString &key) const;
    // The object of entry index; none outside 0 .. count - 1.
    QObject *GetObjectAt(int index) const;
    // Frees the object of entry index and removes the entry; nothing outside the range.
    void DeleteAt(int index);
    // Frees every object, last entry first, and empties the list.
    void Clear();

    template <typename T>
    T *objectAt(int index) const
    {
        return static_cast<T *>(GetObjectAt(index));
    }

private:
    struct Entry
    {
        QString key;
        QObject *object;
    };
    void reindexFrom(int index);

    QList<Entry> m_entries;
    QHash<QString, int> m_index;
};
