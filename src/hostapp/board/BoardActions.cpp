#include "BoardActions.h"

#include "BatchExchangeDialog.h"
#include "SwapExchange.h"

#include "hostapp/db/Database.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "hostapp/services/OperatorMessage.h"
#include "hostapp/services/WaitNotice.h"
#include "runtime/application.h"
#include "runtime/datetime.h"

#include <QSet>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QString caption = u"系统信息"_s;

// The failure as the operator reads it, its detail in the log; nothing was written.
void showFailure(HostSession &session, const QString &what)
{
    const OperatorMessage message =
        OperatorMessage::report(session.log(), std::current_exception());
    Rt::messageBox(u"%1没有完成，没有写入任何调班。\n%2"_s.arg(what, message.text), caption,
                   Rt::Buttons::Ok, Rt::Icon::Stop);
}

QString cellText(const BoardCell &cell)
{
    return u"%1 %2"_s.arg(cell.employeeCode,
                          Rt::DateTime::toDateText(Rt::DateTime::fromDate(cell.day)));
}

// The cells of a list, one a line, the first few only: a batch may span thousands.
QString cellLines(const BoardCells &cells)
{
    constexpr int shown = 20;
    QStringList lines;
    for (const BoardCell &cell : cells.first(qMin(cells.size(), qsizetype(shown))))
        lines << u"  "_s + cellText(cell);
    if (cells.size() > shown)
        lines << u"  ……共 %1 个"_s.arg(cells.size());
    return lines.join(u'\n');
}

QString summaryOf(const BoardCells &cells)
{
    QSet<QString> employees;
    for (const BoardCell &cell : cells)
        employees.insert(cell.employeeCode);
    return u"为所选的 %1 名员工登记调班，共 %2 个员工日。"_s.arg(employees.size())
        .arg(cells.size());
}

QString resultText(const BatchExchange::Result &result)
{
    QString text = u"已登记 %1 条调班。"_s.arg(result.written.size());
    if (!result.skipped.isEmpty()) {
        text +=
            u"\n以下 %1 个员工日已有调班记录，已跳过，没有修改：\n%2"_s.arg(result.skipped.size())
                .arg(cellLines(result.skipped));
    }
    return text;
}

} // namespace

namespace BoardActions {

bool batchExchange(QWidget *parent, HostSession &session, const BoardCells &cells)
{
    if (cells.isEmpty())
        return false;
    BatchExchangeDialog dialog(summaryOf(cells), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    BatchExchange::Result result;
    try {
        WaitNotice::Scope wait(session.waitNotice(), u"正在保存数据，请稍候..."_s);
        result = BatchExchange::write(session.database(), session.currentOperator()->OperatorCode,
                                      cells, dialog.request());
    } catch (...) {
        showFailure(session, u"批量调班"_s);
        return false;
    }
    if (!result.written.isEmpty())
        Q_EMIT session.dataSaved();
    Rt::messageBox(resultText(result), caption, Rt::Buttons::Ok, Rt::Icon::Information);
    return !result.written.isEmpty();
}

// The messages go through the application's message box, which tests answer,
// rather than over the board.
bool swap(QWidget *, HostSession &session, const BoardCell &a, const BoardCell &b)
{
    SwapExchange::Result result;
    try {
        const THostOperator *op = session.currentOperator();
        result = SwapExchange::swap(session.database(), session.deptScope(op->ID), op->OperatorCode,
                                    a, b);
    } catch (...) {
        showFailure(session, u"对调"_s);
        return false;
    }
    Q_EMIT session.dataSaved();
    Rt::messageBox(u"已对调，登记了两条调班：\n%1\n%2"_s.arg(result.first, result.second), caption,
                   Rt::Buttons::Ok, Rt::Icon::Information);
    return true;
}

} // namespace BoardActions
