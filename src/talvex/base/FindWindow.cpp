#include "FindWindow.h"
#include "FindPattern.h"

#include "runtime/application.h"
#include "runtime/grid/cxgrid.h"
#include "runtime/treelist/cxtreelist.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

TFindWindowForm *FindWindowForm = nullptr;

TFindWindowForm::TFindWindowForm(QWidget *parent)
    : TForm(parent)
{
    buildLayout();
    setScreenCentred(false);
    connect(this, &TForm::formShown, this, &TFindWindowForm::centreOverMainForm);
    connect(this, &TForm::formClosed, this, Rt::guarded(this, &TFindWindowForm::FormClose));
    connect(Button1, &QPushButton::clicked, this,
            Rt::guarded(this, &TFindWindowForm::Button1Click));
    connect(Button2, &QPushButton::clicked, this,
            Rt::guarded(this, &TFindWindowForm::Button2Click));
    FormCreate();
}

TFindWindowForm::~TFindWindowForm()
{
    if (FindWindowForm == this)
        FindWindowForm = nullptr;
}

void TFindWindowForm::FormCreate()
{
    FMode = -1;
    FGrid = nullptr;
    FTreeList = nullptr;
}

void TFindWindowForm::FormClose()
{
    if (FindWindowForm == this)
        FindWindowForm = nullptr;
    disconnect(m_targetWatch);
    deleteLater();
}

void TFindWindowForm::setGridTarget(TcxGrid *grid)
{
    FGrid = grid;
    FMode = 0;
    watchTarget(grid);
}

void TFindWindowForm::setTreeListTarget(TcxTreeList *treeList)
{
    FTreeList = treeList;
    FMode = 1;
    watchTarget(treeList);
}

// The dialog closes when the control it searches goes, usually with the window that
// holds it. Left open without a target it could only answer "not found" to every
// press; closed, the next find command starts afresh on whatever window is there.
// It also keeps the module's dialog from outliving the module's window.
void TFindWindowForm::watchTarget(QObject *target)
{
    disconnect(m_targetWatch);
    if (target)
        m_targetWatch = connect(target, &QObject::destroyed, this, &QWidget::close);
}

void TFindWindowForm::showModeless()
{
    show();
    raise();
    activateWindow();
}

void TFindWindowForm::centreOverMainForm()
{
    const QWidget *main = Rt::application() ? Rt::application()->mainForm() : nullptr;
    if (!main || !main->isVisible())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(main->frameGeometry().center());
    move(frame.topLeft());
}

void TFindWindowForm::Button1Click()
{
    int found = 0;
    switch (FMode) {
    case 0:
        found = FindInGrid();
        break;
    case 1:
        found = FindInTreeList();
        break;
    default:
        return;
    }
    if (found < 0)
        Rt::messageBox(u"查找不到要搜索的数据"_s,
                       Rt::application() ? Rt::application()->title() : QString());
}

void TFindWindowForm::Button2Click()
{
    close();
}

int TFindWindowForm::FindInGrid()
{
    const QString text = Edit1->text();
    if (!FGrid || text.isEmpty())
        return -1;
    auto *view = qobject_cast<TcxGridBandedTableView *>(FGrid->activeView());
    if (!view)
        return -1;

    const FindPattern pattern(text, chk1->isChecked());
    const GridCellReader cells(view);
    QList<TcxGridColumn *> columns;
    for (TcxGridColumn *column : view->columns()) {
        if (column->isVisible())
            columns << column;
    }
    TcxGridDataController *data = view->dataController();
    const int step = rb2->isChecked() ? 1 : -1;
    for (int record = data->focusedRecordIndex() + step;
         record >= 0 && record < data->recordCount(); record += step) {
        for (const TcxGridColumn *column : std::as_const(columns)) {
            if (pattern.matches(cells.value(record, column))) {
                data->setFocusedRecordIndex(record);
                return record;
            }
        }
    }
    return -1;
}

int TFindWindowForm::FindInTreeList()
{
    const QString text = Edit1->text();
    if (!FTreeList || text.isEmpty())
        return -1;

    const FindPattern pattern(text, chk1->isChecked());
    QList<int> columns;
    for (const TcxTreeListColumn *column : FTreeList->columns()) {
        if (column->isVisible())
            columns << column->index();
    }
    // With no node focused the search starts as from before the first node.
    const TcxTreeListNode *focused = FTreeList->focusedNode();
    const int start = focused ? focused->absoluteIndex() : -1;
    const int step = rb2->isChecked() ? 1 : -1;
    for (int index = start + step; index >= 0 && index < FTreeList->absoluteCount();
         index += step) {
        TcxTreeListNode *node = FTreeList->absoluteItem(index);
        for (int column : std::as_const(columns)) {
            if (pattern.matches(node->values(column))) {
                FTreeList->setFocusedNode(node);
                return index;
            }
        }
    }
    return -1;
}
