#include "ErrorLog.h"
#include "HostServices.h"
#include "HostSession.h"

#include "runtime/application.h"
#include "runtime/exceptions.h"

using namespace Qt::StringLiterals;

LogService::LogService(HostSession &session)
    : m_session(session)
{
}

void LogService::RaiseError(const QString &message, int)
{
    Q_EMIT m_session.errorRaised(message);
    Rt::messageBox(message, u"提示"_s, Rt::Buttons::Ok, Rt::Icon::Warning);
    throw Rt::Abort();
}

void LogService::WriteErrorLog(const QString &text, int)
{
    m_session.log().append(text);
}
