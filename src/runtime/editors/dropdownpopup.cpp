#include "dropdownpopup_p.h"

#include <QScreen>
#include <QVBoxLayout>

DropDownPopup::DropDownPopup(QWidget *owner)
    : QFrame(owner, Qt::Popup)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // A click on the drop-down button while open only closes the popup; replayed to
    // the button it would open it again at once.
    setAttribute(Qt::WA_NoMouseReplay);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void DropDownPopup::open(QWidget *content, const QWidget *anchor)
{
    const QSize contentSize =
        content->testAttribute(Qt::WA_Resized) ? content->size() : content->sizeHint();
    if (content->parentWidget() != this)
        layout()->addWidget(content);
    const QMargins margins = layout()->contentsMargins() + contentsMargins();
    const QSize size(qMax(contentSize.width() + margins.left() + margins.right(), anchor->width()),
                     contentSize.height() + margins.top() + margins.bottom());

    QPoint position = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen *screen = anchor->screen()) {
        const QRect available = screen->availableGeometry();
        if (position.y() + size.height() > available.bottom())
            position.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - size.height());
        position.setX(qBound(available.left(), position.x(), available.right() - size.width()));
    }
    setGeometry(QRect(position, size));
    content->show();
    show();
    content->setFocus(Qt::PopupFocusReason);
}

void DropDownPopup::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}
