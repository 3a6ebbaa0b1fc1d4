#pragma once

#include <QtCore/qglobal.h>

// Symbols of the shared runtime library that host and plug-in both use.
#if defined(TALVEX_RUNTIME_LIBRARY)
#define RT_EXPORT Q_DECL_EXPORT
#else
#define RT_EXPORT Q_DECL_IMPORT
#endif
