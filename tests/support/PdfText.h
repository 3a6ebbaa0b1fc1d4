#pragma once

#include <QProcess>
#include <QString>

#include <optional>

// The text of a PDF file as pdftotext lays it out, pages parted by form feeds;
// nothing when pdftotext could not be started or failed, so that a missing tool
// fails the test instead of reading as an empty page.
inline std::optional<QString> pdfText(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForStarted() || !pdftotext.waitForFinished(60000)
        || pdftotext.exitStatus() != QProcess::NormalExit || pdftotext.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}
