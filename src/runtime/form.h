#pragma once

#include "rtglobal.h"

#include <QPointer>
#include <QWidget>

#include <QAbstractButton>
class QEventLoop;

namespace Rt {
enum class ModalResult { None, Ok, Cancel };
}

// A form: a window designed as data, owning the components created inside it. It
// can be docked into a host's dock site, or shown on its own, modally or not.
//
// Every control of a form has an accessible name, for screen readers and voice
// control. A label placed with TcxLabel::place names the control made after it,
// by default (controls/label.h); a control that no label stands before is named
// in the layout with Rt::setAccessibleName (accessibility.h).
class RT_EXPORT TForm : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("RtOwner", "form")
public:
    explicit TForm(QWidget *parent = nullptr);
    ~TForm() override;

    QString caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }

    // Shows the form as an application-modal window and returns once it is closed,
    // or deleted: a form deleted while shown ends the show with Cancel.
    Rt::ModalResult showModal();
    bool isModal() const { return m_modalLoop != nullptr; }
    Rt::ModalResult modalResult() const { return m_modalResult; }
    // Ends a modal show with this result.
    void setModalResult(Rt::ModalResult result);

    // Esc presses the cancel button; Enter presses the default button.
    void setCancelButton(QAbstractButton *button) { m_cancelButton = button; }
    void setDefaultButton(QAbstractButton *button) { m_defaultButton = button; }

    // Shown centred on the screen when it appears as a window of its own.
    void setScreenCentred(bool centred) { m_screenCentred = centred; }

Q_SIGNALS:
    // The form has become visible (the OnShow of the form).
    void formShown();
    void formClosed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void centreOnScreen();

    QEventLoop *m_modalLoop = nullptr;
    Rt::ModalResult m_modalResult = Rt::ModalResult::None;
    QPointer<QAbstractButton> m_cancelButton;
    QPointer<QAbstractButton> m_defaultButton;
    bool m_screenCentred = true;
};

// A frame: a reusable group of controls that owns its components and is placed
// inside a form.
class RT_EXPORT TFrame : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("RtOwner", "frame")
public:
    explicit TFrame(QWidget *parent = nullptr);
};

namespace Rt {
// The font of the module's forms: 宋体 at 9 points, falling back to the CJK font the
// system has.
RT_EXPORT QFont formFont(int pixelSize = 12, bool bold = false);
} // namespace Rt
