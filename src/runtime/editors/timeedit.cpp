#include "timeedit.h"
#include "typedentry_p.h"

#include "runtime/datetime.h"

#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString timeFormat = u"HH:mm"_s;
// Where the minutes start in the shown text.
constexpr int minutePosition = 3;

// A text that cannot grow into a longer form: four digits, or minutes after the
// colon.
bool isWhole(const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    return colon < 0 ? text.size() == 4 : text.size() - colon - 1 == 2;
}

} // namespace

TcxTimeEdit::TcxTimeEdit(QWidget *parent)
    : QAbstractSpinBox(parent)
    , m_entry(new TypedEntry(this, lineEdit(), [this] { commitTypedText(); }))
{
    showTime();
    connect(lineEdit(), &QLineEdit::textEdited, this, &TcxTimeEdit::takeTypedText);
    connect(this, &QAbstractSpinBox::editingFinished, this, &TcxTimeEdit::commitTypedText);
}

void TcxTimeEdit::setTime(const QTime &time)
{
    if (!time.isValid())
        return;
    const QTime minutes(time.hour(), time.minute());
    m_entry->clearRefusal();
    if (lineEdit()->text() != minutes.toString(timeFormat))
        lineEdit()->setText(minutes.toString(timeFormat));
    if (minutes == m_time)
        return;
    m_time = minutes;
    Q_EMIT changed();
}

QString TcxTimeEdit::text() const
{
    return m_time.toString(timeFormat);
}

void TcxTimeEdit::setText(const QString &text)
{
    const QTime time = QTime::fromString(text, timeFormat);
    if (time.isValid())
        setTime(time);
}

bool TcxTimeEdit::isInputRefused() const
{
    return m_entry->isRefused();
}

// With the whole value selected, as after taking the focus, Up and Down step the
// hours; otherwise the section the caret is in. The stepped section stays
// selected, so that typing replaces it.
void TcxTimeEdit::stepBy(int steps)
{
    const bool hours = lineEdit()->selectedText() == lineEdit()->text()
                       || lineEdit()->cursorPosition() < minutePosition;
    commitTypedText();
    int hour = m_time.hour();
    int minute = m_time.minute();
    if (hours)
        hour = std::clamp(hour + steps, 0, 23);
    else
        minute = std::clamp(minute + steps, 0, 59);
    setTime(QTime(hour, minute));
    lineEdit()->setSelection(hours ? 0 : minutePosition, 2);
}

// Digits and one colon, in the shape of a time: the keystrokes that could lead
// to one. Whether the hours and minutes exist is decided when the text is taken.
QValidator::State TcxTimeEdit::validate(QString &input, int &) const
{
    qsizetype colon = -1;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c == u':' && colon < 0)
            colon = i;
        else if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    }
    const bool tooLong = colon < 0 ? input.size() > 4 : colon > 2 || input.size() - colon - 1 > 2;
    if (tooLong)
        return QValidator::Invalid;
    return Rt::DateTime::parseTypedTime(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

QAbstractSpinBox::StepEnabled TcxTimeEdit::stepEnabled() const
{
    return isReadOnly() ? StepNone : StepUpEnabled | StepDownEnabled;
}

void TcxTimeEdit::takeTypedText(const QString &text)
{
    m_entry->clearRefusal();
    if (isWhole(text))
        takeOrRefuse(text);
}

void TcxTimeEdit::commitTypedText()
{
    const QString typed = lineEdit()->text();
    if (typed == text())
        return;
    if (typed.isEmpty())
        showTime();
    else
        takeOrRefuse(typed);
}

void TcxTimeEdit::takeOrRefuse(const QString &text)
{
    if (const std::optional<QTime> time = Rt::DateTime::parseTypedTime(text)) {
        setTime(*time);
        return;
    }
    showTime();
    if (hasFocus())
        lineEdit()->selectAll();
    m_entry->refuse(u"“%1”不是有效的时间，请输入如 0800、8:00 或 17:30"_s.arg(text));
}

void TcxTimeEdit::showTime()
{
    lineEdit()->setText(text());
}

QSize TcxTimeEdit::sizeHint() const
{
    ensurePolished();
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    // The widest "HH:MM", and a little for the caret, as the spin box counts.
    const QSize text(fontMetrics().horizontalAdvance(u"00:00"_s) + 2,
                     lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

void TcxTimeEdit::changeEvent(QEvent *event)
{
    QAbstractSpinBox::changeEvent(event);
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
