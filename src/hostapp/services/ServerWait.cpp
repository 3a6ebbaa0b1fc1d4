#include "ServerWait.h"

#include "WaitNotice.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QSocketNotifier>

using namespace Qt::StringLiterals;

namespace {

// Holds back the operator's input, but for one button, while it lives.
class InputHold : public QObject
{
public:
    explicit InputHold(QObject *exception)
        : m_exception(exception)
    {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::Close:
            return watched != m_exception;
        default:
            return false;
        }
    }

private:
    QObject *m_exception;
};

} // namespace

void waitForServer(WaitNotice &notice, const PgConnection::SlowStatement &statement)
{
    const WaitNotice::Scope shown(notice, u"正在等待数据库服务器的答复……"_s, statement.cancel);
    const InputHold hold(notice.cancelButton());
    QEventLoop loop;
    QSocketNotifier readable(statement.socket, QSocketNotifier::Read);
    QObject::connect(&readable, &QSocketNotifier::activated, &loop, [&] {
        if (statement.answered())
            loop.quit();
    });
    if (!statement.answered())
        loop.exec();
}
