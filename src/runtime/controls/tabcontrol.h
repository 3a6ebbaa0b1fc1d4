#pragma once

#include "runtime/rtglobal.h"

#include <QWidget>

class QTabBar;

// A framed area with an optional row of tabs along its top. The controls placed on
// it are its own children at absolute positions; the tabs only select what the
// owner shows there. Without tabs it is a plain framed bar.
class RT_EXPORT TcxTabControl : public QWidget
{
    Q_OBJECT
public:
    explicit TcxTabControl(QWidget *parent = nullptr);

    // Adds a tab after the last one and returns its index.
    int addTab(const QString &caption);
    int tabCount() const;
    int tabIndex() const;
    void setTabIndex(int index);

    // The area inside the frame and below the tabs.
    QRect clientRect() const;

Q_SIGNALS:
    void tabIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect paneRect() const;
    void placeTabBar();

    QTabBar *m_tabBar;
};
