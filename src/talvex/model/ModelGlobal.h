#pragma once

#include <QtCore/qglobal.h>

// The entity objects and their list form a small shared library that host and
// plug-in both use, so that both sides share one definition of each class.
#if defined(TALVEX_MODEL_LIBRARY)
#define MODEL_EXPORT Q_DECL_EXPORT
#else
#define MODEL_EXPORT Q_DECL_IMPORT
#endif
