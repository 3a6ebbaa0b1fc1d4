#include "RecordingHost.h"

#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "runtime/styles.h"

using namespace Qt::StringLiterals;

class RecordingLog : public ComObject<ILogIntf>
{
public:
    explicit RecordingLog(RecordingHost &host)
        : h(host)
    {}
    void RaiseError(const QString &message, int kind) override
    {
        h.calls << u"RaiseError(%1, %2)"_s.arg(message).arg(kind);
        throw Rt::Abort();
    }
    void WriteErrorLog(const QString &text, int kind) override
    {
        h.calls << u"WriteErrorLog(%1, %2)"_s.arg(text).arg(kind);
    }
    RecordingHost &h;
};

class RecordingPrinter : public ComObject<IPrinterIntf>
{
public:
    explicit RecordingPrinter(RecordingHost &host)
        : h(host)
    {}
    void PreviewControl(QObject *component, int options, const QString &unitCode,
                        const QString &formName) override
    {
        h.calls << u"PreviewControl(%1, %2, %3, %4)"_s.arg(component->objectName())
                       .arg(options)
                       .arg(unitCode, formName);
        if (!h.previewFailure.isEmpty())
            throw Rt::Exception(h.previewFailure);
    }
    void PreviewControl2(QObject *component, int options, const QString &unitCode,
                         const QString &formName) override
    {
        h.calls << u"PreviewControl2(%1, %2, %3, %4)"_s.arg(component->objectName())
                       .arg(options)
                       .arg(unitCode, formName);
        if (!h.previewFailure.isEmpty())
            throw Rt::Exception(h.previewFailure);
    }
    RecordingHost &h;
};

class RecordingMain : public ComObject<IMainIntf>
{
public:
    explicit RecordingMain(RecordingHost &host)
        : h(host)
    {}
    double GetSysDate() override
    {
        h.calls << u"GetSysDate()"_s;
        return h.sysDate;
    }
    void NotifyDataSaved() override { h.calls << u"NotifyDataSaved()"_s; }
    void ShowWaitMessage(const QString &text) override
    {
        h.calls << u"ShowWaitMessage(%1)"_s.arg(text);
        h.waitShown = true;
    }
    void HideWaitMessage() override
    {
        h.calls << u"HideWaitMessage()"_s;
        h.waitShown = false;
    }
    TcxStyleRepository *GetStyleRepository() override
    {
        h.calls << u"GetStyleRepository()"_s;
        if (h.failStyleRepository)
            throw Rt::Exception(u"no style repository"_s);
        return h.styleRepository();
    }
    RecordingHost &h;
};

class RecordingDb : public ComObject<IDbIntf>
{
public:
    explicit RecordingDb(RecordingHost &host)
        : h(host)
    {}
    TDataSet *OpenQuery(const QString &sql) override
    {
        h.calls << u"OpenQuery(%1)"_s.arg(sql);
        if (!h.openQuery)
            throw Rt::DatabaseError(u"no query script"_s);
        return h.openQuery(sql);
    }
    bool ExecSql(const QString &sql) override
    {
        h.calls << u"ExecSql(%1)"_s.arg(sql);
        return h.execSql ? h.execSql(sql) : true;
    }
    void BeginTrans() override { h.calls << u"BeginTrans()"_s; }
    void CommitTrans() override { h.calls << u"CommitTrans()"_s; }
    void RollbackTrans() override { h.calls << u"RollbackTrans()"_s; }
    void QueryValue(const QString &sql, QString &value) override
    {
        h.calls << u"QueryValue(%1)"_s.arg(sql);
        value = h.queryValue ? h.queryValue(sql) : u"0"_s;
    }
    TObjectHashedList *QueryObjectList(const QMetaObject &entityClass, const QString &sql) override
    {
        h.calls << u"QueryObjectList(%1, %2)"_s.arg(QLatin1StringView(entityClass.className()),
                                                    sql);
        return h.queryObjectList ? h.queryObjectList(entityClass, sql) : nullptr;
    }
    RecordingHost &h;
};

class RecordingDict : public ComObject<IDictIntf>
{
public:
    explicit RecordingDict(RecordingHost &host)
        : h(host)
    {}
    TcxImageComboBox *GetDictCombo(const QString &sql) override
    {
        h.calls << u"GetDictCombo(%1)"_s.arg(sql);
        return h.m_combos.emplace_back(std::make_unique<TcxImageComboBox>()).get();
    }
    RecordingHost &h;
};

class RecordingRights : public ComObject<IRightManagerIntf>
{
public:
    explicit RecordingRights(RecordingHost &host)
        : h(host)
    {}
    int GetRight(const QString &rightCode) override
    {
        h.calls << u"GetRight(%1)"_s.arg(rightCode);
        return h.rightLevel;
    }
    void GetDeptScope(const QString &operatorId, QString &scope) override
    {
        h.calls << u"GetDeptScope(%1)"_s.arg(operatorId);
        scope = h.deptScope;
    }
    RecordingHost &h;
};

class RecordingFactory : public ComObject<IFactoryIntf>
{
public:
    explicit RecordingFactory(RecordingHost &host)
        : h(host)
    {}
    TBaseObj *GetOperator() override
    {
        h.calls << u"GetOperator()"_s;
        return &h.hostOperator;
    }
    void GetLogIntf(IntfPtr<ILogIntf> &result) override { result = new RecordingLog(h); }
    void GetPrinterIntf(IntfPtr<IPrinterIntf> &result) override
    {
        result = new RecordingPrinter(h);
    }
    void GetMainIntf(IntfPtr<IMainIntf> &result) override { result = new RecordingMain(h); }
    void GetDbIntf(IntfPtr<IDbIntf> &result) override { result = new RecordingDb(h); }
    void GetDictIntf(IntfPtr<IDictIntf> &result) override { result = new RecordingDict(h); }
    void GetRightManagerIntf(IntfPtr<IRightManagerIntf> &result) override
    {
        result = new RecordingRights(h);
    }
    RecordingHost &h;
};

RecordingHost::RecordingHost()
    : m_styles(std::make_unique<TcxStyleRepository>())
    , m_factory(new RecordingFactory(*this))
{
    hostOperator.ID = u"OP1"_s;
    m_styles->createStyleSheet<TcxGridTableViewStyleSheet>();
    m_styles->createStyleSheet<TcxTreeListStyleSheet>();
    m_styles->createStyleSheet<TcxGridBandedTableViewStyleSheet>();
    m_styles->createStyleSheet<TcxVerticalGridStyleSheet>();
}

RecordingHost::~RecordingHost() = default;

QStringList RecordingHost::argumentsOf(const QString &operation) const
{
    QStringList result;
    const QString prefix = operation + u'(';
    for (const QString &call : calls) {
        if (call.startsWith(prefix))
            result << call.mid(prefix.size(), call.size() - prefix.size() - 1);
    }
    return result;
}
