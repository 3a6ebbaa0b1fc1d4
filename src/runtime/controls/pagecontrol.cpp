#include "pagecontrol.h"

#include "runtime/component.h"

#include <QPainter>
#include <QStackedLayout>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QVBoxLayout>

TcxTabSheet::TcxTabSheet(QWidget *parent)
    : QWidget(parent)
{
}

void TcxTabSheet::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    Q_EMIT captionChanged(caption);
}

TcxPageControl::TcxPageControl(QWidget *parent)
    : QWidget(parent)
    , m_tabBar(new QTabBar(this))
    , m_pages(new QStackedLayout)
{
    Rt::seal(m_tabBar);
    m_tabBar->setDrawBase(false);
    m_tabBar->setExpanding(false);

    // Room for the pane's frame around the pages.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    m_pages->setContentsMargins(frame, frame, frame, frame);

    // A layout added to the page control's own layout parents its widgets to the
    // page control itself, unlike QTabWidget's private stack.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabBar);
    layout->addLayout(m_pages);

    connect(m_tabBar, &QTabBar::currentChanged, m_pages, &QStackedLayout::setCurrentIndex);
    connect(m_pages, &QStackedLayout::currentChanged, this, [this](int index) {
        m_tabBar->setCurrentIndex(index);
        Q_EMIT activePageChanged(page(index));
    });
    // A page that is deleted or moved elsewhere leaves the stack; its tab goes too.
    connect(m_pages, &QStackedLayout::widgetRemoved, m_tabBar, &QTabBar::removeTab);
}

TcxTabSheet *TcxPageControl::addPage(const QString &caption)
{
    auto *sheet = new TcxTabSheet(this);
    sheet->setCaption(caption);
    addPage(sheet);
    return sheet;
}

void TcxPageControl::addPage(TcxTabSheet *page)
{
    // The tab comes first: the stack makes its first page current while it is added.
    m_tabBar->addTab(page->caption());
    m_pages->addWidget(page);
    connect(page, &TcxTabSheet::captionChanged, this, [this, page](const QString &caption) {
        const int index = indexOf(page);
        if (index >= 0)
            m_tabBar->setTabText(index, caption);
    });
}

int TcxPageControl::pageCount() const
{
    return m_pages->count();
}

TcxTabSheet *TcxPageControl::page(int index) const
{
    return qobject_cast<TcxTabSheet *>(m_pages->widget(index));
}

int TcxPageControl::indexOf(const TcxTabSheet *page) const
{
    return m_pages->indexOf(page);
}

TcxTabSheet *TcxPageControl::activePage() const
{
    return page(m_pages->currentIndex());
}

void TcxPageControl::setActivePage(TcxTabSheet *page)
{
    const int index = indexOf(page);
    if (index >= 0)
        setActivePageIndex(index);
}

int TcxPageControl::activePageIndex() const
{
    return m_pages->currentIndex();
}

void TcxPageControl::setActivePageIndex(int index)
{
    if (index >= 0 && index < pageCount())
        m_pages->setCurrentIndex(index);
}

void TcxPageControl::paintEvent(QPaintEvent *)
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = m_pages->geometry();
    option.tabBarSize = m_tabBar->size();
    option.selectedTabRect = m_tabBar->tabRect(m_tabBar->currentIndex());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}
