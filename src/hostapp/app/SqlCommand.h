#pragma once

#include <QString>

class Database;
class ErrorLog;

// Runs one statement as the plug-in would send it through the host's database
// service and prints the rows (tab-separated, header first) or the number of rows
// changed. A failure prints the operator's message and writes its detail to the
// log. Returns the process exit code.
int runSqlCommand(Database &db, const QString &statement, ErrorLog &log);
