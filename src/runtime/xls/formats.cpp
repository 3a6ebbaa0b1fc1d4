#include "formats.h"

#include "sharedstrings.h"

#include "runtime/exceptions.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

// Four default fonts precede the custom ones, and index 4 does not exist, so the
// bold font is index 5.
constexpr int DefaultFonts = 4;
constexpr quint16 BoldFont = 5;
constexpr quint16 FirstCustomFormat = 164;
const QString FontName = u"Arial"_s;
constexpr quint16 FontHeight = 200; // twips: 10 pt

struct BuiltinFormat
{
    quint16 id;
    const char16_t *format;
};

// The built-in ids whose meaning does not depend on the locale ([MS-XLS] 2.4.126).
// Id 14 is "the system's short date"; it reads as ISO dates here.
constexpr BuiltinFormat builtinFormats[] = {
    {1, u"0"},           {2, u"0.00"},        {3, u"#,##0"},
    {4, u"#,##0.00"},    {9, u"0%"},          {10, u"0.00%"},
    {11, u"0.00E+00"},   {12, u"# ?/?"},      {13, u"# ?\?/??"},
    {14, u"yyyy-mm-dd"}, {15, u"d-mmm-yy"},   {16, u"d-mmm"},
    {17, u"mmm-yy"},     {18, u"h:mm AM/PM"}, {19, u"h:mm:ss AM/PM"},
    {20, u"h:mm"},       {21, u"h:mm:ss"},    {22, u"yyyy-mm-dd h:mm"},
    {45, u"mm:ss"},      {46, u"[h]:mm:ss"},  {47, u"mm:ss.0"},
    {48, u"##0.0E+0"},   {49, u"@"},
};

// The colours of palette indices 8-63 when a workbook has no PALETTE record
// ([MS-XLS] 2.5.161), as 0xRRGGBB.
constexpr quint32 defaultPalette[MaxFillColours] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};
constexpr quint8 FirstPaletteIndex = 8;
constexpr quint16 SystemBackground = 65;
constexpr quint32 SolidPattern = 1;

QList<quint32> defaultColours()
{
    return QList<quint32>(std::begin(defaultPalette), std::end(defaultPalette));
}

void writeFont(RecordWriter &records, bool bold)
{
    records.begin(Record::Font);
    ByteWriter &w = records.data();
    w.u16(FontHeight);
    // Bit 0 is unused by the format, yet some readers take it as bold.
    w.u16(bold ? 0x0001 : 0x0000);
    w.u16(0x7FFF); // automatic colour
    w.u16(bold ? 700 : 400);
    w.u16(0); // no super- or subscript
    w.u8(0);  // no underline
    w.u8(0);  // family
    w.u8(1);  // default character set
    w.u8(0);
    writeShortString(w, FontName);
    records.end();
}

// fillColour is a palette index for a solid background, 0 for none.
void writeXf(RecordWriter &records, quint16 font, quint16 format, quint16 protection,
             quint8 alignment, quint8 indent, quint8 used, quint8 fillColour = 0)
{
    records.begin(Record::Xf);
    ByteWriter &w = records.data();
    w.u16(font);
    w.u16(format);
    w.u16(protection);
    w.u8(alignment);
    w.u8(0); // no rotation
    w.u8(indent);
    w.u8(used);
    w.u32(0); // no borders
    if (fillColour == 0) {
        w.u32(0);      // no fill
        w.u16(0x20C0); // system colours for pattern and background
    } else {
        w.u32(SolidPattern << 26);
        w.u16(quint16(fillColour | SystemBackground << 7));
    }
    records.end();
}

} // namespace

QString builtinNumberFormat(quint16 id)
{
    for (const BuiltinFormat &f : builtinFormats) {
        if (f.id == id)
            return QString::fromUtf16(f.format);
    }
    return QString();
}

StyleSheetWriter::StyleSheetWriter(const StyleTable &styles)
    : m_styles(styles)
{
    for (int i = 0; i < styles.count(); ++i) {
        const QString &format = styles.at(i).numberFormat;
        if (format.isEmpty() || m_formatIds.contains(format))
            continue;
        m_formatIds.insert(format, quint16(FirstCustomFormat + m_customFormats.size()));
        m_customFormats.append(format);
    }
    // Each background colour takes a palette entry of its own, from the first on.
    for (int i = 0; i < styles.count(); ++i) {
        const quint32 fill = styles.at(i).fill;
        if (fill == CellStyle::NoFill || m_fillColours.contains(fill))
            continue;
        if (m_fillColours.size() == MaxFillColours)
            throw Rt::Exception(u"工作簿的背景颜色超过 %1 种。"_s.arg(MaxFillColours));
        if (m_palette.isEmpty())
            m_palette = defaultColours();
        const auto entry = quint8(m_fillColours.size());
        m_palette[entry] = fill & 0xFFFFFF;
        m_fillColours.insert(fill, quint8(FirstPaletteIndex + entry));
    }
}

