#pragma once

// Drives the modal dialogs from a test, the exchange editor above all: what the
// user would type and press, without sleeping. A dialog that never opens fails
// the test rather than leaving its checks unrun.

#include <QApplication>
#include <QDate>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// The visible top-level window of type Form, if one is open.
template <typename Form> Form *openForm()
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *top : tops) {
        if (auto *form = qobject_cast<Form *>(top); form && form->isVisible())
            return form;
    }
    return nullptr;
}

// Runs show, which opens a modal Form, and hands the form to drive once it is on
// screen; what may come first (a question) is waited out. False when show
// returned without ever showing the form.
template <typename Form>
bool whenShown(const std::function<void()> &show, const std::function<void(Form *)> &drive)
{
    // The timer goes with the context when show returns.
    QObject context;
    bool shown = false;
    std::function<void()> look = [&] {
        if (Form *form = openForm<Form>()) {
            shown = true;
            drive(form);
        } else {
            QTimer::singleShot(1, &context, look);
        }
    };
    QTimer::singleShot(0, &context, look);
    show();
    return shown;
}

// The open exchange editor, reached by object names.
struct OpenEditor
{
    QWidget *form;

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return form->findChild<T *>(name);
    }

    // cxTimeEdit1 to cxTimeEdit4, and cxTimeEdit5 to cxTimeEdit8, as texts.
    QStringList planned() const;
    QStringList entered() const;
    void enter(const QStringList &times) const;
    QString workTime() const;
    QString reason() const;
    void setReason(const QString &text) const;
    void setRemark(const QString &text) const;
    void setDay(const QDate &day) const;
    // Picks through the employee picker with condition in the employee box,
    // choosing the first employee listed.
    void pick(const QString &condition) const;
    void tickRestDay() const;
    void ok() const;
    void cancel() const;
    bool isOpen() const;
};

// Runs show, which opens the editor modally, and hands the editor to drive once it
// is open. What drive leaves open is cancelled, so that a failed check cannot hang
// the run. opened tells whether the editor was shown at all; without it, an editor
// that never opens fails the test.
void driveEditor(const std::function<void()> &show, const std::function<void(OpenEditor &)> &drive,
                 bool *opened = nullptr);

// Chooses the first employee in the picker that opens next, or cancels it; fails
// the test when no picker opens.
void answerNextPicker(bool choose = true);
