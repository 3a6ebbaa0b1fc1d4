#pragma once

#include "rtglobal.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace Rt {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Warning, Stop };
enum class Answer { Ok, Cancel, Yes, No };

// One message box as it is asked for; a test responder receives it.
struct MessageBoxRequest
{
    QString text;
    QString caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

using MessageBoxResponder = std::function<Answer(const MessageBoxRequest &)>;

} // namespace Rt

// The user-interface context of a process: message boxes, the default handling of
// exceptions that leave an event handler, and the main window. The host creates
// one; a plug-in adopts the host's while its window exists.
class RT_EXPORT TApplication : public QObject
{
    Q_OBJECT
public:
    explicit TApplication(QObject *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    QWidget *mainForm() const { return m_mainForm; }
    void setMainForm(QWidget *form) { m_mainForm = form; }

    // Shows a modal message box and returns the button pressed. When a responder
    // is installed (tests), it answers instead and nothing is shown.
    Rt::Answer messageBox(const QString &text, const QString &caption,
                          Rt::Buttons buttons = Rt::Buttons::Ok, Rt::Icon icon = Rt::Icon::None);

    // The default handling of an exception that reached the event loop: a silent
    // abort is dropped; anything else goes to the exception handler when one is
    // set, otherwise to showException().
    void handleException(const std::exception_ptr &error);
    void showException(const std::exception_ptr &error);

    using ExceptionHandler = std::function<void(const std::exception_ptr &)>;
    void setExceptionHandler(ExceptionHandler handler) { m_exceptionHandler = std::move(handler); }

private:
    QString m_title;
    QPointer<QWidget> m_mainForm;
    ExceptionHandler m_exceptionHandler;
};

// The screen: what has the keyboard focus, and which forms are open.
class RT_EXPORT TScreen : public QObject
{
    Q_OBJECT
public:
    explicit TScreen(QObject *parent = nullptr);

    QWidget *activeControl() const;
    QWidget *activeForm() const;
};

namespace Rt {

// The process-wide application and screen objects that every form, dialog and
// message box uses. A plug-in replaces them with the host's while its window
// lives and puts its own back afterwards.
RT_EXPORT TApplication *application();
RT_EXPORT void setApplication(TApplication *application);
RT_EXPORT TScreen *screen();
RT_EXPORT void setScreen(TScreen *screen);

// Message boxes of the current application; tests answer them with a responder.
RT_EXPORT Answer messageBox(const QString &text, const QString &caption,
                            Buttons buttons = Buttons::Ok, Icon icon = Icon::None);
RT_EXPORT void setMessageBoxResponder(MessageBoxResponder responder);

// Shows a short note in the status bar of the main window that holds widget,
// through Qt's status-tip event, so a form needs to know nothing of its host. A
// widget with no status bar above it drops the note.
RT_EXPORT void showStatusNote(QWidget *widget, const QString &text);

// Runs an event handler: a silent abort ends it quietly, any other exception goes
// to the application's default handling. No exception ever reaches Qt.
RT_EXPORT void runGuarded(const std::function<void()> &handler);

// Wraps a handler for connect(): guarded(this, &Form::btnQryClick).
template <typename Object, typename Method> auto guarded(Object *object, Method method)
{
    return [object, method] { runGuarded([&] { (object->*method)(); }); };
}

} // namespace Rt
