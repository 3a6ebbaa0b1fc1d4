#pragma once

#include "ComObject.h"
#include "talvex/host/FactoryIntf.h"

#include <QHash>
#include <QPointer>
#include <memory>

class HostSession;
class TcxImageComboBox;

// The host's side of the contract: one object per service interface, all working
// on one session. Each is reference counted and reached from the factory.

class LogService : public ComObject<ILogIntf>
{
public:
    explicit LogService(HostSession &session);
    void RaiseError(const QString &message, int kind) override;
    void WriteErrorLog(const QString &text, int kind) override;

private:
    HostSession &m_session;
};

class MainService : public ComObject<IMainIntf>
{
public:
    explicit MainService(HostSession &session);
    double GetSysDate() override;
    void NotifyDataSaved() override;
    void ShowWaitMessage(const QString &text) override;
    void HideWaitMessage() override;
    TcxStyleRepository *GetStyleRepository() override;

private:
    HostSession &m_session;
};

class DbService : public ComObject<IDbIntf>
{
public:
    explicit DbService(HostSession &session);
    TDataSet *OpenQuery(const QString &sql) override;
    bool ExecSql(const QString &sql) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;
    void QueryValue(const QString &sql, QString &value) override;
    TObjectHashedList *QueryObjectList(const QMetaObject &entityClass,
                                       const QString &sql) override;

private:
    HostSession &m_session;
    // Lists handed out stay the host's; the latest one per statement is kept.
    QHash<QString, std::shared_ptr<TObjectHashedList>> m_lists;
};

class DictService : public ComObject<IDictIntf>
{
public:
    explicit DictService(HostSession &session);
    ~DictService() override;
    TcxImageComboBox *GetDictCombo(const QString &sql) override;

private:
    HostSession &m_session;
    // One host-owned combo per statement, refilled on every call.
    QHash<QString, TcxImageComboBox *> m_combos;
};

class RightService : public ComObject<IRightManagerIntf>
{
public:
    explicit RightService(HostSession &session);
    int GetRight(const QString &rightCode) override;
    void GetDeptScope(const QString &operatorId, QString &scope) override;

private:
    HostSession &m_session;
};

class PrinterService : public ComObject<IPrinterIntf>
{
public:
    explicit PrinterService(HostSession &session);
    void PreviewControl(QObject *component, int options, const QString &unitCode,
                        const QString &formName) override;
    void PreviewControl2(QObject *component, int options, const QString &unitCode,
                         const QString &formName) override;

private:
    void preview(QObject *component, const QString &unitCode, bool landscape);
    HostSession &m_session;
};

// The root handed to the plug-in.
class FactoryService : public ComObject<IFactoryIntf>
{
public:
    explicit FactoryService(HostSession &session);
    TBaseObj *GetOperator() override;
    void GetLogIntf(IntfPtr<ILogIntf> &result) override;
    void GetPrinterIntf(IntfPtr<IPrinterIntf> &result) override;
    void GetMainIntf(IntfPtr<IMainIntf> &result) override;
    void GetDbIntf(IntfPtr<IDbIntf> &result) override;
    void GetDictIntf(IntfPtr<IDictIntf> &result) override;
    void GetRightManagerIntf(IntfPtr<IRightManagerIntf> &result) override;

private:
    HostSession &m_session;
    IntfPtr<ILogIntf> m_log;
    IntfPtr<IPrinterIntf> m_printer;
    IntfPtr<IMainIntf> m_main;
    IntfPtr<IDbIntf> m_db;
    IntfPtr<IDictIntf> m_dict;
    IntfPtr<IRightManagerIntf> m_rights;
};
