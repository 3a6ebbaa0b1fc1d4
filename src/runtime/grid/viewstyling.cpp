#include "viewstyling_p.h"

#include "runtime/styles.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>
#include <QWidget>

namespace Rt::Internal {

QVariant StyleChain::background() const
{
    for (const TcxStyle *style : styles) {
        if (style && style->color().isValid())
            return QBrush(style->color());
    }
    return {};
}

QVariant StyleChain::foreground() const
{
    for (const TcxStyle *style : styles) {
        if (style && style->textColor().isValid())
            return QBrush(style->textColor());
    }
    return {};
}

QVariant StyleChain::font() const
{
    for (const TcxStyle *style : styles) {
        if (style && style->hasFont())
            return style->font();
    }
    return {};
}

QVariant styleData(const StyleChain &chain, int role)
{
    switch (role) {
    case Qt::BackgroundRole:
        return chain.background();
    case Qt::ForegroundRole:
        return chain.foreground();
    case Qt::FontRole:
        return chain.font();
    default:
        return {};
    }
}

void applyViewPalette(QWidget *view, const TcxViewStyles *styles)
{
    QPalette palette = QApplication::palette(view);
    const auto use = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role,
                                const QColor &color) {
        if (color.isValid())
            palette.setColor(group, role, color);
    };
    if (const TcxStyle *background = styles->style(Rt::StyleRole::Background)) {
        use(QPalette::All, QPalette::Base, background->color());
        use(QPalette::All, QPalette::Window, background->color());
    }
    if (const TcxStyle *selection = styles->style(Rt::StyleRole::Selection)) {
        use(QPalette::All, QPalette::Highlight, selection->color());
        use(QPalette::All, QPalette::HighlightedText, selection->textColor());
    }
    // Without an inactive style the selection keeps its colour when the view loses focus.
    if (const TcxStyle *inactive = styles->style(Rt::StyleRole::Inactive)) {
        use(QPalette::Inactive, QPalette::Highlight, inactive->color());
        use(QPalette::Inactive, QPalette::HighlightedText, inactive->textColor());
    }
    view->setPalette(palette);
}

} // namespace Rt::Internal
