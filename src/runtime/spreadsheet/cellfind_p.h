#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;

namespace Rt::Internal {

class SheetTabs;

// The spreadsheet control's own find dialog: finds the next cell of the current
// sheet whose text contains the search text, row by row, and selects it.
class CellFindDialog : public QDialog
{
    Q_OBJECT
public:
    CellFindDialog(SheetTabs *tabs, QWidget *parent);

    void findNext();

private:
    QPointer<SheetTabs> m_tabs;
    QLineEdit *m_text;
    QLabel *m_status;
};

} // namespace Rt::Internal
