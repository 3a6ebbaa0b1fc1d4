// The commands that change data: add, modify and delete an exchange. Each checks
// the operator's right first and reads the list again afterwards.

#include "ExchangeQueries.h"
#include "WorkWindow.h"

#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/project/HostFactory.h"
#include "talvex/project/HostScopes.h"

using namespace Qt::StringLiterals;

namespace {
const QString waitText = u"正在读取数据，请稍候..."_s;
} // namespace

// Level 2 and above may change data.
void TWorkWindowForm::requireChangeRight()
{
    if (GetOperateRight() < 2)
        Host::raiseError(u"对不起，您的权限不足，请与系统管理员联系！"_s);
}

bool TWorkWindowForm::hasRecord() const
{
    return FDataSet && !FDataSet->isEmpty();
}

// Runs command, then reads the list again whichever way it ended, as a finally
// part would; an error of the reading replaces one of the command. The wait
// notice goes last, after the list is read.
void TWorkWindowForm::runThenRequery(const std::function<void(const Host::WaitMessage &)> &command)
{
    const Host::WaitMessage waitNotice;
    try {
        command(waitNotice);
    } catch (...) {
        OpenExchangeQuery(FQuerySql);
        throw;
    }
    OpenExchangeQuery(FQuerySql);
}

void TWorkWindowForm::btnAddClick()
{
    requireChangeRight();
    runThenRequery([](const Host::WaitMessage &waitNotice) {
        ShowKqExchgClassEdt(u"新增调班"_s, QString());
        waitNotice.show(waitText);
    });
}

void TWorkWindowForm::btnUpdateClick()
{
    requireChangeRight();
    if (!hasRecord()) {
        Rt::messageBox(u"请先选择要修改的记录"_s, u"系统消息"_s, Rt::Buttons::Ok, Rt::Icon::Stop);
        return;
    }
    runThenRequery([this](const Host::WaitMessage &waitNotice) {
        waitNotice.show(waitText);
        ShowKqExchgClassEdt(u"修改调班"_s, FDataSet->fieldByName(u"ID"_s).asString());
    });
}

void TWorkWindowForm::btnDeleteClick()
{
    requireChangeRight();
    if (!hasRecord())
        Host::raiseError(u"无数据可删除！"_s);
    const QString question =
        u"确定删除员工编号["_s + FDataSet->fieldByName(u"EmployeeCode"_s).asString() + u"]"_s
        + QChar(13) + u"调休日期为："_s + FDataSet->fieldByName(u"ExchgDate"_s).asString();
    if (Rt::messageBox(question, u"提示"_s, Rt::Buttons::YesNo, Rt::Icon::Question)
        == Rt::Answer::No) {
        return;
    }
    const QString sql = ExchangeQueries::deleteExchange(FDataSet->fieldByName(u"ID"_s).asString());
    runThenRequery([&sql](const Host::WaitMessage &) {
        try {
            Host::Transaction transaction;
            Host::db()->ExecSql(sql);
            transaction.commit();
            Host::main()->NotifyDataSaved();
        } catch (...) {
            Host::log()->WriteErrorLog(u"保存数据失败!"_s + Rt::messageOf(std::current_exception()),
                                       0);
        }
    });
}

void TWorkWindowForm::TableKQExchangeClassCellDblClick()
{
    btnUpdate->click();
}
