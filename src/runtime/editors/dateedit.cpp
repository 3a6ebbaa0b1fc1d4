#include "dateedit.h"

#include <QCalendarWidget>

using namespace Qt::StringLiterals;

namespace {

const QString dateFormat = u"yyyy-MM-dd"_s;

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(dateFormat) : QString();
}

} // namespace

TcxDateEdit::TcxDateEdit(QWidget *parent)
    : TcxCustomDropDownEdit(parent)
    , m_calendar(new QCalendarWidget(this))
{
    // Kept hidden in the edit until the first drop-down moves it into the popup.
    m_calendar->hide();
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(m_calendar, &QCalendarWidget::clicked, this, &TcxDateEdit::pick);
    connect(m_calendar, &QCalendarWidget::activated, this, &TcxDateEdit::pick);
    connect(this, &QLineEdit::textEdited, this, &TcxDateEdit::acceptTypedText);
    connect(this, &QLineEdit::editingFinished, this, &TcxDateEdit::restoreText);
}

void TcxDateEdit::setDate(const QDate &date)
{
    if (text() != dateText(date))
        setText(dateText(date));
    if (date == m_date)
        return;
    m_date = date;
    Q_EMIT dateChanged(date);
}

QWidget *TcxDateEdit::preparePopup()
{
    m_calendar->setSelectedDate(m_date.isValid() ? m_date : QDate::currentDate());
    return m_calendar;
}

void TcxDateEdit::acceptTypedText(const QString &text)
{
    // The format is strict: "2024-3-5" or a date still being typed does not count.
    const QDate date = QDate::fromString(text, dateFormat);
    if (date.isValid() || text.isEmpty())
        setDate(date);
}

void TcxDateEdit::restoreText()
{
    if (text() != dateText(m_date))
        setText(dateText(m_date));
}

void TcxDateEdit::pick(const QDate &date)
{
    setDate(date);
    closePopup();
}
