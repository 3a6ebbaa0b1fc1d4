#pragma once

#include "runtime/rtglobal.h"

#include <QGroupBox>

// A group box: an etched frame with its caption set into the top line, so that the
// box gives nearly all its height to its children. Borderless, it draws neither
// frame nor caption and gives its whole area to its children: a plain container.
class RT_EXPORT TcxGroupBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit TcxGroupBox(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    bool isBorderless() const { return m_borderless; }
    void setBorderless(bool borderless);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyMargins();

    QString m_caption;
    bool m_borderless = false;
};
