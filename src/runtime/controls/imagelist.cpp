#include "imagelist.h"

TImageList::TImageList(QObject *parent)
    : TImageList(QSize(16, 16), parent)
{
}

TImageList::TImageList(const QSize &imageSize, QObject *parent)
    : QObject(parent)
    , m_imageSize(imageSize)
{
}

int TImageList::add(const QIcon &icon)
{
    m_icons.append(icon);
    return count() - 1;
}

QIcon TImageList::icon(int index) const
{
    return index >= 0 && index < count() ? m_icons.at(index) : QIcon();
}
