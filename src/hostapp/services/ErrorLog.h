#pragma once

#include <QObject>
#include <QStringList>

// The host's error log: a text file in the user's data folder, one time-stamped
// line per entry, and the latest entries kept in memory for the log panel. The
// panel shows what the operator reads; technical detail goes to the file only.
class ErrorLog : public QObject
{
    Q_OBJECT
public:
    explicit ErrorLog(QString filePath, QObject *parent = nullptr);

    // Where the log lives unless told otherwise.
    static QString defaultPath();

    QString filePath() const { return m_filePath; }
    // Appends an entry for the file and the panel; a log that cannot be written
    // still keeps it in memory.
    void append(const QString &text);
    // Appends technical detail to the file only, marked as such.
    void appendDetail(const QString &detail);
    QStringList latest() const { return m_latest; }

Q_SIGNALS:
    void appended(const QString &line);

private:
    QString writeLine(const QString &text);

    QString m_filePath;
    QStringList m_latest;
};
