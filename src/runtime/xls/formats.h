#pragma once

#include "records_p.h"
#include "workbook.h"

#include <QHash>
#include <QList>

// Fonts, number formats and cell formats (XF) of a workbook: written from the
// styles of the model, and read back into them.
namespace Rt::Xls {

// Writes the FONT, FORMAT, XF and STYLE records for the styles of a workbook
// and tells which XF each style became.
class StyleSheetWriter
{
public:
    explicit StyleSheetWriter(const StyleTable &styles);

    void write(RecordWriter &records) const;
    // The cell XF of a style: the default style is the default cell XF, the
    // others follow it.
    quint16 xfIndex(int style) const { return quint16(DefaultCellXf + style); }
    // The cell XF of cells and columns without a style of their own.
    static constexpr quint16 DefaultCellXf = 15;

private:
    const StyleTable &m_styles;
    QHash<QString, quint16> m_formatIds; // custom number formats, 164 and up
    QList<QString> m_customFormats;
    QHash<quint32, quint8> m_fillColours; // background colour to palette index
    QList<quint32> m_palette;             // the colours of indices 8-63
};

// Collects FONT, FORMAT and XF records while the globals are read, then gives
// the style of each XF.
class StyleSheetReader
{
public:
    void readFont(ByteReader &r);
    void readFormat(ByteReader &r);
    void readXf(ByteReader &r);
    void readPalette(ByteReader &r);

    // Adds the style of every cell XF to styles; the default cell XF becomes the
    // default style. Afterwards styleOf() answers.
    void resolve(StyleTable &styles);
    // The style index for an XF; the default style for an XF that does not exist.
    quint16 styleOf(quint16 xf) const { return xf < m_xfStyles.size() ? m_xfStyles[xf] : 0; }

private:
    struct Xf
    {
        quint16 font;
        quint16 format;
        quint8 alignment;
        quint8 indent;
        bool solid;        // a fill pattern is set
        quint8 fillColour; // its palette index
    };
    CellStyle styleOfXf(const Xf &xf) const;

    QList<bool> m_boldFonts; // by FONT record
    QHash<quint16, QString> m_formats;
    QList<Xf> m_xfs;
    QList<quint32> m_palette; // indices 8-63; the default until a PALETTE record
    QList<quint16> m_xfStyles;
};

// The format string of a built-in number format id; "" for General and for the
// locale-dependent ids.
QString builtinNumberFormat(quint16 id);

} // namespace Rt::Xls
