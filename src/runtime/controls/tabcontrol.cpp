#include "tabcontrol.h"

#include "runtime/component.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

TcxTabControl::TcxTabControl(QWidget *parent)
    : QWidget(parent)
    , m_tabBar(new QTabBar(this))
{
    Rt::seal(m_tabBar);
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);
    m_tabBar->hide();
    connect(m_tabBar, &QTabBar::currentChanged, this, &TcxTabControl::tabIndexChanged);
}

int TcxTabControl::addTab(const QString &caption)
{
    const int index = m_tabBar->addTab(caption);
    if (m_tabBar->isHidden()) {
        m_tabBar->show();
        placeTabBar();
        update();
    }
    return index;
}

int TcxTabControl::tabCount() const
{
    return m_tabBar->count();
}

int TcxTabControl::tabIndex() const
{
    return m_tabBar->currentIndex();
}

void TcxTabControl::setTabIndex(int index)
{
    m_tabBar->setCurrentIndex(index);
}

QRect TcxTabControl::clientRect() const
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return paneRect().adjusted(frame, frame, -frame, -frame);
}

void TcxTabControl::paintEvent(QPaintEvent *)
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = paneRect();
    if (!m_tabBar->isHidden()) {
        option.tabBarSize = m_tabBar->size();
        option.selectedTabRect = m_tabBar->tabRect(m_tabBar->currentIndex());
    }
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}

void TcxTabControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeTabBar();
}

QRect TcxTabControl::paneRect() const
{
    // isHidden, not isVisible: the bar's place is the same before the control is shown.
    const int top = m_tabBar->isHidden() ? 0 : m_tabBar->sizeHint().height();
    return rect().adjusted(0, top, 0, 0);
}

void TcxTabControl::placeTabBar()
{
    m_tabBar->setGeometry(0, 0, width(), m_tabBar->sizeHint().height());
}
