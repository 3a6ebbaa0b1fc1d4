#pragma once

#include "runtime/form.h"

#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TcxGrid;
class TcxLabel;
class TcxTreeList;

// The find dialog: a small window that stays on top while the user goes on working
// in the window behind it, and moves the focus of one grid (a banded table view)
// or one tree list to the next or previous row holding a text. It searches from
// whatever row has the focus when the find button is pressed, never wraps round,
// and frees itself when it closes.
class TFindWindowForm : public TForm
{
    Q_OBJECT
public:
    explicit TFindWindowForm(QWidget *parent = nullptr);
    ~TFindWindowForm() override;

    // Hands over the control to search; the other target is kept but not used.
    void setGridTarget(TcxGrid *grid);
    void setTreeListTarget(TcxTreeList *treeList);
    // Shows the dialog without blocking and brings it forward.
    void showModeless();

    // -1 no target, 0 grid, 1 tree list.
    int mode() const { return FMode; }

    // Each moves the focus to the next match in the chosen direction and returns
    // its record (or absolute node) index; -1 when it moved nowhere.
    int FindInGrid();
    int FindInTreeList();

private:
    void buildLayout();
    void watchTarget(QObject *target);
    void centreOverMainForm();

    void FormCreate();
    void FormClose();
    void Button1Click();
    void Button2Click();

    TcxLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;
    QRadioButton *rb1;
    QRadioButton *rb2;
    QCheckBox *chk1;

    int FMode = -1;
    // Plain references the dialog does not own; they turn empty when their control
    // goes, and the dialog closes when its current target goes (see watchTarget).
    QPointer<TcxGrid> FGrid;
    QPointer<TcxTreeList> FTreeList;
    QMetaObject::Connection m_targetWatch;
};

// The one find dialog there is, or none.
extern TFindWindowForm *FindWindowForm;
