#pragma once

#include "runtime/rtglobal.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class TcxCustomGridView;
class TcxGrid;

namespace Rt::Internal {
class GridTableWidget;
}

// A level of a grid: the view it shows.
class RT_EXPORT TcxGridLevel : public QObject
{
    Q_OBJECT
public:
    ~TcxGridLevel() override;

    TcxGrid *grid() const { return m_grid; }

    TcxCustomGridView *gridView() const { return m_view; }
    void setGridView(TcxCustomGridView *view);
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

private:
    friend class TcxGrid;
    explicit TcxGridLevel(TcxGrid *grid);

    TcxGrid *m_grid;
    QPointer<TcxCustomGridView> m_view;
    QString m_caption;
};

// A grid control: shows the view of its active level. Views are created as children
// of the grid and given to a level; the table that shows them is private to the grid.
class RT_EXPORT TcxGrid : public QWidget
{
    Q_OBJECT
public:
    explicit TcxGrid(QWidget *parent = nullptr);
    ~TcxGrid() override;

    // Adds a level; the first one becomes the active level.
    TcxGridLevel *addLevel();
    const QList<TcxGridLevel *> &levels() const { return m_levels; }
    TcxGridLevel *activeLevel() const { return m_activeLevel; }
    void setActiveLevel(TcxGridLevel *level);
    // The view of the active level, or none.
    TcxCustomGridView *activeView() const;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TcxGridLevel;
    void removeLevel(TcxGridLevel *level);
    void showActiveView();

    Rt::Internal::GridTableWidget *m_table;
    QList<TcxGridLevel *> m_levels;
    QPointer<TcxGridLevel> m_activeLevel;
};
