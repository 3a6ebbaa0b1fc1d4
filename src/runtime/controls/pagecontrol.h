#pragma once

#include "runtime/rtglobal.h"

#include <QWidget>

class QStackedLayout;
class QTabBar;

// One page of a page control; its caption is the text of its tab.
class RT_EXPORT TcxTabSheet : public QWidget
{
    Q_OBJECT
public:
    explicit TcxTabSheet(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

Q_SIGNALS:
    void captionChanged(const QString &caption);

private:
    QString m_caption;
};

// Pages behind a row of tabs, one shown at a time. The pages are direct children
// of the page control, so walking a form's components reaches them and everything
// placed on them.
class RT_EXPORT TcxPageControl : public QWidget
{
    Q_OBJECT
public:
    explicit TcxPageControl(QWidget *parent = nullptr);

    // Creates a page with that caption after the last one.
    TcxTabSheet *addPage(const QString &caption);
    // Moves page into this control after the last page.
    void addPage(TcxTabSheet *page);

    int pageCount() const;
    TcxTabSheet *page(int index) const;
    // -1 when page is not one of this control's pages.
    int indexOf(const TcxTabSheet *page) const;

    TcxTabSheet *activePage() const;
    void setActivePage(TcxTabSheet *page);
    int activePageIndex() const;
    void setActivePageIndex(int index);

Q_SIGNALS:
    void activePageChanged(TcxTabSheet *page);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTabBar *m_tabBar;
    QStackedLayout *m_pages;
};
