#include "typedentry_p.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <utility>

namespace {

// A red frame over the box, drawn above its children and blind to the mouse.
class RefusalFrame : public QWidget
{
public:
    explicit RefusalFrame(QWidget *box)
        : QWidget(box)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::red, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

} // namespace

TypedEntry::TypedEntry(QWidget *box, QLineEdit *edit, std::function<void()> commit)
    : QObject(box)
    , m_box(box)
    , m_edit(edit)
    , m_commit(std::move(commit))
    , m_frame(new RefusalFrame(box))
{
    box->installEventFilter(this);
    if (edit != box)
        edit->installEventFilter(this);
}

void TypedEntry::refuse(const QString &reason)
{
    m_frame->setGeometry(m_box->rect());
    m_frame->raise();
    m_frame->show();
    m_box->setToolTip(reason);
    if (m_box->isVisible())
        QToolTip::showText(m_box->mapToGlobal(QPoint(0, m_box->height())), reason, m_box);
}

void TypedEntry::clearRefusal()
{
    if (!isRefused())
        return;
    m_frame->hide();
    m_box->setToolTip(QString());
    QToolTip::hideText();
}

bool TypedEntry::isRefused() const
{
    return !m_frame->isHidden();
}

bool TypedEntry::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        focusedIn(static_cast<QFocusEvent *>(event)->reason());
        break;
    case QEvent::FocusOut:
    case QEvent::KeyPress:
        m_selectsOnClick = false;
        break;
    case QEvent::MouseButtonPress:
        if (watched == m_edit && std::exchange(m_selectsOnClick, false))
            return true;
        break;
    case QEvent::ShortcutOverride:
        if (static_cast<QKeyEvent *>(event)->modifiers() & Qt::AltModifier)
            m_commit();
        break;
    case QEvent::Resize:
        if (watched == m_box)
            m_frame->setGeometry(m_box->rect());
        break;
    default:
        break;
    }
    return false;
}

void TypedEntry::focusedIn(Qt::FocusReason reason)
{
    // Closing a popup keeps the caret where it was, and so does coming back to the
    // window in the middle of typing.
    if (reason == Qt::PopupFocusReason)
        return;
    if (reason == Qt::ActiveWindowFocusReason && m_edit->isModified())
        return;
    m_edit->selectAll();
    // The first click into the box selects the whole value too, also when the
    // focus came without one (the box a dialog opens with): until a key is pressed
    // it would only put the caret where it landed, which undoes the selection.
    m_selectsOnClick = true;
    if (reason == Qt::MouseFocusReason) {
        // The press that gave the focus follows at once, before the event loop
        // runs again; a press on one of the box's buttons never reaches the edit.
        QTimer::singleShot(0, this, [this] { m_selectsOnClick = false; });
    }
}
