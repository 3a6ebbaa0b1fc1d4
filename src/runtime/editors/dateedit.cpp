#include "dateedit.h"
#include "typedentry_p.h"

#include "runtime/datetime.h"

#include <QCalendarWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString dateFormat = u"yyyy-MM-dd"_s;

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(dateFormat) : QString();
}

// A text that no further keystroke would make a different date: "2024-02-3" on the
// way to "2024-02-30" is not meant as the third of February.
bool isWhole(const QString &text)
{
    const bool digitsOnly =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return text.size() == dateFormat.size() || (digitsOnly && text.size() == 8);
}

} // namespace

TcxDateEdit::TcxDateEdit(QWidget *parent)
    : TcxCustomDropDownEdit(parent)
    , m_calendar(new QCalendarWidget(this))
    , m_entry(new TypedEntry(this, this, [this] { commitTypedText(); }))
{
    // Kept hidden in the edit until the first drop-down moves it into the popup.
    m_calendar->hide();
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Month and day names in Chinese like the rest of the interface, whatever the
    // machine's language.
    m_calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    connect(m_calendar, &QCalendarWidget::clicked, this, &TcxDateEdit::pick);
    connect(m_calendar, &QCalendarWidget::activated, this, &TcxDateEdit::pick);
    connect(this, &QLineEdit::textEdited, this, &TcxDateEdit::takeTypedText);
    connect(this, &QLineEdit::editingFinished, this, &TcxDateEdit::commitTypedText);
}

void TcxDateEdit::setDate(const QDate &date)
{
    m_entry->clearRefusal();
    if (text() != dateText(date))
        setText(dateText(date));
    if (date == m_date)
        return;
    m_date = date;
    Q_EMIT dateChanged(date);
}

bool TcxDateEdit::isInputRefused() const
{
    return m_entry->isRefused();
}

QWidget *TcxDateEdit::preparePopup()
{
    m_calendar->setSelectedDate(m_date.isValid() ? m_date : QDate::currentDate());
    return m_calendar;
}

void TcxDateEdit::takeTypedText(const QString &text)
{
    m_entry->clearRefusal();
    if (text.isEmpty())
        setDate(QDate());
    else if (isWhole(text))
        takeOrRefuse(text);
}

void TcxDateEdit::commitTypedText()
{
    if (text().isEmpty())
        setDate(QDate());
    else if (text() != dateText(m_date))
        takeOrRefuse(text());
}

void TcxDateEdit::takeOrRefuse(const QString &text)
{
    const std::optional<QDate> date =
        Rt::DateTime::parseTypedDate(text, QDate::currentDate().year());
    if (date) {
        setDate(*date);
        return;
    }
    setText(dateText(m_date));
    if (hasFocus())
        selectAll();
    m_entry->refuse(u"“%1”不是有效的日期，请输入如 2026-12-06、20261206 或 12-06"_s.arg(text));
}

void TcxDateEdit::pick(const QDate &date)
{
    setDate(date);
    closePopup();
}
