#include "HostFactory.h"

#include "runtime/exceptions.h"
#include "talvex/model/BaseObj.h"

IntfPtr<IFactoryIntf> HostFactory;

namespace Host {

IntfPtr<ILogIntf> log()
{
    IntfPtr<ILogIntf> result;
    HostFactory->GetLogIntf(result);
    return result;
}

IntfPtr<IPrinterIntf> printer()
{
    IntfPtr<IPrinterIntf> result;
    HostFactory->GetPrinterIntf(result);
    return result;
}

IntfPtr<IMainIntf> main()
{
    IntfPtr<IMainIntf> result;
    HostFactory->GetMainIntf(result);
    return result;
}

IntfPtr<IDbIntf> db()
{
    IntfPtr<IDbIntf> result;
    HostFactory->GetDbIntf(result);
    return result;
}

IntfPtr<IDictIntf> dict()
{
    IntfPtr<IDictIntf> result;
    HostFactory->GetDictIntf(result);
    return result;
}

IntfPtr<IRightManagerIntf> rights()
{
    IntfPtr<IRightManagerIntf> result;
    HostFactory->GetRightManagerIntf(result);
    return result;
}

TBaseObj *currentOperator()
{
    return HostFactory->GetOperator();
}

QString deptScope()
{
    QString scope;
    rights()->GetDeptScope(currentOperator()->ID, scope);
    return scope;
}

void raiseError(const QString &message)
{
    log()->RaiseError(message, 0);
    // RaiseError does not return; a host that does return still ends the command.
    throw Rt::Abort();
}

QString queryValue(const QString &sql)
{
    QString value;
    db()->QueryValue(sql, value);
    return value;
}

void WaitMessage::show(const QString &text)
{
    main()->ShowWaitMessage(text);
}

// A host that cannot take its notice down leaves nothing for the module to do about
// it; the failure that ended the scope, if any, is the one that counts.
WaitMessage::~WaitMessage()
{
    try {
        main()->HideWaitMessage();
    } catch (...) {
    }
}

} // namespace Host
