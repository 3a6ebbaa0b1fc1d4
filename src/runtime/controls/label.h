#pragma once

#include "runtime/rtglobal.h"

#include <QLabel>
#include <QPointer>

// A caption on a form. It paints no background of its own, so it sits on panels and
// coloured areas alike; its text colour can be set without touching the palette.
//
// A label names the control it stands before. That control becomes its buddy, so
// that a mnemonic in the caption focuses it, and takes the caption as a screen
// reader says it (Rt::spokenText) as its accessible name. By default that is the
// next control made in the same parent after the label, lines and panels passed
// over, found when the label first shows; a label followed by another label that
// names a control is a heading and names none. Forms that create each label just
// before its control, as designed forms list them, need nothing more. A label
// that stands before no control but before a control's label (a hint) is told
// so with setFocusControl(nullptr).
class RT_EXPORT TcxLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TcxLabel(QWidget *parent = nullptr);
    explicit TcxLabel(const QString &caption, QWidget *parent = nullptr);
    // A label named name, sized to its caption, placed at a designed position.
    static TcxLabel *place(QWidget *parent, const QString &name, const QString &caption, QPoint at);

    QString caption() const { return text(); }
    // Renames the control it names, too.
    void setCaption(const QString &caption);

    // The control this label names; none until the label has shown, unless set.
    QWidget *focusControl() const { return m_focusControl; }
    void setFocusControl(QWidget *control);

    // An invalid colour returns to the palette's text colour.
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *controlAfter() const;
    void nameFocusControl();

    QColor m_textColor;
    QPointer<QWidget> m_focusControl;
    QString m_givenName;
    bool m_findsFocusControl = true;
};
