#include "HostServices.h"
#include "PrintPreview.h"

#include "runtime/form.h"

using namespace Qt::StringLiterals;

namespace {

// The caption of the plug-in form that holds the component, as the report's title.
QString titleFor(QObject *component, const QString &fallback)
{
    for (QObject *o = component; o; o = o->parent()) {
        if (auto *form = qobject_cast<TForm *>(o); form && !form->windowTitle().isEmpty())
            return form->windowTitle();
    }
    return fallback;
}

} // namespace

PrinterService::PrinterService(HostSession &session)
    : m_session(session)
{}

void PrinterService::PreviewControl(QObject *component, int, const QString &unitCode,
                                    const QString &)
{
    preview(component, unitCode, false);
}

void PrinterService::PreviewControl2(QObject *component, int, const QString &unitCode,
                                     const QString &)
{
    preview(component, unitCode, true);
}

// With a screen the user gets a real print preview; without one, or when told to,
// the pages go to a PDF file instead.
void PrinterService::preview(QObject *component, const QString &unitCode, bool landscape)
{
    const QString title = titleFor(component, unitCode);
    previewTables(m_session, printTablesOf(component, title), title, landscape);
}
