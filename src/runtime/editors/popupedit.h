#pragma once

#include "runtime/editors/dropdownedit.h"

#include <QPointer>
#include <QRect>

// A text editor whose drop-down shows a control of the form, a tree of departments
// for instance. The control lives on the form, hidden; while the popup is open it
// is lent to the popup at the size it was given, and afterwards handed back.
class RT_EXPORT TcxPopupEdit : public TcxCustomDropDownEdit
{
    Q_OBJECT
public:
    explicit TcxPopupEdit(QWidget *parent = nullptr);
    ~TcxPopupEdit() override;

    QWidget *popupControl() const { return m_control; }
    void setPopupControl(QWidget *control);

protected:
    QWidget *preparePopup() override;
    void popupClosed() override;

private:
    void returnControl();

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_home;
    QRect m_homeGeometry;
    bool m_lent = false;
};
