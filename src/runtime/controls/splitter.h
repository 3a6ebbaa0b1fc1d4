#pragma once

#include "runtime/rtglobal.h"

#include <QSplitter>

// A splitter between two panels. The panel on the resized side is the one the user
// sizes: it keeps its size when the splitter grows or shrinks, the other panel
// takes up the difference.
class RT_EXPORT TcxSplitter : public QSplitter
{
    Q_OBJECT
public:
    enum class Side { Left, Right, Top, Bottom };

    explicit TcxSplitter(QWidget *parent = nullptr);

    Side resizedSide() const { return m_resizedSide; }
    // Also sets the orientation: left and right split horizontally.
    void setResizedSide(Side side);

protected:
    void childEvent(QChildEvent *event) override;

private:
    void applyStretch();

    Side m_resizedSide = Side::Left;
};
