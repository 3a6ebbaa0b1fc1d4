#pragma once

#include <QString>
#include <exception>

class ErrorLog;

// What talvex-host says on its terminal, in the operator's words.
namespace Terminal {

// One message on the error output.
void say(const QString &text);

// Says the operator's message for a failure; its detail goes to the log file,
// which the terminal is then pointed to. Returns the exit status of a failed run.
int reportFailure(ErrorLog &log, const std::exception_ptr &error);

} // namespace Terminal
