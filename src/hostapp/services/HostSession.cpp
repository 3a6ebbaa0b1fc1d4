#include "HostSession.h"
#include "ErrorLog.h"
#include "HostOperator.h"
#include "HostStyles.h"
#include "WaitNotice.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/OperatorRights.h"
#include "runtime/application.h"
#include "runtime/exceptions.h"

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<THostOperator> loadOperator(Database &db, const QString &code)
{
    SqliteStatement query = db.prepare(
        u"SELECT ID, OperatorCode, OperatorName FROM Sys_Operator WHERE OperatorCode = ?1"_s);
    query.bind(1, code);
    if (!query.step()) {
        QStringList codes;
        SqliteStatement all = db.prepare(u"SELECT OperatorCode FROM Sys_Operator ORDER BY ID"_s);
        while (all.step())
            codes << all.columnText(0);
        throw Rt::Exception(u"没有操作员“%1”。可用的操作员：%2。"_s.arg(code, codes.join(u"、"_s)));
    }
    auto op = std::make_unique<THostOperator>();
    op->ID = query.columnText(0);
    op->OperatorCode = query.columnText(1);
    op->OperatorName = query.columnText(2);
    return op;
}

} // namespace

HostSession::HostSession(Database &database, ErrorLog &log, const QString &operatorCode,
                         QWidget *window)
    : m_database(database)
    , m_log(log)
    , m_operator(loadOperator(database, operatorCode))
    , m_waitNotice(std::make_unique<WaitNotice>(window))
    , m_styles(createHostStyleRepository(this))
    , m_window(window)
{
}

HostSession::~HostSession() = default;

void HostSession::setWindow(QWidget *window)
{
    m_window = window;
    m_waitNotice = std::make_unique<WaitNotice>(window);
}

int HostSession::rightLevel(const QString &rightCode) const
{
    return OperatorRights::rightLevel(m_database, m_operator->ID, rightCode);
}

QString HostSession::deptScope(const QString &operatorId) const
{
    return OperatorRights::deptScope(m_database, operatorId);
}

void HostSession::handleException(const std::exception_ptr &error)
{
    m_waitNotice->hide();
    const QString text = OperatorMessage::report(m_log, error).text;
    m_log.append(text);
    Rt::messageBox(text, u"系统消息"_s, Rt::Buttons::Ok, Rt::Icon::Stop);
}
