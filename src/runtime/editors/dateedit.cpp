#include "dateedit.h"

#include "runtime/datetime.h"

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
    // Only the whole form counts while typing: "2024-02-3" on the way to
    // "2024-02-30" is not meant as the third of February.
    if (text.isEmpty())
        setDate(QDate());
    else if (text.size() == dateFormat.size())
        takeDate(text);
}

void TcxDateEdit::restoreText()
{
    // Leaving the edit also takes a shorter form such as "2024-3-5".
    takeDate(text());
    if (text() != dateText(m_date))
        setText(dateText(m_date));
}

void TcxDateEdit::takeDate(const QString &text)
{
    if (const std::optional<QDate> date = Rt::DateTime::parseDate(text))
        setDate(*date);
}

void TcxDateEdit::pick(const QDate &date)
{
    setDate(date);
    closePopup();
}
