#pragma once

#include "runtime/rtglobal.h"

#include <QLineEdit>

class DropDownPopup;

// A text editor with a drop-down button that opens a popup below it; F4 and
// Alt+Down open it from the keyboard. A read-only edit does not drop down. What the
// popup shows is the subclass's business.
class RT_EXPORT TcxCustomDropDownEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TcxCustomDropDownEdit(QWidget *parent = nullptr);

    bool isDroppedDown() const;
    void dropDown();
    void closePopup();

Q_SIGNALS:
    // The popup has closed, whether a value was picked or not.
    void closeUp();

protected:
    // The widget to show in the popup, made ready for this opening; none keeps the
    // popup shut.
    virtual QWidget *preparePopup() = 0;
    // The popup has just closed; closeUp() follows.
    virtual void popupClosed() {}

    void keyPressEvent(QKeyEvent *event) override;

private:
    DropDownPopup *m_popup;
};
