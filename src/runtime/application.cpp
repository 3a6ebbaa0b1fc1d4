#include "application.h"
#include "exceptions.h"

#include <QApplication>
#include <QMessageBox>
#include <QStatusTipEvent>
#include <QWidget>

namespace {

TApplication *currentApplication = nullptr;
TScreen *currentScreen = nullptr;
Rt::MessageBoxResponder messageBoxResponder;

QMessageBox::Icon toQtIcon(Rt::Icon icon)
{
    switch (icon) {
    case Rt::Icon::Information:
        return QMessageBox::Information;
    case Rt::Icon::Question:
        return QMessageBox::Question;
    case Rt::Icon::Warning:
        return QMessageBox::Warning;
    case Rt::Icon::Stop:
        return QMessageBox::Critical;
    case Rt::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(Rt::Buttons buttons)
{
    switch (buttons) {
    case Rt::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Rt::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Rt::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Rt::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Rt::Answer fromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Rt::Answer::Yes;
    case QMessageBox::No:
        return Rt::Answer::No;
    case QMessageBox::Cancel:
        return Rt::Answer::Cancel;
    default:
        return Rt::Answer::Ok;
    }
}

} // namespace

TApplication::TApplication(QObject *parent)
    : QObject(parent)
{}

Rt::Answer TApplication::messageBox(const QString &text, const QString &caption,
                                    Rt::Buttons buttons, Rt::Icon icon)
{
    if (messageBoxResponder)
        return messageBoxResponder({text, caption, buttons, icon});
    // The box belongs to the window that raised it: under a window manager, a
    // modal dialog would otherwise drop behind the main form while it is up.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(toQtIcon(icon), caption, text, toQtButtons(buttons),
                    owner ? owner : m_mainForm.get());
    return fromQtButton(box.exec());
}

void TApplication::handleException(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Rt::Abort &) {
        return;
    } catch (...) {
    }
    if (m_exceptionHandler)
        m_exceptionHandler(error);
    else
        showException(error);
}

void TApplication::showException(const std::exception_ptr &error)
{
    messageBox(Rt::messageOf(error), m_title, Rt::Buttons::Ok, Rt::Icon::Stop);
}

TScreen::TScreen(QObject *parent)
    : QObject(parent)
{}

QWidget *TScreen::activeControl() const
{
    return QApplication::focusWidget();
}

QWidget *TScreen::activeForm() const
{
    return QApplication::activeWindow();
}

namespace Rt {

TApplication *application()
{
    return currentApplication;
}

void setApplication(TApplication *application)
{
    currentApplication = application;
}

TScreen *screen()
{
    return currentScreen;
}

void setScreen(TScreen *screen)
{
    currentScreen = screen;
}

Answer messageBox(const QString &text, const QString &caption, Buttons buttons, Icon icon)
{
    if (currentApplication)
        return currentApplication->messageBox(text, caption, buttons, icon);
    TApplication fallback;
    return fallback.messageBox(text, caption, buttons, icon);
}

void setMessageBoxResponder(MessageBoxResponder responder)
{
    messageBoxResponder = std::move(responder);
}

void runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        const auto error = std::current_exception();
        if (currentApplication) {
            currentApplication->handleException(error);
        } else {
            TApplication fallback;
            fallback.handleException(error);
        }
    }
}

void showStatusNote(QWidget *widget, const QString &text)
{
    QStatusTipEvent note(text);
    QCoreApplication::sendEvent(widget, &note);
}

} // namespace Rt
