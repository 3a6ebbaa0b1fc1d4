#pragma once

#include "runtime/rtglobal.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

// Images of one size that controls refer to by index.
class RT_EXPORT TImageList : public QObject
{
    Q_OBJECT
public:
    explicit TImageList(QObject *parent = nullptr);
    explicit TImageList(const QSize &imageSize, QObject *parent = nullptr);

    QSize imageSize() const { return m_imageSize; }

    // Adds an image after the last and returns its index.
    int add(const QIcon &icon);
    int count() const { return int(m_icons.size()); }
    // A null icon outside 0 .. count - 1, as an index of -1 means "no image".
    QIcon icon(int index) const;

private:
    QSize m_imageSize;
    QList<QIcon> m_icons;
};
