#pragma once

#include "rtglobal.h"

#include <QList>

class QObject;

// Components are QObjects. What the classic form model calls "the components a
// form owns" is, here, the QObject tree below a form or frame, in creation order,
// where nested forms and frames own their own components and composite controls
// (grids' inner views, editors' inner line edits) keep their internals private.
namespace Rt {

// The integer every component carries for its owner's use (right codes, the
// export exclusion mark).
RT_EXPORT int tag(const QObject *component);
RT_EXPORT void setTag(QObject *component, int tag);

// A form or frame: owns the components created inside it.
RT_EXPORT bool isOwner(const QObject *component);

// The components that owner owns, depth first in creation order. A nested owner is
// listed but not entered; a sealed control is listed but its internals are not.
// Only forms and frames own components: for anything else the list is empty.
RT_EXPORT QList<QObject *> ownedComponents(const QObject *owner);

// Marks a control whose child objects are private parts of it, not components.
RT_EXPORT void seal(QObject *control);

} // namespace Rt
