#pragma once

#include <QPointer>

class QLabel;
class QWidget;

// The wait notice: a framed text over the middle of the host's window, painted at
// once so that it shows during the work that follows. Hiding it twice is harmless.
class WaitNotice
{
public:
    explicit WaitNotice(QWidget *window);
    ~WaitNotice();

    void show(const QString &text);
    void hide();
    bool isShown() const;
    QString text() const;

private:
    QPointer<QWidget> m_window;
    QPointer<QLabel> m_label;
    bool m_shown = false;
};
