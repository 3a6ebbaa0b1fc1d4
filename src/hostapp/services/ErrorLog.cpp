#include "ErrorLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {
constexpr qsizetype keptEntries = 200;
}

ErrorLog::ErrorLog(QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
}

QString ErrorLog::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + u"/talvex-host.log"_s;
}

void ErrorLog::append(const QString &text)
{
    const QString line = writeLine(text);
    m_latest.append(line);
    if (m_latest.size() > keptEntries)
        m_latest.removeFirst();
    Q_EMIT appended(line);
}

void ErrorLog::appendDetail(const QString &detail)
{
    writeLine(u"[详情] "_s + detail);
}

// One entry per line, whatever line breaks the text carries.
QString ErrorLog::writeLine(const QString &text)
{
    QString flat = text;
    flat.replace(u"\r\n"_s, u" "_s).replace(u'\n', u' ').replace(u'\r', u' ');
    const QString line =
        QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s) + u"  "_s + flat;

    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QFile file(m_filePath);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((line + u'\n').toUtf8());
    return line;
}
