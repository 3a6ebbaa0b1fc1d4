#pragma once

#include <QFrame>

// The window a drop-down edit opens below itself. It closes as popups do (a click
// outside it, Esc) and reports every closing, however it came about.
class DropDownPopup : public QFrame
{
    Q_OBJECT
public:
    explicit DropDownPopup(QWidget *owner);

    // Opens with content filling it, below anchor or above it when the screen ends
    // too soon: at least as wide as anchor, otherwise as large as content was made.
    void open(QWidget *content, const QWidget *anchor);

Q_SIGNALS:
    void closed();

protected:
    void hideEvent(QHideEvent *event) override;
};
