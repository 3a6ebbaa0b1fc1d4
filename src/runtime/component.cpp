#include "component.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr char tagProperty[] = "Tag";
constexpr char sealedProperty[] = "rtSealed";
constexpr char ownerClassInfo[] = "RtOwner";

// Qt's own composite widgets are sealed by nature: their children are internals.
bool isSealed(const QObject *object)
{
    if (object->property(sealedProperty).toBool())
        return true;
    return qobject_cast<const QAbstractScrollArea *>(object)
        || qobject_cast<const QAbstractSpinBox *>(object)
        || qobject_cast<const QComboBox *>(object) || qobject_cast<const QLineEdit *>(object);
}

void collect(const QObject *parent, QList<QObject *> &result)
{
    for (QObject *child : parent->children()) {
        result.append(child);
        if (!Rt::isOwner(child) && !isSealed(child))
            collect(child, result);
    }
}

} // namespace

namespace Rt {

int tag(const QObject *component)
{
    return component->property(tagProperty).toInt();
}

void setTag(QObject *component, int tag)
{
    component->setProperty(tagProperty, tag);
}

bool isOwner(const QObject *component)
{
    return component->metaObject()->indexOfClassInfo(ownerClassInfo) >= 0;
}

QList<QObject *> ownedComponents(const QObject *owner)
{
    QList<QObject *> result;
    if (owner && isOwner(owner))
        collect(owner, result);
    return result;
}

void seal(QObject *control)
{
    control->setProperty(sealedProperty, true);
}

} // namespace Rt
