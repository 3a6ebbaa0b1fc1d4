#pragma once

#include "runtime/editors/charcase.h"
#include "runtime/rtglobal.h"

#include <QLineEdit>

class EditButtons;

// A text editor with buttons inside its right edge, an ellipsis button to begin
// with. The buttons work in a read-only edit too: there they are the only way to
// change the value, usually through a picker.
class RT_EXPORT TcxButtonEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TcxButtonEdit(QWidget *parent = nullptr);

    // Adds a button after the last one and returns its index.
    int addButton(const QString &caption);
    int buttonCount() const;

    Rt::CharCase charCase() const { return m_charCase; }
    void setCharCase(Rt::CharCase charCase);

Q_SIGNALS:
    void buttonClick(int index);

private:
    EditButtons *m_buttons;
    Rt::CharCase m_charCase = Rt::CharCase::Normal;
};
