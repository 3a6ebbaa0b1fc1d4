#pragma once

#include "runtime/editors/dropdownedit.h"

#include <QDate>

class QCalendarWidget;

// A date editor showing "yyyy-mm-dd", with a calendar to drop down. It can be
// empty: no text and an invalid date, which is how it starts. Typed text counts as
// soon as it is a whole valid date (or nothing); anything else is put back to the
// last date when editing ends.
class RT_EXPORT TcxDateEdit : public TcxCustomDropDownEdit
{
    Q_OBJECT
public:
    explicit TcxDateEdit(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    // An invalid date empties the edit.
    void setDate(const QDate &date);

Q_SIGNALS:
    void dateChanged(const QDate &date);

protected:
    QWidget *preparePopup() override;

private:
    void acceptTypedText(const QString &text);
    void restoreText();
    void takeDate(const QString &text);
    void pick(const QDate &date);

    QDate m_date;
    QCalendarWidget *m_calendar;
};
