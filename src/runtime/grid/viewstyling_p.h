#pragma once

#include <QVariant>

#include <array>

class QWidget;
class TcxStyle;
class TcxViewStyles;

// Turns styles into what item models and item views paint with; shared by the
// grid, the tree list and the vertical grid.
namespace Rt::Internal {

// The styles that paint one element, most specific first. Colour, text colour and
// font each come from the first style that sets them; null entries are skipped.
struct StyleChain
{
    std::array<const TcxStyle *, 3> styles{};

    QVariant background() const;
    QVariant foreground() const;
    QVariant font() const;
};

// Data for one of Qt's appearance roles (background, foreground, font) from chain;
// an invalid value for any other role or when no style sets it.
QVariant styleData(const StyleChain &chain, int role);

// Puts the view-wide styles (background, selection, inactive selection) into the
// palette of an item view, falling back to the application palette.
void applyViewPalette(QWidget *view, const TcxViewStyles *styles);

} // namespace Rt::Internal
