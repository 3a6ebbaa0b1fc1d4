#include "editbuttons_p.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

EditButtons::EditButtons(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
{
    edit->installEventFilter(this);
}

QToolButton *EditButtons::add()
{
    auto *button = new QToolButton(m_edit);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    m_buttons.append(button);
    placeButtons();
    return button;
}

bool EditButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit
        && (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange))
        placeButtons();
    return false;
}

// Square buttons filling the edit's height inside its frame, rightmost last.
void EditButtons::placeButtons()
{
    const int frame = m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edit);
    const int height = m_edit->height() - 2 * frame;
    int right = m_edit->width() - frame;
    for (auto it = m_buttons.crbegin(); it != m_buttons.crend(); ++it) {
        right -= height;
        (*it)->setGeometry(right, frame, height, height);
    }
    m_edit->setTextMargins(0, 0, m_edit->width() - frame - right, 0);
}
