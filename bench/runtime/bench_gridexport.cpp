// A grid of many records to .xls through the grid's own export: the time, and the
// export's own peak memory above what the process held with the grid filled.
// Run it against an older build of the runtime library (LD_LIBRARY_PATH) for a
// before and after.
//
//   QT_QPA_PLATFORM=offscreen bench_gridexport [RECORDS [FILE]]   (default 1,000,000)
//
// FILE keeps the export, e.g. to compare the files of two builds byte for byte.
#include "BenchTiming.h"

#include "runtime/dataset.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/spreadsheet/excelexport.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A figure of /proc/self/status, in KiB.
qint64 statusKb(QByteArrayView key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts the peak resident size afresh from the present one.
bool resetPeak()
{
    QFile refs(u"/proc/self/clear_refs"_s);
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// Exchange-like records: a code each, four names, a work flag, minutes and days.
void fill(TDataSet &set, int records)
{
    const int code = set.addField(u"EmployeeCode"_s, TFieldType::String);
    const int name = set.addField(u"EmployeeName"_s, TFieldType::String);
    const int flag = set.addField(u"WorkFlag"_s, TFieldType::Integer);
    const int minutes = set.addField(u"WorkTime"_s, TFieldType::Integer);
    const int date = set.addField(u"ExchgDate"_s, TFieldType::DateTime);
    set.reserve(records);
    const QStringList names{u"张三"_s, u"李四"_s, u"王五"_s, u"欧阳 雪"_s};
    for (int i = 0; i < records; ++i) {
        const int r = set.appendRecord();
        set.setString(r, code, QString::number(100000 + i % 20000));
        set.setString(r, name, names.at(i % names.size()));
        set.setInteger(r, flag, i % 3 == 0 ? 0 : 1);
        set.setInteger(r, minutes, 240 + i % 300);
        set.setDateTime(r, date, 46000 + i % 365 + (i % 4) / 8.0);
    }
    set.finishLoading();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int records = app.arguments().value(1, u"1000000"_s).toInt();
    TDataSet set;
    fill(set, records);
    TDataSource source;
    source.setDataSet(&set);

    TcxGrid grid;
    auto *view = new TcxGridDBTableView(&grid);
    grid.addLevel()->setGridView(view);
    view->setFooterVisible(true);
    TcxImageComboBoxItems flags;
    flags.add(u"0"_s, u"休息"_s);
    flags.add(u"1"_s, u"上班"_s);
    for (const QString &field :
         {u"ExchgDate"_s, u"EmployeeCode"_s, u"EmployeeName"_s, u"WorkFlag"_s, u"WorkTime"_s}) {
        TcxGridColumn *column = view->createColumn();
        column->setFieldName(field);
        column->setCaption(field);
        if (field == u"WorkFlag"_s)
            column->setValueList(flags);
        if (field == u"ExchgDate"_s)
            view->addFooterSummary(column, Rt::SummaryKind::Count, u"0 条记录"_s);
        if (field == u"WorkTime"_s)
            view->addFooterSummary(column, Rt::SummaryKind::Sum, u"合计：0"_s);
    }
    view->dataController()->setDataSource(&source);

    QTemporaryDir dir;
    const QString file = app.arguments().value(2, dir.filePath(u"export.xls"_s));
    const qint64 filledKb = statusKb("VmRSS:");
    const bool peakReset = resetPeak();
    Bench::Timing timing;
    timing.measure([&] { ExportGrid4ToExcel(file, &grid, true, true, true, {}, {}, false); });
    const qint64 peakKb = statusKb("VmHWM:");

    Bench::print(u"records: %1, file: %2 MB"_s.arg(records).arg(
        double(QFileInfo(file).size()) / 1e6, 0, 'f', 1));
    Bench::print(u"export: %1 ms elapsed, %2 ms processor"_s.arg(timing.medianElapsed(), 0, 'f', 0)
                     .arg(timing.medianCpu(), 0, 'f', 0));
    Bench::print(u"memory with the grid filled: %1 MiB"_s.arg(filledKb / 1024));
    if (peakReset) {
        Bench::print(u"export's own peak above it: %1 MiB"_s.arg((peakKb - filledKb) / 1024));
    } else {
        Bench::print(
            u"peak of the whole run: %1 MiB (the peak could not be reset)"_s.arg(peakKb / 1024));
    }
    return 0;
}
