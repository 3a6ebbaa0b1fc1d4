#pragma once

#include <QPointer>
#include <functional>

class QLabel;
class QPushButton;
class QWidget;

// The wait notice: a framed text over the middle of the host's window, painted at
// once so that it shows during the work that follows. Hiding it twice is harmless.
// A notice may offer 取消, which calls back whoever can stop the work.
class WaitNotice
{
public:
    // Shows the notice while it lives, then puts back what stood before.
    class Scope
    {
    public:
        Scope(WaitNotice &notice, const QString &text, std::function<void()> cancel = {});
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        WaitNotice &m_notice;
        const bool m_wasShown;
        const QString m_previousText;
    };

    explicit WaitNotice(QWidget *window);
    ~WaitNotice();

    void show(const QString &text);
    void hide();
    bool isShown() const;
    QString text() const;
    QWidget *window() const { return m_window; }
    // The 取消 button, while a notice offers it.
    QPushButton *cancelButton() const;

private:
    void offerCancel(std::function<void()> cancel);

    QPointer<QWidget> m_window;
    QPointer<QLabel> m_label;
    QPointer<QPushButton> m_cancel;
    std::function<void()> m_cancelWork;
    bool m_shown = false;
};
