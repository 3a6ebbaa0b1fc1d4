#include "WindowStyling.h"
#include "ComponentClass.h"

#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/form.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/styles.h"
#include "runtime/treelist/cxtreelist.h"
#include "runtime/vgrid/cxvgrid.h"

namespace {

// Index of the style sheet a view of this exact class takes; -1 for none.
int styleSheetIndexFor(const QObject *component)
{
    if (isExactly<TcxGridBandedTableView, TcxGridDBBandedTableView>(component))
        return 2;
    if (isExactly<TcxGridTableView, TcxGridDBTableView>(component))
        return 0;
    if (isExactly<TcxTreeList>(component))
        return 1;
    if (isExactly<TcxDBVerticalGrid, TcxVerticalGrid>(component))
        return 3;
    return -1;
}

TcxViewStyles *stylesOf(QObject *component)
{
    if (auto *view = qobject_cast<TcxCustomGridView *>(component))
        return view->styles();
    if (auto *tree = qobject_cast<TcxTreeList *>(component))
        return tree->styles();
    if (auto *grid = qobject_cast<TcxVerticalGrid *>(component))
        return grid->styles();
    return nullptr;
}

bool isStyledEditor(const QObject *component)
{
    return isExactly<TcxTextEdit, TcxButtonEdit, TcxImageComboBox, TcxSpinEdit, TcxCurrencyEdit,
                     TcxMemo, TcxMaskEdit, TcxPopupEdit>(component);
}

bool isStyledContainer(const QObject *component)
{
    return qobject_cast<const TFrame *>(component) || isExactly<TcxTabSheet>(component)
        || qobject_cast<const TForm *>(component);
}

} // namespace

namespace WindowStyling {

void apply(QObject *container, const RepositoryProvider &repository)
{
    if (!container)
        return;
    for (QObject *component : Rt::ownedComponents(container)) {
        if (const int index = styleSheetIndexFor(component); index >= 0) {
            if (TcxViewStyles *styles = stylesOf(component))
                styles->setStyleSheet(repository()->styleSheet(index));
        } else if (isStyledEditor(component)) {
            if (TcxEditStyle *focused = Rt::focusedStyle(component))
                focused->setColor(Rt::infoBackgroundColor());
        } else if (isStyledContainer(component)) {
            apply(component, repository);
        }
    }
}

} // namespace WindowStyling
