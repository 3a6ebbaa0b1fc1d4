#include "HostStyles.h"

#include "runtime/form.h"
#include "runtime/styles.h"

using Rt::StyleRole;

namespace {

struct Palette
{
    QColor window{0xF7, 0xF9, 0xFC};
    QColor even{0xFF, 0xFF, 0xFF};
    QColor odd{0xF2, 0xF6, 0xFB};
    QColor header{0xE3, 0xEA, 0xF3};
    QColor footer{0xEC, 0xF1, 0xF7};
    QColor selection{0xC9, 0xDF, 0xF7};
    QColor text{0x24, 0x2B, 0x35};
    QColor muted{0x55, 0x60, 0x70};
};

TcxStyle *makeStyle(TcxStyleRepository *repository, const QColor &background,
                    const QColor &text, bool bold = false)
{
    TcxStyle *style = repository->createStyle();
    style->setColor(background);
    style->setTextColor(text);
    style->setFont(Rt::formFont(12, bold));
    return style;
}

void fill(TcxStyleRepository *repository, TcxCustomStyleSheet *sheet, const QString &caption)
{
    const Palette p;
    sheet->setCaption(caption);
    sheet->setStyle(StyleRole::Background, makeStyle(repository, p.window, p.text));
    sheet->setStyle(StyleRole::Content, makeStyle(repository, p.even, p.text));
    sheet->setStyle(StyleRole::ContentEven, makeStyle(repository, p.even, p.text));
    sheet->setStyle(StyleRole::ContentOdd, makeStyle(repository, p.odd, p.text));
    sheet->setStyle(StyleRole::Header, makeStyle(repository, p.header, p.text, true));
    sheet->setStyle(StyleRole::Footer, makeStyle(repository, p.footer, p.muted, true));
    sheet->setStyle(StyleRole::Selection, makeStyle(repository, p.selection, p.text));
    sheet->setStyle(StyleRole::Inactive, makeStyle(repository, p.selection.lighter(108), p.text));
    sheet->setStyle(StyleRole::Category, makeStyle(repository, p.header, p.text, true));
}

} // namespace

TcxStyleRepository *createHostStyleRepository(QObject *parent)
{
    auto *repository = new TcxStyleRepository(parent);
    fill(repository, repository->createStyleSheet<TcxGridTableViewStyleSheet>(),
         QStringLiteral("表格"));
    fill(repository, repository->createStyleSheet<TcxTreeListStyleSheet>(),
         QStringLiteral("树形列表"));
    fill(repository, repository->createStyleSheet<TcxGridBandedTableViewStyleSheet>(),
         QStringLiteral("分组表格"));
    fill(repository, repository->createStyleSheet<TcxVerticalGridStyleSheet>(),
         QStringLiteral("纵向表格"));
    return repository;
}
