#include "RosterFile.h"

#include "hostapp/schedule/CellText.h"
#include "hostapp/schedule/ScheduleRows.h"
#include "runtime/exceptions.h"
#include "runtime/xls/writer.h"

#include <QFile>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

// The rows of the roster as texts, cell by cell; one text per distinct day.
class RosterTexts
{
public:
    RosterTexts(const ScheduleRows &rows, const Schedule::Grid &grid)
        : m_rows(rows)
        , m_grid(grid)
    {}

    QStringList header() const
    {
        QStringList texts{u"员工编号"_s, u"员工姓名"_s, u"部门"_s};
        for (int d = 0; d < m_grid.dayCount(); ++d)
            texts << m_grid.range().first.addDays(d).toString(u"yyyy-MM-dd"_s);
        return texts;
    }

    QStringList row(int employee)
    {
        const ScheduleRows::Employee &e = m_rows.employees.at(employee);
        // 员工编号 is the employee code, as the register's list shows it.
        QStringList texts{e.code, e.name, e.deptCode};
        for (const Schedule::Cell &cell : m_grid.row(employee)) {
            const QString &text = m_table.text(m_table.indexOf(cell));
            texts << (cell.source == Schedule::Source::Exchange ? u'*' + text : text);
        }
        return texts;
    }

    int rowCount() const { return m_grid.employeeCount(); }

private:
    const ScheduleRows &m_rows;
    const Schedule::Grid &m_grid;
    CellText::Table m_table;
};

// A CSV field: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r')) {
        return text;
    }
    return u'"' + QString(text).replace(u'"', u"\"\""_s) + u'"';
}

void writeCsv(const QString &fileName, RosterTexts &texts)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Rt::Exception(u"不能写入 %1：%2"_s.arg(fileName, file.errorString()));
    const auto line = [](const QStringList &fields) {
        QString text;
        for (qsizetype f = 0; f < fields.size(); ++f) {
            if (f > 0)
                text += u',';
            text += csvField(fields.at(f));
        }
        text += u'\n';
        return text.toUtf8();
    };
    QByteArray out = line(texts.header());
    for (int r = 0; r < texts.rowCount(); ++r) {
        out += line(texts.row(r));
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    if (file.write(out) != out.size() || !file.flush())
        throw Rt::Exception(u"不能写入 %1：%2"_s.arg(fileName, file.errorString()));
}

// Each sheet repeats the header; the employees continue where the last stopped.
void writeWorkbook(const QString &fileName, RosterTexts &texts)
{
    constexpr int rowsPerSheet = 65536;
    Rt::Xls::Workbook workbook;
    const QStringList header = texts.header();
    Rt::Xls::Sheet *sheet = nullptr;
    int row = rowsPerSheet;
    const auto put = [&](const QStringList &cells) {
        for (int c = 0; c < cells.size(); ++c) {
            if (!cells.at(c).isEmpty())
                sheet->cellAt(row, c).value = Rt::Xls::Value::text(cells.at(c));
        }
        ++row;
    };
    for (int r = 0; r < texts.rowCount() || !sheet; ++r) {
        if (row == rowsPerSheet) {
            sheet = &workbook.addSheet(
                workbook.sheetCount() == 0 ? u"排班"_s : workbook.freeSheetName(u"排班"_s));
            sheet->setColumnWidth(1, 10);
            for (int d = 3; d < header.size(); ++d)
                sheet->setColumnWidth(d, 12);
            row = 0;
            put(header);
        }
        if (r < texts.rowCount())
            put(texts.row(r));
    }
    Rt::Xls::writeWorkbook(workbook, fileName);
}

} // namespace

namespace RosterFile {

bool isWorkbook(const QString &fileName)
{
    return fileName.endsWith(u".xls"_s, Qt::CaseInsensitive);
}

void write(const QString &fileName, const ScheduleRows &rows, const Schedule::Grid &grid)
{
    RosterTexts texts(rows, grid);
    if (isWorkbook(fileName))
        writeWorkbook(fileName, texts);
    else
        writeCsv(fileName, texts);
}

} // namespace RosterFile
