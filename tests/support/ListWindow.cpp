#include "ListWindow.h"

#include "runtime/component.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/grid/cxgrid.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

ListWindow::ListWindow(const QDate &begin, const QDate &end)
{
    Rt::setTag(&form, 1001);
    form.setUnitCode(u"KQ_EXCHANGE"_s);
    form.InitWindow();
    child<TcxDateEdit>(u"edtBeginDate"_s)->setDate(begin);
    child<TcxDateEdit>(u"edtEndDate"_s)->setDate(end);
    form.show();
}

ListWindow::~ListWindow()
{
    form.FreeWindow();
}

TcxGridDBTableView *ListWindow::view() const
{
    return child<TcxGridDBTableView>(u"TableKQExchangeClass"_s);
}

QStringList ListWindow::rows() const
{
    const TcxGridDataController *data = view()->dataController();
    const int code = child<TcxGridColumn>(u"ColEmployeeCode"_s)->index();
    const int day = child<TcxGridColumn>(u"ColExchgDate"_s)->index();
    QStringList result;
    for (int r = 0; r < data->recordCount(); ++r)
        result << data->displayText(r, code) + u' ' + data->displayText(r, day);
    return result;
}

QList<QStringList> ListWindow::shown() const
{
    const QList<TcxGridColumn *> columns = view()->visibleColumns();
    QStringList cells;
    for (const TcxGridColumn *column : columns)
        cells << column->caption();
    QList<QStringList> result{cells};
    for (int r = 0; r < view()->dataController()->recordCount(); ++r) {
        cells.clear();
        for (const TcxGridColumn *column : columns)
            cells << view()->dataController()->displayText(r, column->index());
        result << cells;
    }
    return result;
}

void ListWindow::focusRow(int row) const
{
    view()->dataController()->setFocusedRecordIndex(row);
}

void ListWindow::search(const QString &text, const QString &type) const
{
    child<TcxButtonEdit>(u"edtEmployeeCode"_s)->setText(text);
    child<TcxImageComboBox>(u"cxExchgType"_s)->setEditValue(type);
    child<QPushButton>(u"btnQry"_s)->click();
}
