#include "SettledScreenshot.h"

#include "hostapp/commands/Terminal.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The time a window takes to show, load its first rows and lay itself out.
constexpr int settleMs = 1500;

QPixmap withModalOnTop(QWidget &window)
{
    QPixmap picture = window.grab();
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == &window)
        return picture;
    const QPixmap box = modal->grab();
    const QPoint topLeft = window.mapFromGlobal(modal->mapToGlobal(QPoint(0, 0)));
    // Without a window system the box may sit anywhere; keep it inside the picture.
    const QPoint inside(qBound(0, topLeft.x(), qMax(0, picture.width() - box.width())),
                        qBound(0, topLeft.y(), qMax(0, picture.height() - box.height())));
    QPainter(&picture).drawPixmap(inside, box);
    return picture;
}

} // namespace

SettledScreenshot::SettledScreenshot(QWidget &window, QString path)
    : m_window(window)
    , m_path(std::move(path))
{
    // Armed before the window opens: the timer also fires inside a message
    // box's own loop.
    QTimer::singleShot(settleMs, this, [this] { take(); });
}

void SettledScreenshot::take()
{
    m_taken = true;
    m_saved = withModalOnTop(m_window).save(m_path);
    Terminal::say(m_saved ? u"截图已保存：%1"_s.arg(m_path) : u"无法保存截图 %1。"_s.arg(m_path));
    // Ends every running loop, a message box's too.
    QCoreApplication::exit(m_saved ? 0 : 1);
}
