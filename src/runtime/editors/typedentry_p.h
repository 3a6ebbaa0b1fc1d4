#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QWidget;

// What the date and time boxes share as operators type into them:
// - taking the focus, however it comes (a click anywhere in the box, Tab,
//   Shift+Tab, a mnemonic, the dialog opening), selects the whole value, so that
//   typing replaces it, and so does the first click until a key is pressed;
// - the text typed so far is taken before a mnemonic runs: Alt+O presses OK
//   without moving the focus, so the box would otherwise never see editing end;
// - a refused text is shown as such, with a red frame and a tip, until the next
//   keystroke or value.
class TypedEntry : public QObject
{
    Q_OBJECT
public:
    // edit is the box itself or its line edit; commit takes what it holds.
    TypedEntry(QWidget *box, QLineEdit *edit, std::function<void()> commit);

    void refuse(const QString &reason);
    void clearRefusal();
    bool isRefused() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusedIn(Qt::FocusReason reason);

    QWidget *m_box;
    QLineEdit *m_edit;
    std::function<void()> m_commit;
    QWidget *m_frame;
    // The next press in the edit selects the whole value rather than placing the
    // caret.
    bool m_selectsOnClick = false;
};
