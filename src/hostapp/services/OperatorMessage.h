#pragma once

#include "hostapp/db/DbFailure.h"

#include <QString>
#include <exception>

class ErrorLog;

// A failure of the host outside its database, put in the operator's words:
// message() is what he reads, detail() what only the log file keeps.
class HostError : public Rt::Exception
{
public:
    HostError(const QString &text, const QString &detail)
        : Rt::Exception(text)
        , m_detail(detail)
    {}
    const QString &detail() const { return m_detail; }

private:
    QString m_detail;
};

// A database failure on its way into the plug-in, already in the operator's
// words; its detail is in the log file. It stays a DatabaseError for the
// plug-in, which may tell those apart.
class OperatorDbError : public Rt::DatabaseError
{
public:
    using Rt::DatabaseError::DatabaseError;
};

// What the operator reads about a failure: Chinese, short, saying what to do.
// The technical detail (SQLite's text, the statement, the loader's message) is
// for the log file only.
struct OperatorMessage
{
    QString text;
    QString detail; // empty when the text is all there is

    // The one place where the host's failures become the operator's messages:
    // database failures by their kind, the host's own by their text, anything
    // unforeseen as an internal error. Texts of the plug-in pass unchanged.
    static OperatorMessage of(const std::exception_ptr &error);
    // Also writes the detail, if any, to the log file.
    static OperatorMessage report(ErrorLog &log, const std::exception_ptr &error);

    static QString forFailure(DbFailure failure);
};
