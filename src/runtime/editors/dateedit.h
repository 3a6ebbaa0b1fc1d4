#pragma once

#include "runtime/editors/dropdownedit.h"

#include <QDate>

class QCalendarWidget;
class TypedEntry;

// A date editor showing "yyyy-mm-dd", with a calendar to drop down. It can be
// empty: no text and an invalid date, which is how it starts. Operators type the
// date as they write it ("2026-12-06", "20261206", "2026/12/6", or "12-06" and
// "1206" for a day of this year): a whole "yyyy-mm-dd" or eight digits count at
// once, the other forms when editing ends. A date that does not exist is refused
// visibly and the box keeps its date, so that its text is always a real date or
// nothing.
class RT_EXPORT TcxDateEdit : public TcxCustomDropDownEdit
{
    Q_OBJECT
public:
    explicit TcxDateEdit(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    // An invalid date empties the edit.
    void setDate(const QDate &date);
    // The last text typed was refused, and the box shows it.
    bool isInputRefused() const;

Q_SIGNALS:
    void dateChanged(const QDate &date);

protected:
    QWidget *preparePopup() override;

private:
    void takeTypedText(const QString &text);
    void commitTypedText();
    void takeOrRefuse(const QString &text);
    void pick(const QDate &date);

    QDate m_date;
    QCalendarWidget *m_calendar;
    TypedEntry *m_entry;
};
