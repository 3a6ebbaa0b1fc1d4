#pragma once

#include <QProcess>
#include <QStringList>

// The rows of an .xls file as xlrd, a reader we did not write, reads them: each
// row's cells joined by tabs. A failed read is one line that says so, which no
// expected row matches. The test target defines TALVEX_READ_XLS as the script.
inline QStringList readXls(const QString &file)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TALVEX_READ_XLS), file});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {QStringLiteral("xlrd failed: ") + QString::fromUtf8(python.readAllStandardError())};
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}
