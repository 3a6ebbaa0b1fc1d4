#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Hands out one shared QString per distinct UTF-8 text of a result column, since
// list columns repeat few distinct values (codes, times, dates, names) over many
// rows. A column of free texts stops growing its table at a limit.
class TextInterner
{
public:
    QString text(const char *data, qsizetype length)
    {
        // Consecutive rows often repeat a value: an employee's code, a rest day's times.
        if (length == m_last.size() && std::equal(data, data + length, m_last.constData()))
            return m_lastText;
        const QByteArray key = QByteArray::fromRawData(data, length);
        auto found = m_texts.constFind(key);
        if (found == m_texts.cend()) {
            QString text = QString::fromUtf8(data, length);
            if (m_texts.size() >= maxTexts)
                return text;
            found = m_texts.insert(QByteArray(data, length), text);
        }
        m_last = found.key();
        m_lastText = found.value();
        return m_lastText;
    }

private:
    // Enough for a column of codes, names or dates.
    static constexpr qsizetype maxTexts = 65536;

    QHash<QByteArray, QString> m_texts;
    QByteArray m_last;
    QString m_lastText;
};
