#pragma once

#include "runtime/rtglobal.h"

#include <QFrame>

// An etched two-pixel line or box that separates parts of a form; it holds nothing.
class RT_EXPORT TBevel : public QFrame
{
    Q_OBJECT
public:
    enum class Shape { Box, TopLine, BottomLine };

    explicit TBevel(QWidget *parent = nullptr);

    Shape shape() const { return m_shape; }
    void setShape(Shape shape);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape = Shape::Box;
};
