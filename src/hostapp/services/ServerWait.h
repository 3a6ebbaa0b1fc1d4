#pragma once

#include "hostapp/db/PgConnection.h"

class WaitNotice;

// A server's statement that runs long: the wait notice stands over the window
// with 取消, which cancels the statement on the server. The window keeps
// painting meanwhile; of the operator's input only 取消 gets through, since the
// connection serves one statement at a time. Returns when the statement is
// answered: its result, or the cancellation, or a broken connection.
void waitForServer(WaitNotice &notice, const PgConnection::SlowStatement &statement);
