#pragma once

#include <QObject>

// The passes over a window's components (styling, the generic commands) compare
// classes exactly unless they say that descendants match too.
template <typename... Classes> bool isExactly(const QObject *object)
{
    if (!object)
        return false;
    const QMetaObject *meta = object->metaObject();
    return ((meta == &Classes::staticMetaObject) || ...);
}
