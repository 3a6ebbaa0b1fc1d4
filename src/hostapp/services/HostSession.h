#pragma once

#include <QObject>
#include <QPointer>
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
