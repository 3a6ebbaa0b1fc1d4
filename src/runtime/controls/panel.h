#pragma once

#include "runtime/rtglobal.h"

#include <QColor>
#include <QFrame>

namespace Rt {
// The cut of one bevel ring around a panel.
enum class BevelCut { None, Raised, Lowered };
} // namespace Rt

// A panel: a container with up to two one-pixel bevel rings (outer, then inner), an
// optional background colour and a caption painted in its centre.
class RT_EXPORT TPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    Rt::BevelCut bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(Rt::BevelCut cut);
    Rt::BevelCut bevelInner() const { return m_bevelInner; }
    void setBevelInner(Rt::BevelCut cut);

    // An invalid colour shows the parent's background through the panel.
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateBevelMargins();

    QString m_caption;
    Rt::BevelCut m_bevelOuter = Rt::BevelCut::Raised;
    Rt::BevelCut m_bevelInner = Rt::BevelCut::None;
    QColor m_color;
};
