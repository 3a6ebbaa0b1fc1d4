#include "HostServices.h"
#include "HostSession.h"
#include "HostOperator.h"

FactoryService::FactoryService(HostSession &session)
    : m_session(session)
    , m_log(new LogService(session))
    , m_printer(new PrinterService(session))
    , m_main(new MainService(session))
    , m_db(new DbService(session))
    , m_dict(new DictService(session))
    , m_rights(new RightService(session))
{
}

TBaseObj *FactoryService::GetOperator()
{
    return m_session.currentOperator();
}

void FactoryService::GetLogIntf(IntfPtr<ILogIntf> &result)
{
    result = m_log;
}

void FactoryService::GetPrinterIntf(IntfPtr<IPrinterIntf> &result)
{
    result = m_printer;
}

void FactoryService::GetMainIntf(IntfPtr<IMainIntf> &result)
{
    result = m_main;
}

void FactoryService::GetDbIntf(IntfPtr<IDbIntf> &result)
{
    result = m_db;
}

void FactoryService::GetDictIntf(IntfPtr<IDictIntf> &result)
{
    result = m_dict;
}

void FactoryService::GetRightManagerIntf(IntfPtr<IRightManagerIntf> &result)
{
    result = m_rights;
}
