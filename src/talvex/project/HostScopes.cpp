#include "HostScopes.h"
#include "HostFactory.h"

namespace Host {

// A failure while unwinding could only replace the error that is already on its
// way, so the second halves swallow their own.

WaitMessage::~WaitMessage()
{
    try {
        main()->HideWaitMessage();
    } catch (...) {
    }
}

void WaitMessage::show(const QString &text) const
{
    main()->ShowWaitMessage(text);
}

Transaction::Transaction()
{
    db()->BeginTrans();
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        db()->RollbackTrans();
    } catch (...) {
    }
}

void Transaction::commit()
{
    db()->CommitTrans();
    m_open = false;
}

} // namespace Host
