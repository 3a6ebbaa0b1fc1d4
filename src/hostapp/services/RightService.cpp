#include "HostServices.h"
#include "HostSession.h"

RightService::RightService(HostSession &session)
    : m_session(session)
{
}

int RightService::GetRight(const QString &rightCode)
{
    return m_session.serve([&] { return m_session.rightLevel(rightCode); });
}

void RightService::GetDeptScope(const QString &operatorId, QString &scope)
{
    scope = m_session.serve([&] { return m_session.deptScope(operatorId); });
}
