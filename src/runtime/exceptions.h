#pragma once

#include "rtglobal.h"

#include <QString>
#include <exception>

namespace Rt {

// An error with a user-readable message. Host operations and the runtime signal
// failures with it; handlers show or log message().
class RT_EXPORT Exception : public std::exception
{
public:
    explicit Exception(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};

// A failure of the data layer: a statement the database refused, a missing field,
// a value that cannot be converted.
class RT_EXPORT DatabaseError : public Exception
{
public:
    using Exception::Exception;
};

// The silent abort: ends the running command without any message. The event
// guard swallows it.
class RT_EXPORT Abort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] RT_EXPORT void abort();

// The message of any exception, as the log and the message boxes show it.
RT_EXPORT QString messageOf(const std::exception_ptr &error);

} // namespace Rt
