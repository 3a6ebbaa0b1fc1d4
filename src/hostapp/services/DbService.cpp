#include "HostServices.h"
#include "HostSession.h"

#include "hostapp/db/Database.h"
#include "talvex/model/ShareObj.h"

// Every operation runs through the session, which puts a failure of the
// database in the operator's words before it reaches the plug-in.

DbService::DbService(HostSession &session)
    : m_session(session)
{}

TDataSet *DbService::OpenQuery(const QString &sql)
{
    return m_session.serve([&] { return m_session.database().openQuery(sql); });
}

bool DbService::ExecSql(const QString &sql)
{
    return m_session.serve([&] { return m_session.database().execSql(sql); });
}

void DbService::BeginTrans()
{
    m_session.serve([&] { m_session.database().beginTrans(); });
}

void DbService::CommitTrans()
{
    m_session.serve([&] { m_session.database().commitTrans(); });
}

void DbService::RollbackTrans()
{
    m_session.serve([&] { m_session.database().rollbackTrans(); });
}

void DbService::QueryValue(const QString &sql, QString &value)
{
    value = m_session.serve([&] { return m_session.database().queryValue(sql); });
}

TObjectHashedList *DbService::QueryObjectList(const QMetaObject &entityClass, const QString &sql)
{
    std::shared_ptr<TObjectHashedList> list(
        m_session.serve([&] { return m_session.database().queryObjectList(entityClass, sql); }));
    // The caller may hold the list until it asks again, so the previous list of
    // the same statement is released only now.
    m_lists.insert(sql, list);
    return list.get();
}
