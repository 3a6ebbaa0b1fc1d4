#include "GridPrinter.h"
#include "HostServices.h"
#include "HostSession.h"

#include "runtime/form.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

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

bool hasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

} // namespace

PrinterService::PrinterService(HostSession &session)
    : m_session(session)
{
}

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
    const QList<PrintTable> tables = printTablesOf(component, title);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(title);

    QString pdf = m_session.printToFile();
    if (pdf.isEmpty() && !hasScreen())
        pdf = QDir::temp().filePath(u"talvex-preview.pdf"_s);
    if (!pdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printTables(tables, printer);
        Q_EMIT m_session.notice(u"打印预览已保存为 %1"_s.arg(pdf));
        return;
    }
    QPrintPreviewDialog dialog(&printer, m_session.window());
    dialog.setWindowTitle(u"打印预览"_s);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&tables](QPrinter *target) { printTables(tables, *target); });
    dialog.exec();
}
