#pragma once

class ErrorLog;
struct HostOptions;

// talvex-host export-xls FILE.xls [--from yyyy-mm-dd] [--to yyyy-mm-dd]: the
// register's search for a date range over the database and operator of options,
// saved by the window's own Excel export, without a screen. Returns the exit
// status: 0 only when the file was written. Needs the host's application and
// screen objects in place.
int runExportXls(const HostOptions &options, ErrorLog &log);
