#include "timeedit.h"

#include <QEvent>

using namespace Qt::StringLiterals;

namespace {
const QString timeFormat = u"HH:mm"_s;
} // namespace

TcxTimeEdit::TcxTimeEdit(QWidget *parent)
    : QTimeEdit(parent)
{
    setDisplayFormat(timeFormat);
    connect(this, &QTimeEdit::timeChanged, this, &TcxTimeEdit::changed);
}

QString TcxTimeEdit::text() const
{
    return time().toString(timeFormat);
}

void TcxTimeEdit::setText(const QString &text)
{
    const QTime time = QTime::fromString(text, timeFormat);
    if (time.isValid())
        setTime(time);
}

void TcxTimeEdit::changeEvent(QEvent *event)
{
    QTimeEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange)
        applyReadOnlyTint();
}

// The editable background is kept while tinted; setting read-only twice keeps it.
void TcxTimeEdit::applyReadOnlyTint()
{
    const bool tinted = m_editableBase.isValid();
    if (isReadOnly() == tinted)
        return;
    QPalette palette = this->palette();
    if (isReadOnly()) {
        m_editableBase = palette.color(QPalette::Base);
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    } else {
        palette.setColor(QPalette::Base, m_editableBase);
        m_editableBase = QColor();
    }
    setPalette(palette);
}
