#include "BreachTable.h"

#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "runtime/xls/writer.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace BreachTable {

namespace {

constexpr int valueColumn = 5;
constexpr int dayColumn = 4;

QString dayText(const QDate &day)
{
    return Rt::DateTime::toDateText(Rt::DateTime::fromDate(day));
}

} // namespace

QStringList header()
{
    return {u"规则"_s, u"员工编号"_s, u"员工姓名"_s, u"部门"_s, u"日期"_s, u"值"_s, u"限度"_s};
}

QStringList cells(const BreachRow &breach)
{
    return {QString(Schedule::ruleId(breach.rule)),
            breach.employeeCode,
            breach.employeeName,
            breach.deptCode,
            dayText(breach.day),
            QString::number(breach.value),
            QString::number(breach.limit)};
}

QString csvLine(const QStringList &cells)
{
    QStringList quoted;
    for (QString cell : cells) {
        if (cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n')
            || cell.contains(u'\r')) {
            cell = u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
        }
        quoted.append(cell);
    }
    return quoted.join(u',');
}

void writeCsv(const QString &fileName, std::span<const BreachRow> breaches)
{
    QString text = csvLine(header()) + u"\r\n"_s;
    for (const BreachRow &breach : breaches)
        text += csvLine(cells(breach)) + u"\r\n"_s;
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.flush())
        throw Rt::Exception(u"不能写入 %1：%2"_s.arg(fileName, file.errorString()));
}

void writeXls(const QString &fileName, std::span<const BreachRow> breaches)
{
    using namespace Rt::Xls;
    if (qsizetype(breaches.size()) >= MaxRows)
        throw Rt::Exception(u"违规记录有 %1 条，超过一张 Excel 表的行数，请改存为 CSV 文件。"_s.arg(
            breaches.size()));
    Workbook book;
    Sheet &sheet = book.addSheet(u"违规"_s);
    const quint16 bold = quint16(book.styles().add({.bold = true}));
    const quint16 date = quint16(book.styles().add({.numberFormat = u"yyyy-mm-dd"_s}));
    const QStringList titles = header();
    for (int c = 0; c < titles.size(); ++c) {
        Cell &cell = sheet.cellAt(0, c);
        cell.value = Value::text(titles.at(c));
        cell.style = bold;
    }
    int row = 1;
    for (const BreachRow &breach : breaches) {
        const QStringList texts = cells(breach);
        for (int c = 0; c < dayColumn; ++c) {
            if (!texts.at(c).isEmpty())
                sheet.cellAt(row, c).value = Value::text(texts.at(c));
        }
        Cell &day = sheet.cellAt(row, dayColumn);
        day.value = Value::number(Rt::DateTime::fromDate(breach.day));
        day.style = date;
        sheet.cellAt(row, valueColumn).value = Value::number(breach.value);
        sheet.cellAt(row, valueColumn + 1).value = Value::number(breach.limit);
        ++row;
    }
    sheet.setColumnWidth(dayColumn, 12);
    writeWorkbook(book, fileName);
}

} // namespace BreachTable
