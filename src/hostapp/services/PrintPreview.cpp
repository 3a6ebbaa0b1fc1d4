#include "PrintPreview.h"

#include "HostSession.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

bool hasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen"_s && platform != u"minimal"_s;
}

} // namespace

void previewTables(HostSession &session, const QList<PrintTable> &tables, const QString &title,
                   bool landscape)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(title);

    QString pdf = session.printToFile();
    if (pdf.isEmpty() && !hasScreen())
        pdf = QDir::temp().filePath(u"talvex-preview.pdf"_s);
    if (!pdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printTables(tables, printer);
        Q_EMIT session.notice(u"打印预览已保存为 %1"_s.arg(pdf));
        return;
    }
    QPrintPreviewDialog dialog(&printer, session.window());
    dialog.setWindowTitle(u"打印预览"_s);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&tables](QPrinter *target) { printTables(tables, *target); });
    dialog.exec();
}
