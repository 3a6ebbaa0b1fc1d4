#include "timer.h"

TTimer::TTimer(QObject *parent)
    : QTimer(parent)
{
}

void TTimer::setEnabled(bool enabled)
{
    if (enabled)
        start();
    else
        stop();
}
