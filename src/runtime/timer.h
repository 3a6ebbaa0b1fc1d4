#pragma once

#include "rtglobal.h"

#include <QTimer>

// A timer that runs while it is enabled and ticks on the owning thread's event
// loop, also while a modal window runs its own loop.
class RT_EXPORT TTimer : public QTimer
{
    Q_OBJECT
public:
    explicit TTimer(QObject *parent = nullptr);

    bool enabled() const { return isActive(); }
    void setEnabled(bool enabled);
};
