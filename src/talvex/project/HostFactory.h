#pragma once

#include "talvex/host/FactoryIntf.h"

class TBaseObj;

// The module's one road to the host: the root interface handed to CreateWindow.
// Empty before the first CreateWindow and after CloseWindow.
extern IntfPtr<IFactoryIntf> HostFactory;

// Each service interface is fetched anew from HostFactory for every call and
// released when the calling expression ends.
namespace Host {

IntfPtr<ILogIntf> log();
IntfPtr<IPrinterIntf> printer();
IntfPtr<IMainIntf> main();
IntfPtr<IDbIntf> db();
IntfPtr<IDictIntf> dict();
IntfPtr<IRightManagerIntf> rights();

// The host's current operator (host-owned).
TBaseObj *currentOperator();
// The department scope of the current operator, ready to follow "in".
QString deptScope();
// RaiseError with kind 0: shows the text and ends the running command.
[[noreturn]] void raiseError(const QString &message);
// QueryValue: the first column of the first row, as text.
QString queryValue(const QString &sql);

// The host's wait notice for the life of a scope: shown on entry and hidden on the
// way out, however the scope ends. show() changes the text while it stands.
class WaitMessage
{
public:
    explicit WaitMessage(const QString &text) { show(text); }
    ~WaitMessage();
    WaitMessage(const WaitMessage &) = delete;
    WaitMessage &operator=(const WaitMessage &) = delete;

    void show(const QString &text);
};

} // namespace Host
