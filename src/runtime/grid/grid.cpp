#include "grid.h"

#include "gridtablewidget_p.h"
#include "gridview.h"

TcxGridLevel::TcxGridLevel(TcxGrid *grid)
    : QObject(grid)
    , m_grid(grid)
{
}

TcxGridLevel::~TcxGridLevel()
{
    if (m_grid)
        m_grid->removeLevel(this);
}

void TcxGridLevel::setGridView(TcxCustomGridView *view)
{
    if (m_view == view)
        return;
    m_view = view;
    if (m_grid->activeLevel() == this)
        m_grid->showActiveView();
}

TcxGrid::TcxGrid(QWidget *parent)
    : QWidget(parent)
    , m_table(new Rt::Internal::GridTableWidget(this))
{
    // No layout object: it would show up among the form's components.
    setFocusProxy(m_table);
}

TcxGrid::~TcxGrid()
{
    // The levels are QObject children, deleted once this grid is gone.
    for (TcxGridLevel *level : std::as_const(m_levels))
        level->m_grid = nullptr;
}

TcxGridLevel *TcxGrid::addLevel()
{
    auto *level = new TcxGridLevel(this);
    m_levels.append(level);
    if (!m_activeLevel)
        setActiveLevel(level);
    return level;
}

void TcxGrid::setActiveLevel(TcxGridLevel *level)
{
    if (m_activeLevel == level || (level && level->grid() != this))
        return;
    m_activeLevel = level;
    showActiveView();
}

void TcxGrid::removeLevel(TcxGridLevel *level)
{
    m_levels.removeOne(level);
    if (m_activeLevel == level)
        setActiveLevel(m_levels.value(0));
}

TcxCustomGridView *TcxGrid::activeView() const
{
    return m_activeLevel ? m_activeLevel->gridView() : nullptr;
}

void TcxGrid::showActiveView()
{
    m_table->showView(qobject_cast<TcxGridTableView *>(activeView()));
}

QSize TcxGrid::sizeHint() const
{
    return m_table->sizeHint();
}

void TcxGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_table->setGeometry(rect());
}
