#pragma once

#include "runtime/rtglobal.h"

#include <QAbstractSpinBox>
#include <QColor>
#include <QTime>

class TypedEntry;

// A time-of-day editor in hours and minutes, "HH:MM". Operators type the time as
// they write it ("0800", "800", "8:00", "8", "17:30"): a whole "HHMM" or "H:MM"
// counts at once, a shorter form when editing ends; an impossible time is refused
// visibly and the box keeps its time. Up and Down step the hours or the minutes,
// whichever the caret is in. Read-only, the box takes the tint of a window's
// background so that it does not look editable.
class RT_EXPORT TcxTimeEdit : public QAbstractSpinBox
{
    Q_OBJECT
public:
    explicit TcxTimeEdit(QWidget *parent = nullptr);

    // Starts at 00:00; seconds are dropped.
    QTime time() const { return m_time; }
    void setTime(const QTime &time);
    // The time as "HH:MM" with leading zeros, whatever is being typed.
    QString text() const;
    // Takes "HH:MM"; any other text leaves the time as it is.
    void setText(const QString &text);
    // The last text typed was refused, and the box shows it.
    bool isInputRefused() const;

    void stepBy(int steps) override;
    // Room for any time of day: the spin box's own hint measures values this
    // box does not give it, and comes out too narrow for "HH:MM" in a layout.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // The time has changed, by a keystroke or a step as much as by setTime().
    void changed();

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    StepEnabled stepEnabled() const override;
    void changeEvent(QEvent *event) override;

private:
    void takeTypedText(const QString &text);
    void commitTypedText();
    void takeOrRefuse(const QString &text);
    void showTime();
    void applyReadOnlyTint();

    QTime m_time{0, 0};
    TypedEntry *m_entry;
    // Valid while the tint is on.
    QColor m_editableBase;
};
