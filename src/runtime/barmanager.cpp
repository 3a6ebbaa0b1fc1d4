#include "barmanager.h"
#include "application.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QToolBar>

TdxBarItem::TdxBarItem(QObject *parent)
    : QObject(parent)
    , m_action(new QAction(this))
{
    connect(m_action, &QAction::triggered, this, [this] { Rt::runGuarded([this] { click(); }); });
}

QString TdxBarItem::caption() const
{
    return m_action->text();
}

// A tool button shows its caption without the mnemonic mark and takes no
// shortcut from it, so the action takes it: the shortcut then works anywhere in
// the window that shows the bar, also once the bar is merged into a host's.
void TdxBarItem::setCaption(const QString &caption)
{
    m_action->setText(caption);
    m_action->setShortcut(QKeySequence::mnemonic(caption));
}

QString TdxBarItem::hint() const
{
    return m_action->toolTip();
}

void TdxBarItem::setHint(const QString &hint)
{
    m_action->setToolTip(hint);
    m_action->setStatusTip(hint);
}

void TdxBarItem::setGlyph(const QIcon &icon)
{
    m_glyph = icon;
    updateIcon();
}

void TdxBarItem::setLargeGlyph(const QIcon &icon)
{
    m_largeGlyph = icon;
    updateIcon();
}

bool TdxBarItem::isVisible() const
{
    return m_action->isVisible();
}

void TdxBarItem::setVisible(bool visible)
{
    m_action->setVisible(visible);
}

void TdxBarItem::click()
{
    Q_EMIT clicked();
}

void TdxBarItem::updateIcon()
{
    const bool large = prefersLargeIcon() && !m_largeGlyph.isNull();
    m_action->setIcon(large || m_glyph.isNull() ? m_largeGlyph : m_glyph);
}

TdxBar::TdxBar(QObject *parent)
    : QObject(parent)
{
}

void TdxBar::setCaption(const QString &caption)
{
    m_caption = caption;
    Q_EMIT changed();
}

void TdxBar::setVisible(bool visible)
{
    m_visible = visible;
    Q_EMIT changed();
}

void TdxBar::setWholeRow(bool wholeRow)
{
    m_wholeRow = wholeRow;
    Q_EMIT changed();
}

void TdxBar::setIconSize(const QSize &size)
{
    m_iconSize = size;
    Q_EMIT changed();
}

void TdxBar::addItem(TdxBarItem *item)
{
    m_items.append(item);
    Q_EMIT changed();
}

void TdxBar::clearItems()
{
    m_items.clear();
    Q_EMIT changed();
}

TdxBarManager::TdxBarManager(QObject *parent)
    : QObject(parent)
{
}

TdxBarManager::~TdxBarManager()
{
    if (m_mergedInto)
        m_mergedInto->unmerge(this);
    for (const auto &toolBar : std::as_const(m_toolBars))
        delete toolBar.data();
}

TdxBar *TdxBarManager::addBar(const QString &name)
{
    auto *bar = new TdxBar(this);
    bar->setObjectName(name);
    m_bars.append(bar);
    connect(bar, &TdxBar::changed, this, [this] {
        if (m_mergedInto)
            m_mergedInto->rebuild();
        else
            rebuild();
    });
    rebuild();
    return bar;
}

QWidget *TdxBarManager::topDockControl(QWidget *form, int height)
{
    if (!m_dockControl) {
        m_dockControl = new QWidget(form);
        m_dockControl->setObjectName(QStringLiteral("dxBarDockControlTop"));
        m_dockControl->setMinimumHeight(height);
        m_dockControl->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        auto *layout = new QHBoxLayout(m_dockControl);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        rebuild();
    }
    return m_dockControl;
}

void TdxBarManager::setMainWindow(QMainWindow *window)
{
    m_mainWindow = window;
    rebuild();
}

void TdxBarManager::merge(TdxBarManager *source)
{
    if (!source || source == this || m_merged.contains(source))
        return;
    if (source->m_mergedInto)
        source->m_mergedInto->unmerge(source);
    m_merged.append(source);
    source->m_mergedInto = this;
    source->rebuild();
    rebuild();
}

void TdxBarManager::unmerge(TdxBarManager *source)
{
    if (!m_merged.removeAll(source))
        return;
    source->m_mergedInto = nullptr;
    source->rebuild();
    rebuild();
}

// Drops every tool bar this manager shows and makes them anew from its own bars
// (unless merged elsewhere) and the bars merged into it.
void TdxBarManager::rebuild()
{
    for (const auto &toolBar : std::as_const(m_toolBars))
        delete toolBar.data();
    m_toolBars.clear();

    QWidget *target = m_mainWindow ? static_cast<QWidget *>(m_mainWindow.data())
                                   : m_dockControl.data();
    if (!target)
        return;
    auto *dockLayout = m_mainWindow ? nullptr : static_cast<QHBoxLayout *>(target->layout());
    if (dockLayout) {
        while (QLayoutItem *item = dockLayout->takeAt(0))
            delete item;
    }

    QList<TdxBar *> shown;
    if (!m_mergedInto)
        shown = m_bars;
    for (const auto &source : std::as_const(m_merged)) {
        if (source)
            shown += source->m_bars;
    }

    for (TdxBar *bar : std::as_const(shown)) {
        if (!bar->isVisible())
            continue;
        QToolBar *toolBar = createToolBar(bar, target);
        if (m_mainWindow) {
            if (bar->wholeRow())
                m_mainWindow->addToolBarBreak();
            m_mainWindow->addToolBar(Qt::TopToolBarArea, toolBar);
        } else {
            dockLayout->addWidget(toolBar, bar->wholeRow() ? 1 : 0);
        }
        m_toolBars.append(toolBar);
    }
    if (dockLayout) {
        dockLayout->addStretch();
        // An empty dock area (its bars merged elsewhere) takes no room in the form.
        target->setVisible(!m_toolBars.isEmpty());
    }
}

QToolBar *TdxBarManager::createToolBar(TdxBar *bar, QWidget *parent) const
{
    auto *toolBar = new QToolBar(bar->caption(), parent);
    toolBar->setObjectName(bar->objectName());
    toolBar->setIconSize(bar->iconSize());
    toolBar->setToolButtonStyle(bar->iconSize().height() > 16 ? Qt::ToolButtonTextUnderIcon
                                                              : Qt::ToolButtonTextBesideIcon);
    toolBar->setMovable(false);
    for (TdxBarItem *item : bar->items())
        toolBar->addAction(item->action());
    return toolBar;
}
