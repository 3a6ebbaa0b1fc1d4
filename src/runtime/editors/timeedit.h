#pragma once

#include "runtime/rtglobal.h"

#include <QColor>
#include <QTimeEdit>

// A time-of-day editor in hours and minutes. Read-only, it takes the tint of a
// window's background so that it does not look editable.
class RT_EXPORT TcxTimeEdit : public QTimeEdit
{
    Q_OBJECT
public:
    explicit TcxTimeEdit(QWidget *parent = nullptr);

    // "HH:MM" with leading zeros.
    QString text() const;
    // Takes "HH:MM"; any other text leaves the time as it is.
    void setText(const QString &text);

Q_SIGNALS:
    // The time has changed, by a single keystroke or a step as much as by setText().
    void changed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyReadOnlyTint();

    // Valid while the tint is on.
    QColor m_editableBase;
};
