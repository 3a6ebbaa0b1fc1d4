#pragma once

#include "OperatorMessage.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <memory>

#include <QWidget>

class Database;
class ErrorLog;
class TcxStyleRepository;
class THostOperator;
class WaitNotice;

// What the host's services share for one run: the database, the operator, the
// log, the wait notice, the style sheets and where print previews go.
class HostSession : public QObject
{
    Q_OBJECT
public:
    // Loads the operator by code and makes him the database session's operator;
    // raises when there is no such operator.
    HostSession(Database &database, ErrorLog &log, const QString &operatorCode,
                QWidget *window = nullptr);
    ~HostSession() override;

    Database &database() const { return m_database; }
    ErrorLog &log() const { return m_log; }
    THostOperator *currentOperator() const { return m_operator.get(); }
    WaitNotice &waitNotice() const { return *m_waitNotice; }
    TcxStyleRepository *styleRepository() const { return m_styles; }
    QWidget *window() const { return m_window; }
    // The window over which wait notices appear.
    void setWindow(QWidget *window);

    // Previews print to this PDF file instead of showing a preview window.
    QString printToFile() const { return m_printToFile; }
    void setPrintToFile(const QString &path) { m_printToFile = path; }

    // The level the current operator has for a right code; 0 when none.
    int rightLevel(const QString &rightCode) const;
    // The SQL value list of the departments an operator may see, e.g. ('01','0101').
    QString deptScope(const QString &operatorId) const;

    // Runs a service operation for the plug-in. A failure of the database leaves
    // it in the operator's words (OperatorDbError), so that whatever the plug-in
    // shows or logs of it reads as his; the detail goes to the log file here.
    template <typename Work> decltype(auto) serve(Work &&work);

    // The host's default handling of an error that left an event handler: a wait
    // notice the failed handler left standing comes down with its busy cursor, so
    // that the window never looks hung; the operator reads the error's message
    // and the log keeps it, with its detail.
    void handleException(const std::exception_ptr &error);

Q_SIGNALS:
    void dataSaved();
    // A short message for the status bar.
    void notice(const QString &text);
    void errorRaised(const QString &message);

private:
    Database &m_database;
    ErrorLog &m_log;
    std::unique_ptr<THostOperator> m_operator;
    std::unique_ptr<WaitNotice> m_waitNotice;
    TcxStyleRepository *m_styles;
    QPointer<QWidget> m_window;
    QString m_printToFile;
};

template <typename Work> decltype(auto) HostSession::serve(Work &&work)
{
    try {
        return work();
    } catch (const Rt::DatabaseError &) {
        throw OperatorDbError(OperatorMessage::report(m_log, std::current_exception()).text);
    }
}
