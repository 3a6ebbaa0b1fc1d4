#include "dialogs.h"
#include "application.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {
Rt::FileDialogResponder fileDialogResponder;
}

TFileDialog::TFileDialog(Kind kind, QObject *parent)
    : QObject(parent)
    , m_kind(kind)
{
}

bool TFileDialog::execute()
{
    if (fileDialogResponder)
        return fileDialogResponder(*this);
    QWidget *parent = Rt::application() ? Rt::application()->mainForm() : nullptr;
    QString chosen = m_kind == Kind::Save
        ? QFileDialog::getSaveFileName(parent, m_title, m_fileName, qtFilter())
        : QFileDialog::getOpenFileName(parent, m_title, m_fileName, qtFilter());
    if (chosen.isEmpty())
        return false;
    const QString ext = QString(m_defaultExt).remove(QLatin1Char('*')).remove(QLatin1Char('.'));
    if (m_kind == Kind::Save && !ext.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + ext;
    m_fileName = chosen;
    return true;
}

// "Excel(*.xls)|*.xls" becomes "Excel(*.xls) (*.xls)".
QString TFileDialog::qtFilter() const
{
    const QStringList parts = m_filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    return filters.join(QStringLiteral(";;"));
}

namespace Rt {
void setFileDialogResponder(FileDialogResponder responder)
{
    fileDialogResponder = std::move(responder);
}
} // namespace Rt
