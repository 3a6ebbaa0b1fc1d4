#pragma once

#include "runtime/rtglobal.h"

#include <QCheckBox>

// A check box with its caption beside it.
class RT_EXPORT TcxCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit TcxCheckBox(QWidget *parent = nullptr);
    explicit TcxCheckBox(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
};
