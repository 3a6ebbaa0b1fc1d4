#include "HostServices.h"
#include "HostSession.h"
#include "WaitNotice.h"

#include "runtime/datetime.h"

#include <QDateTime>

MainService::MainService(HostSession &session)
    : m_session(session)
{
}

double MainService::GetSysDate()
{
    return Rt::DateTime::fromDateTime(QDateTime::currentDateTime());
}

void MainService::NotifyDataSaved()
{
    Q_EMIT m_session.dataSaved();
}

void MainService::ShowWaitMessage(const QString &text)
{
    m_session.waitNotice().show(text);
}

void MainService::HideWaitMessage()
{
    m_session.waitNotice().hide();
}

TcxStyleRepository *MainService::GetStyleRepository()
{
    return m_session.styleRepository();
}
