#pragma once

#include <QList>
#include <QObject>

class QLineEdit;
class QToolButton;

// Tool buttons inside the right edge of a line edit, the text stopping short of
// them. The buttons take no focus, so clicking one leaves the caret in the edit,
// and they stay usable when the edit is read-only.
class EditButtons : public QObject
{
    Q_OBJECT
public:
    explicit EditButtons(QLineEdit *edit);

    // Adds a button at the right end of the row.
    QToolButton *add();
    int count() const { return int(m_buttons.size()); }
    QToolButton *button(int index) const { return m_buttons.at(index); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeButtons();

    QLineEdit *m_edit;
    QList<QToolButton *> m_buttons;
};
