// The commands that change data: add, modify and delete an exchange. Each checks
// the operator's right first and reads the list again afterwards.

#include "ExchangeQueries.h"
#include "WorkWindow.h"

#include "runtime/application.h"
#include "runtime/barmanager.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"
#include "runtime/grid/cxgrid.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/project/HostFactory.h"
#include "talvex/project/HostScopes.h"

#include <QSet>

#include <algorithm>

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

QStringList TWorkWindowForm::listedIds() const
{
    QStringList ids;
    const int field = FDataSet ? FDataSet->findField(u"ID"_s) : -1;
    for (int record = 0; field >= 0 && record < FDataSet->recordCount(); ++record)
        ids << FDataSet->asString(record, field);
    return ids;
}

QString TWorkWindowForm::focusedId() const
{
    return hasRecord() ? FDataSet->fieldByName(u"ID"_s).asString() : QString();
}

// The grid scrolls to the row it focuses. A row the list no longer holds (the
// exchange was moved out of the searched days) leaves the focus where the list
// put it, and false comes back.
bool TWorkWindowForm::focusExchange(const QString &id)
{
    const qsizetype row = id.isEmpty() ? -1 : listedIds().indexOf(id);
    if (row >= 0)
        TableKQExchangeClass->dataController()->setFocusedRecordIndex(int(row));
    return row >= 0;
}

// A saved exchange the search does not find (another day, type or employee than
// the conditions ask for) would otherwise seem lost: the status bar says why it
// is not in the list.
void TWorkWindowForm::noteSavedOutsideSearch()
{
    Rt::showStatusNote(this, u"调班已保存，但不在当前查询条件的范围内，列表中没有显示"_s);
}

// After a save the saved exchange is focused, a new one found as the row the list
// did not hold before; after a cancel or a failed save, the one focused before.
void TWorkWindowForm::btnAddClick()
{
    requireChangeRight();
    const QString focused = focusedId();
    const QStringList listedBefore = listedIds();
    const QSet<QString> before(listedBefore.cbegin(), listedBefore.cend());
    bool saved = false;
    runThenRequery([&saved](const Host::WaitMessage &waitNotice) {
        saved = ShowKqExchgClassEdt(u"新增调班"_s, QString());
        waitNotice.show(waitText);
    });
    if (!saved) {
        focusExchange(focused);
        return;
    }
    const QStringList listedAfter = listedIds();
    const auto added = std::find_if(listedAfter.cbegin(), listedAfter.cend(),
                                    [&before](const QString &id) { return !before.contains(id); });
    if (added != listedAfter.cend())
        focusExchange(*added);
    else
        noteSavedOutsideSearch();
}

void TWorkWindowForm::btnUpdateClick()
{
    requireChangeRight();
    if (!hasRecord()) {
        Rt::messageBox(u"请先选择要修改的记录"_s, u"系统消息"_s, Rt::Buttons::Ok, Rt::Icon::Stop);
        return;
    }
    const QString id = focusedId();
    bool saved = false;
    runThenRequery([&id, &saved](const Host::WaitMessage &waitNotice) {
        waitNotice.show(waitText);
        saved = ShowKqExchgClassEdt(u"修改调班"_s, id);
    });
    if (!focusExchange(id) && saved)
        noteSavedOutsideSearch();
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
