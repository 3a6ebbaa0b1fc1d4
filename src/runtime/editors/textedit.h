#pragma once

#include "runtime/editors/charcase.h"
#include "runtime/rtglobal.h"

#include <QLineEdit>

// A single-line text editor with a focused style. Read-only and the maximum length
// are the line edit's own.
class RT_EXPORT TcxTextEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TcxTextEdit(QWidget *parent = nullptr);

    Rt::CharCase charCase() const { return m_charCase; }
    void setCharCase(Rt::CharCase charCase);

private:
    Rt::CharCase m_charCase = Rt::CharCase::Normal;
};
