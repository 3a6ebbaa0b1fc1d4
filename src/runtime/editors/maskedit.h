#pragma once

#include "runtime/rtglobal.h"

#include <QLineEdit>

// A text editor that only takes text fitting its edit mask.
//
// The mask is written in the classic form "mask;save literals;blank", for instance
// "!0000-00-00;1;_": 0 a digit, 9 an optional digit, L a letter, l an optional
// letter, A a letter or digit, a an optional one, C any character, c an optional
// one, # an optional digit or sign, > and < upper and lower case from there on, <>
// case left alone, \ the next character taken literally, _ a blank; anything else
// is a literal. The literals always stay in text().
class RT_EXPORT TcxMaskEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TcxMaskEdit(QWidget *parent = nullptr);

    QString editMask() const { return m_editMask; }
    void setEditMask(const QString &mask);

private:
    QString m_editMask;
};
