#include "ShareObj.h"

#include <QObject>

TObjectHashedList::~TObjectHashedList()
{
    Clear();
}

int TObjectHashedList::addObject(const QString &key, QObject *object)
{
    const int index = count();
    m_entries.append({key, object});
    if (!m_index.contains(key))
        m_index.insert(key, index);
    return index;
}

int TObjectHashedList::indexOf(const QString &key) const
{
    return m_index.value(key, -1);
}

QObject *TObjectHashedList::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QObject *object = m_entries.takeAt(index).object;
    reindexFrom(index);
    return object;
}

QObject *TObjectHashedList::FindObject(const QString &key) const
{
    return GetObjectAt(indexOf(key.trimmed()));
}

QObject *TObjectHashedList::GetObjectAt(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).object : nullptr;
}

void TObjectHashedList::DeleteAt(int index)
{
    delete takeAt(index);
}

void TObjectHashedList::Clear()
{
    // Last entry first; the index is rebuilt once at the end, not per entry.
    while (!m_entries.isEmpty())
        delete m_entries.takeLast().object;
    m_index.clear();
}

// Positions at and after index have moved: rebuild the index entries they hold.
void TObjectHashedList::reindexFrom(int index)
{
    for (auto it = m_index.begin(); it != m_index.end();) {
        if (it.value() >= index)
            it = m_index.erase(it);
        else
            ++it;
    }
    for (int i = index; i < count(); ++i) {
        const QString &key = m_entries.at(i).key;
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}