void StyleSheetWriter::write(RecordWriter &records) const
{
    for (int i = 0; i < DefaultFonts; ++i)
        writeFont(records, false);
    writeFont(records, true);

    // Custom formats only: built-in ids need no record, and writing every format
    // as a custom one keeps it the same in every locale.
    for (qsizetype i = 0; i < m_customFormats.size(); ++i) {
        records.begin(Record::Format);
        records.data().u16(quint16(FirstCustomFormat + i));
        writeUnicodeString(records.data(), m_customFormats.at(i));
        records.end();
    }

    // XF 0 is the Normal style, 1-14 the other built-in style XFs, 15 the default
    // cell XF, which carries the default style; cell XFs for the others follow.
    constexpr quint16 StyleXf = 0xFFF5; // locked, style XF, no parent
    writeXf(records, 0, 0, StyleXf, 0x20, 0, 0x00);
    for (int i = 1; i < 15; ++i)
        writeXf(records, 0, 0, StyleXf, 0x20, 0, 0xF4);
    for (int i = 0; i < m_styles.count(); ++i) {
        const CellStyle &s = m_styles.at(i);
        // An indented cell is left aligned: other alignments ignore the indent.
        const quint8 horizontal =
            s.indent > 0 ? quint8(HorizontalAlignment::Left) : quint8(s.alignment);
        const quint8 alignment = quint8(horizontal | (s.wrap ? 0x08 : 0) | 0x20);
        const quint16 format = s.numberFormat.isEmpty() ? 0 : m_formatIds.value(s.numberFormat);
        // Cell XFs say which groups they set themselves: none for a plain default,
        // otherwise all of them.
        const bool plain = s == CellStyle();
        writeXf(records, s.bold ? BoldFont : 0, format, 0x0001, alignment,
                quint8(std::min<int>(s.indent, 15)), plain && i == 0 ? 0x00 : 0xFC,
                m_fillColours.value(s.fill, 0));
    }

    records.begin(Record::Style);
    records.data().u16(0x8000); // built-in style on XF 0
    records.data().u8(0);       // Normal
    records.data().u8(0xFF);
    records.end();

    // Only a workbook with backgrounds changes the palette.
    if (!m_palette.isEmpty()) {
        records.begin(Record::Palette);
        records.data().u16(quint16(m_palette.size()));
        for (const quint32 colour : m_palette)
            records.data().u32(qToBigEndian(colour) >> 8); // red, green, blue, 0
        records.end();
    }
}

void StyleSheetReader::readFont(ByteReader &r)
{
    r.skip(6);
    m_boldFonts.append(r.u16() >= 700);
}

void StyleSheetReader::readFormat(ByteReader &r)
{
    const quint16 id = r.u16();
    m_formats.insert(id, readUnicodeString(r));
}

void StyleSheetReader::readXf(ByteReader &r)
{
    Xf xf;
    xf.font = r.u16();
    xf.format = r.u16();
    r.u16();
    xf.alignment = r.u8();
    r.u8();
    xf.indent = r.u8() & 0x0F;
    r.skip(5); // used attributes, borders
    xf.solid = (r.u32() >> 26) == SolidPattern;
    xf.fillColour = quint8(r.u16() & 0x7F);
    m_xfs.append(xf);
}

void StyleSheetReader::readPalette(ByteReader &r)
{
    const int count = std::min<int>(r.u16(), MaxFillColours);
    m_palette = defaultColours();
    for (int i = 0; i < count; ++i)
        m_palette[i] = qFromBigEndian(r.u32()) >> 8;
}

CellStyle StyleSheetReader::styleOfXf(const Xf &xf) const
{
    CellStyle style;
    // Font numbers skip 4: record i is font i below 4 and font i + 1 from there.
    const int fontRecord = xf.font < 4 ? xf.font : xf.font - 1;
    style.bold = xf.font != 4 && fontRecord < m_boldFonts.size() && m_boldFonts.at(fontRecord);
    style.wrap = xf.alignment & 0x08;
    const int horizontal = xf.alignment & 0x07;
    style.alignment =
        horizontal <= 3 ? HorizontalAlignment(horizontal) : HorizontalAlignment::General;
    style.indent = xf.indent;
    const qsizetype entry = qsizetype(xf.fillColour) - FirstPaletteIndex;
    if (xf.solid && entry >= 0 && entry < MaxFillColours) {
        const quint32 colour = m_palette.isEmpty() ? defaultPalette[entry] : m_palette.at(entry);
        style.fill = 0xFF000000 | colour;
    }
    style.numberFormat = m_formats.value(xf.format, builtinNumberFormat(xf.format));
    if (style.numberFormat.compare(u"General"_s, Qt::CaseInsensitive) == 0)
        style.numberFormat.clear();
    return style;
}

void StyleSheetReader::resolve(StyleTable &styles)
{
    constexpr int DefaultCellXf = StyleSheetWriter::DefaultCellXf;
    if (m_xfs.size() > DefaultCellXf)
        styles.setDefaultStyle(styleOfXf(m_xfs.at(DefaultCellXf)));
    m_xfStyles.resize(m_xfs.size());
    for (qsizetype i = 0; i < m_xfs.size(); ++i)
        m_xfStyles[i] = i == DefaultCellXf ? 0 : quint16(styles.add(styleOfXf(m_xfs.at(i))));
}

} // namespace Rt::Xls
