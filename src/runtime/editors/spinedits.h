#pragma once

#include "runtime/rtglobal.h"

#include <QDoubleSpinBox>
#include <QSpinBox>

// An integer editor with up and down buttons. Unlike a plain spin box it has no
// range of its own until one is set.
class RT_EXPORT TcxSpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit TcxSpinEdit(QWidget *parent = nullptr);
};

// An amount of money: two decimals, and no range of its own until one is set.
class RT_EXPORT TcxCurrencyEdit : public QDoubleSpinBox
{
    Q_OBJECT
public:
    explicit TcxCurrencyEdit(QWidget *parent = nullptr);
};
