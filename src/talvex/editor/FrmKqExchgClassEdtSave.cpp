// Validation and saving: OK checks the entries and writes them.

#include "ExchangeRules.h"
#include "FrmKqExchgClassEdt.h"
#include "WarningsPanel.h"

#include "runtime/application.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "talvex/base/framebottom2.h"
#include "talvex/model/BaseObj.h"
#include "talvex/project/HostFactory.h"
#include "talvex/project/HostScopes.h"

#include <QMetaProperty>

using namespace Qt::StringLiterals;

namespace {

// The host's operator object carries the operator's code as its second property,
// after ID.
QString operatorCode()
{
    const TBaseObj *op = Host::currentOperator();
    const QMetaObject *meta = op->metaObject();
    const int idIndex = meta->indexOfProperty("ID");
    return idIndex + 1 < meta->propertyCount() ? meta->property(idIndex + 1).read(op).toString()
                                               : QString();
}

} // namespace

void TKqExchgClassEdtFrm::Frame21bbtnOKClick()
{
    // Nothing is saved for nobody, nor for no day: both would only fail in the
    // database, or be written half empty.
    if (m_employeeCode.isEmpty())
        Host::raiseError(u"请选择需调班人员"_s);
    if (!edtExchgDate->date().isValid())
        Host::raiseError(u"请选择调班时间"_s);
    CheckData();
    // The working-time rules set to block speak after the module's own checks.
    if (const QString refusal = m_warnings->refusal(draft()); !refusal.isEmpty())
        Host::raiseError(refusal);
    if (!(FID.isEmpty() ? InsertData() : UpdateData()))
        return;
    FSaved = true;
    if (!Frame21->cbContinue->isChecked())
        close();
}

bool TKqExchgClassEdtFrm::CheckData()
{
    const QString sameDay = Host::queryValue(
        EditorStatements::duplicateCount(m_employeeCode, edtExchgDate->text(), FID));
    if (sameDay != u"0"_s)
        Host::raiseError(u" 该员工这天已有调班记录，请核实!"_s);
    const QString refusal = ExchangeRules::periodRefusal(
        {cxTimeEdit5->text(), cxTimeEdit6->text(), cxTimeEdit7->text(), cxTimeEdit8->text()});
    if (!refusal.isEmpty())
        Host::raiseError(refusal);
    return true;
}

EditorStatements::Entry TKqExchgClassEdtFrm::entry() const
{
    return {m_employeeCode,      edtExchgDate->text(), cxTimeEdit5->text(), cxTimeEdit6->text(),
            cxTimeEdit7->text(), cxTimeEdit8->text(),  edtWorkTime->text(), cxExchgeReason->text(),
            mmRemark->text(),    operatorCode()};
}

// A failed insert leaves nothing behind (the transaction is rolled back) and the
// dialog open with everything typed, so that the user can correct and try again.
bool TKqExchgClassEdtFrm::InsertData()
{
    const Host::WaitMessage waitNotice; // removed at the end, though the insert shows none
    const QString sql = EditorStatements::insertExchange(entry());
    try {
        Host::Transaction transaction;
        Host::db()->ExecSql(sql);
        transaction.commit();
        Host::main()->NotifyDataSaved();
        return true;
    } catch (...) {
        Host::log()->WriteErrorLog(u"保存数据失败!"_s + Rt::messageOf(std::current_exception()), 0);
        return false;
    }
}

bool TKqExchgClassEdtFrm::UpdateData()
{
    const QString sql = EditorStatements::updateExchange(FID, entry());
    bool executed = false;
    try {
        executed = Host::db()->ExecSql(sql);
        if (executed)
            Host::main()->NotifyDataSaved();
    } catch (...) {
        Host::log()->WriteErrorLog(
            u"保存记录失败！\r\n"_s + Rt::messageOf(std::current_exception()), 0);
        return false;
    }
    if (!executed)
        Rt::messageBox(u"保存记录失败"_s, u"系统信息"_s, Rt::Buttons::Ok, Rt::Icon::Stop);
    return executed;
}
