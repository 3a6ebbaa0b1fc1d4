#include "formats.h"

#include "sharedstrings.h"

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

void writeXf(RecordWriter &records, quint16 font, quint16 format, quint16 protection,
             quint8 alignment, quint8 indent, quint8 used)
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
    w.u32(0);      // no borders
    w.u32(0);      // no fill
    w.u16(0x20C0); // system colours for pattern and background
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
                quint8(std::min<int>(s.indent, 15)), plain && i == 0 ? 0x00 : 0xFC);
    }

    records.begin(Record::Style);
    records.data().u16(0x8000); // built-in style on XF 0
    records.data().u8(0);       // Normal
    records.data().u8(0xFF);
    records.end();
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
    m_xfs.append(xf);
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
