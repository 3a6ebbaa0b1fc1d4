#include "XlsTestSupport.h"

#include "runtime/xls/formula.h"
#include "runtime/xls/writer.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <cstring>

using namespace Qt::StringLiterals;

namespace XlsTest {

namespace {

quint16 u16(const char *p)
{
    return quint16(quint8(p[0]) | quint8(p[1]) << 8);
}

quint32 u32(const char *p)
{
    return quint32(u16(p)) | quint32(u16(p + 2)) << 16;
}

double f64(const char *p)
{
    const quint64 bits = quint64(u32(p)) | quint64(u32(p + 4)) << 32;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

QString hex(const char *p, int n)
{
    return QString::fromLatin1(QByteArray(p, n).toHex(' ')).toUpper();
}

// A unicode or short string: count, flags, characters.
QString string(const char *p, int count, quint8 flags, int *bytes)
{
    QString s;
    const bool wide = flags & 1;
    for (int i = 0; i < count; ++i)
        s += QChar(wide ? u16(p + 2 * i) : quint8(p[i]));
    *bytes = count * (wide ? 2 : 1);
    return s;
}

// Row, column and XF index, which every cell record starts with.
QString cellFields(const char *d)
{
    return u"r=%1 c=%2 xf=%3"_s.arg(u16(d)).arg(u16(d + 2)).arg(u16(d + 4));
}

QString recordFields(quint16 id, const char *d, int len, QString *name)
{
    int n = 0;
    switch (id) {
    case 0x0809:
        *name = u"BOF"_s;
        return u"vers=%1 dt=%2"_s.arg(u16(d), 4, 16, QChar(u'0'))
            .arg(u16(d + 2), 2, 16, QChar(u'0'));
    case 0x000A:
        *name = u"EOF"_s;
        return {};
    case 0x0031:
        *name = u"FONT"_s;
        return u"height=%1 flags=%2 weight=%3 name=%4"_s.arg(u16(d))
            .arg(u16(d + 2))
            .arg(u16(d + 6))
            .arg(string(d + 16, quint8(d[14]), quint8(d[15]), &n));
    case 0x041E:
        *name = u"FORMAT"_s;
        return u"id=%1 \"%2\""_s.arg(u16(d)).arg(string(d + 5, u16(d + 2), quint8(d[4]), &n));
    case 0x00E0:
        *name = u"XF"_s;
        return u"font=%1 format=%2 prot=%3 align=%4 indent=%5 used=%6"_s.arg(u16(d))
            .arg(u16(d + 2))
            .arg(u16(d + 4), 4, 16, QChar(u'0'))
            .arg(quint8(d[6]), 2, 16, QChar(u'0'))
            .arg(quint8(d[8]))
            .arg(quint8(d[9]), 2, 16, QChar(u'0'));
    case 0x0085:
        *name = u"BOUNDSHEET"_s;
        return u"pos=%1 type=%2 name=%3"_s.arg(u32(d))
            .arg(quint8(d[5]))
            .arg(string(d + 8, quint8(d[6]), quint8(d[7]), &n));
    case 0x00FC:
        *name = u"SST"_s;
        return u"total=%1 unique=%2"_s.arg(u32(d)).arg(u32(d + 4));
    case 0x003C:
        *name = u"CONTINUE"_s;
        return u"first=%1"_s.arg(len > 0 ? quint8(d[0]) : -1);
    case 0x00FF:
        *name = u"EXTSST"_s;
        return u"dsst=%1 buckets=%2"_s.arg(u16(d)).arg((len - 2) / 8);
    case 0x00FD:
        *name = u"LABELSST"_s;
        return cellFields(d) + u" sst=%1"_s.arg(u32(d + 6));
    case 0x027E:
        *name = u"RK"_s;
        return cellFields(d) + u" rk=%1"_s.arg(u32(d + 6), 8, 16, QChar(u'0'));
    case 0x0203:
        *name = u"NUMBER"_s;
        return cellFields(d) + u" value="_s + QString::number(f64(d + 6), 'g', 17);
    case 0x0201:
        *name = u"BLANK"_s;
        return cellFields(d);
    case 0x0205:
        *name = u"BOOLERR"_s;
        return cellFields(d) + u" value=%1 error=%2"_s.arg(quint8(d[6])).arg(quint8(d[7]));
    case 0x0006:
        *name = u"FORMULA"_s;
        return cellFields(d)
               + u" result=%1 flags=%2 tokens=%3"_s.arg(hex(d + 6, 8))
                     .arg(u16(d + 14))
                     .arg(hex(d + 22, u16(d + 20)));
    case 0x0207:
        *name = u"STRING"_s;
        return u"\"%1\""_s.arg(string(d + 3, u16(d), quint8(d[2]), &n).left(40));
    case 0x007D:
        *name = u"COLINFO"_s;
        return u"first=%1 last=%2 width=%3 xf=%4"_s.arg(u16(d))
            .arg(u16(d + 2))
            .arg(u16(d + 4))
            .arg(u16(d + 6));
    case 0x0200:
        *name = u"DIMENSIONS"_s;
        return u"rows=%1-%2 cols=%3-%4"_s.arg(u32(d))
            .arg(u32(d + 4))
            .arg(u16(d + 8))
            .arg(u16(d + 10));
    case 0x023E:
        *name = u"WINDOW2"_s;
        return u"flags=%1"_s.arg(u16(d), 4, 16, QChar(u'0'));
    case 0x003D:
        *name = u"WINDOW1"_s;
        return u"active=%1"_s.arg(u16(d + 10));
    case 0x0293:
        *name = u"STYLE"_s;
        return hex(d, len);
    case 0x01AE:
        *name = u"SUPBOOK"_s;
        return hex(d, len);
    case 0x0017:
        *name = u"EXTERNSHEET"_s;
        return hex(d, len);
    case 0x0042:
        *name = u"CODEPAGE"_s;
        return QString::number(u16(d));
    default:
        return hex(d, std::min(len, 16));
    }
}

} // namespace

quint32 u32At(const QByteArray &bytes, qsizetype at)
{
    return u32(bytes.constData() + at);
}

void putU16(QByteArray &bytes, qsizetype at, quint16 v)
{
    bytes[at] = char(v);
    bytes[at + 1] = char(v >> 8);
}

void putU32(QByteArray &bytes, qsizetype at, quint32 v)
{
    putU16(bytes, at, quint16(v));
    putU16(bytes, at + 2, quint16(v >> 16));
}

QStringList recordListing(const QByteArray &stream)
{
    QStringList lines;
    qsizetype pos = 0;
    while (pos + 4 <= stream.size()) {
        const char *p = stream.constData() + pos;
        const quint16 id = u16(p);
        const quint16 len = u16(p + 2);
        if (id == 0 && len == 0)
            break; // padding after the last EOF
        QString name;
        const QString fields = recordFields(id, p + 4, len, &name);
        lines << u"%1 %2 %3 %4"_s.arg(id, 4, 16, QChar(u'0'))
                     .arg(name.isEmpty() ? u"-"_s : name)
                     .arg(len)
                     .arg(fields)
                     .trimmed();
        pos += 4 + len;
    }
    return lines;
}

QByteArray workbookStreamOf(const QByteArray &file)
{
    const char *h = file.constData();
    const quint32 fatSectors = u32(h + 0x2C);
    const quint32 directory = u32(h + 0x30);
    // FAT sector numbers: 109 in the header, 127 in each DIFAT sector after it.
    std::vector<quint32> fatSectorIds;
    for (quint32 i = 0; i < fatSectors && i < 109; ++i)
        fatSectorIds.push_back(u32(h + 0x4C + 4 * i));
    for (quint32 d = u32(h + 0x44); fatSectorIds.size() < fatSectors;) {
        const char *difat = h + (qsizetype(d) + 1) * 512;
        for (int k = 0; k < 127 && fatSectorIds.size() < fatSectors; ++k)
            fatSectorIds.push_back(u32(difat + 4 * k));
        d = u32(difat + 4 * 127);
    }
    std::vector<quint32> fat;
    for (quint32 id : fatSectorIds) {
        const char *sector = h + (qsizetype(id) + 1) * 512;
        for (int k = 0; k < 128; ++k)
            fat.push_back(u32(sector + 4 * k));
    }
    const char *dir = h + (qsizetype(directory) + 1) * 512;
    for (int e = 0; e < 4; ++e) {
        const char *entry = dir + 128 * e;
        if (QString::fromUtf16(reinterpret_cast<const char16_t *>(entry), 8) != u"Workbook"_s)
            continue;
        QByteArray stream;
        const quint32 size = u32(entry + 0x78);
        for (quint32 s = u32(entry + 0x74); s < fat.size() && stream.size() < qsizetype(size);
             s = fat[s])
            stream.append(h + (qsizetype(s) + 1) * 512, 512);
        return stream.left(size);
    }
    return {};
}

QByteArray miniStreamFile(const QByteArray &stream)
{
    // Sectors: 0 directory, 1 mini FAT, 2.. the mini stream (root's chain), then
    // the FAT. The workbook's mini sectors are 0..n-1.
    const int miniSectors = int((stream.size() + 63) / 64);
    const int rootSectors = (miniSectors * 64 + 511) / 512;
    const int fatSector = 2 + rootSectors;
    QByteArray file(512 * (fatSector + 2), '\0');
    file.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    // Header: versions, byte order, sector sizes; one FAT sector, the mini stream
    // cutoff, one mini FAT sector at 1, no DIFAT; then the FAT sector numbers.
    for (auto [at, v] : {std::pair{0x18, 0x3E}, {0x1A, 3}, {0x1C, 0xFFFE}, {0x1E, 9}, {0x20, 6}})
        putU16(file, at, quint16(v));
    for (auto [at, v] :
         {std::pair{0x2C, 1u}, {0x38, 4096u}, {0x3C, 1u}, {0x40, 1u}, {0x44, 0xFFFFFFFEu}})
        putU32(file, at, v);
    for (int i = 0; i < 109; ++i)
        putU32(file, 0x4C + 4 * i, i == 0 ? quint32(fatSector) : 0xFFFFFFFF);
    // The directory: the root, the workbook and two unused entries.
    auto entry = [&file](int index, const QString &name, quint8 type, quint32 child, quint32 start,
                         quint32 size) {
        const qsizetype e = 512 + 128 * index;
        for (int i = 0; i < name.size(); ++i)
            putU16(file, e + 2 * i, name.at(i).unicode());
        putU16(file, e + 0x40, quint16(name.isEmpty() ? 0 : (name.size() + 1) * 2));
        file[e + 0x42] = char(type);
        file[e + 0x43] = char(type ? 1 : 0);
        for (auto [at, v] : {std::pair{0x44, 0xFFFFFFFFu},
                             {0x48, 0xFFFFFFFFu},
                             {0x4C, child},
                             {0x74, start},
                             {0x78, size}})
            putU32(file, e + at, v);
    };
    entry(0, u"Root Entry"_s, 5, 1, 2, quint32(miniSectors * 64));
    entry(1, u"Workbook"_s, 2, 0xFFFFFFFF, 0, quint32(stream.size()));
    entry(2, {}, 0, 0xFFFFFFFF, 0, 0);
    entry(3, {}, 0, 0xFFFFFFFF, 0, 0);
    // Each chain links to the next sector and ends with ENDOFCHAIN; the rest is free.
    auto chain = [&file](qsizetype table, int first, int count) {
        for (int s = first; s < first + count; ++s)
            putU32(file, table + 4 * s, s + 1 < first + count ? quint32(s + 1) : 0xFFFFFFFE);
    };
    const qsizetype miniFat = 512 * 2;
    const qsizetype fat = 512 * (fatSector + 1);
    file.replace(miniFat, 512, QByteArray(512, '\xFF'));
    file.replace(fat, 512, QByteArray(512, '\xFF'));
    chain(miniFat, 0, miniSectors);
    chain(fat, 0, 1); // directory
    chain(fat, 1, 1); // mini FAT
    chain(fat, 2, rootSectors);
    putU32(file, fat + 4 * fatSector, 0xFFFFFFFD);
    file.replace(512 * 3, stream.size(), stream);
    return file;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

Rt::Xls::Cell &put(Rt::Xls::Sheet &sheet, int row, int column, const Rt::Xls::Value &value,
                   int style)
{
    Rt::Xls::Cell &cell = sheet.cellAt(row, column);
    cell.value = value;
    cell.style = quint16(style);
    return cell;
}

QByteArray blankedLastRowFile()
{
    Rt::Xls::Workbook book;
    put(book.addSheet(u"Sheet1"_s), 0, 0, Rt::Xls::Value::number(1));
    QByteArray stream = Rt::Xls::workbookStream(book);
    // Streams under the cutoff live in the mini stream.
    constexpr int MiniStreamLimit = 4095;
    QByteArray pair(28, '\0');
    putU16(pair, 0, 0x0203); // NUMBER
    putU16(pair, 2, 14);
    putU16(pair, 18, 0x0201); // BLANK, in the default cell format
    putU16(pair, 20, 6);
    for (qsizetype at : {4, 22}) {
        putU16(pair, at, Rt::Xls::MaxRows - 1);
        putU16(pair, at + 2, Rt::Xls::MaxColumns - 1);
        putU16(pair, at + 4, 15);
    }
    // Before the last sheet's EOF, so that no sheet moves.
    QByteArray pairs;
    while (stream.size() + pairs.size() + pair.size() <= MiniStreamLimit)
        pairs += pair;
    stream.insert(stream.size() - 4, pairs);
    return miniStreamFile(stream);
}

Rt::Xls::Cell &putFormula(Rt::Xls::Sheet &sheet, int row, int column, const QString &formula,
                          const Rt::Xls::Value &result)
{
    Rt::Xls::Cell &cell = sheet.cellAt(row, column);
    cell.formula = Rt::Xls::Formula::parse(formula);
    cell.value = result;
    return cell;
}

Rt::Xls::Value CachedValues::cellValue(int sheet, int row, int column)
{
    if (sheet < 0 || sheet >= m_book.sheetCount())
        return Rt::Xls::Value::error(Rt::Xls::ErrorCode::Ref);
    const Rt::Xls::Cell *cell = m_book.sheet(sheet).cell(row, column);
    return cell ? cell->value : Rt::Xls::Value();
}

void CachedValues::forEachValue(int sheet, int top, int left, int bottom, int right,
                                const std::function<void(const Rt::Xls::Value &)> &visit)
{
    if (sheet < 0 || sheet >= m_book.sheetCount())
        return;
    const Rt::Xls::Sheet &s = m_book.sheet(sheet);
    for (int row = std::max(top, 0); row <= std::min(bottom, s.rowCount() - 1); ++row) {
        for (const Rt::Xls::Cell &cell : s.row(row)) {
            if (cell.column >= left && cell.column <= right && !cell.value.isEmpty())
                visit(cell.value);
        }
    }
}

QByteArray run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        QTest::qFail(qPrintable(u"%1 did not finish"_s.arg(program)), __FILE__, __LINE__);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        QTest::qFail(qPrintable(u"%1 failed: %2"_s.arg(
                         program, QString::fromUtf8(process.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}

QString goldenPath(const QString &name)
{
    return QStringLiteral(TALVEX_GOLDEN_DIR) + u"/"_s + name;
}

namespace {
enum Field { Code, Name, Minutes, Flag, Day, Rate };
}

std::unique_ptr<TDataSet> exchanges(int count)
{
    auto set = std::make_unique<TDataSet>();
    set->addField(u"Code"_s, TFieldType::String);
    set->addField(u"Name"_s, TFieldType::String);
    set->addField(u"WorkTime"_s, TFieldType::Integer);
    set->addField(u"WorkFlag"_s, TFieldType::Integer);
    set->addField(u"ExchgDate"_s, TFieldType::DateTime);
    set->addField(u"Rate"_s, TFieldType::Float);
    set->reserve(count);
    for (int i = 0; i < count; ++i) {
        const int r = set->appendRecord();
        set->setString(r, Code, u"%1"_s.arg(i + 1, 5, 10, QChar(u'0')));
        set->setString(r, Name, i % 3 == 0 ? u"王芳"_s : u"欧阳 雪"_s);
        set->setInteger(r, Minutes, 480 - i % 60);
        set->setInteger(r, Flag, i % 2);
        if (i % 7 != 3)
            set->setDateTime(r, Day, 46361 + i % 30 + (i % 5 == 0 ? 0.5 : 0));
        set->setFloat(r, Rate, 1.25 * (i % 4));
    }
    set->finishLoading();
    return set;
}

RegisterGrid::RegisterGrid(TDataSet *set)
{
    grid.addLevel()->setGridView(view);
    view->dataController()->setDataSource(&source);
    add(u"ExchgDate"_s, u"调班日期"_s, 100);
    add(u"Code"_s, u"工号"_s, 80);
    add(u"Name"_s, u"姓名"_s, 120);
    TcxGridColumn *hidden = add(u"Rate"_s, u"比率"_s, 60);
    hidden->setVisible(false);
    TcxGridColumn *flag = add(u"WorkFlag"_s, u"上班标志"_s, 60);
    flag->setValueList(TcxImageComboBoxItems({{u"0"_s, u"休息"_s}, {u"1"_s, u"上班"_s}}));
    flag->setAlignment(Qt::AlignHCenter);
    TcxGridColumn *minutes = add(u"WorkTime"_s, u"工时"_s, 70);
    minutes->setAlignment(Qt::AlignRight);
    view->setFooterVisible(true);
    view->addFooterSummary(minutes, Rt::SummaryKind::Sum, u"合计：0"_s);
    view->addFooterSummary(view->column(0), Rt::SummaryKind::Count, u"0 条记录"_s);
    source.setDataSet(set);
}
TcxGridColumn *RegisterGrid::add(const QString &field, const QString &caption, int width)
{
    TcxGridColumn *column = view->createColumn();
    column->setFieldName(field);
    column->setCaption(caption);
    column->setWidth(width);
    return column;
}

} // namespace XlsTest
