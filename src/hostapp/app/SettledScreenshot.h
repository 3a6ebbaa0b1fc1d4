#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Saves a picture of the host window once it has shown, loaded and laid itself
// out, then ends the run. A message box that stands over the window at that
// moment (a failure while the window opened, say) is drawn where the operator
// would see it, and its loop ends with the run's, so the screenshot never waits
// for an answer nobody can give.
class SettledScreenshot : public QObject
{
public:
    SettledScreenshot(QWidget &window, QString path);

    bool taken() const { return m_taken; }
    bool saved() const { return m_saved; }

private:
    void take();

    QWidget &m_window;
    QString m_path;
    bool m_taken = false;
    bool m_saved = false;
};
