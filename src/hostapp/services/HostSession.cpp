#include "HostSession.h"
#include "ErrorLog.h"
#include "HostOperator.h"
#include "HostStyles.h"
#include "ServerWait.h"
#include "WaitNotice.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/OperatorRights.h"
#include "hostapp/db/PgDatabase.h"
#include "hostapp/db/PgRoles.h"
#include "runtime/application.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

// On a server the operator is the login role the server signed in. The role
// that owns the tables administers the database and works in no register.
QString operatorCodeOf(Database &db, const QString &requested)
{
    if (db.backend() != DbBackend::PostgreSql)
        return requested.isEmpty() ? u"admin"_s : requested;
    const PgRoles::Session session = PgRoles::session(db);
    if (session.ownsTables) {
        throw HostError(
            u"角色 %1 是这个数据库的所有者，负责建立和管理数据库，不是登记簿的操作员，"
            "不能打开登记簿。请用操作员的角色连接，例如 postgresql://clerk@服务器/数据库。"_s.arg(
                session.user),
            {});
    }
    if (!requested.isEmpty() && requested != session.user) {
        throw HostError(
            u"在数据库服务器上，操作员就是登录的角色 %1：--operator 不能换成 %2。"
            "要以 %2 的身份工作，请在 --db 中用 %2 登录。"_s.arg(session.user, requested),
            {});
    }
    return session.user;
}

std::unique_ptr<THostOperator> loadOperator(Database &db, const QString &code)
{
    const std::unique_ptr<TDataSet> rows = db.select(
        u"SELECT ID, OperatorCode, OperatorName FROM Sys_Operator WHERE OperatorCode = $1"_s,
        {code});
    if (rows->recordCount() == 0) {
        const std::unique_ptr<TDataSet> all =
            db.select(u"SELECT OperatorCode FROM Sys_Operator ORDER BY ID"_s, {});
        QStringList codes;
        for (int row = 0; row < all->recordCount(); ++row)
            codes << all->asString(row, 0);
        throw Rt::Exception(u"没有操作员“%1”。可用的操作员：%2。"_s.arg(code, codes.join(u"、"_s)));
    }
    auto op = std::make_unique<THostOperator>();
    op->ID = rows->asString(0, 0);
    op->OperatorCode = rows->asString(0, 1);
    op->OperatorName = rows->asString(0, 2);
    return op;
}

// A large list's result takes some tens of megabytes, in blocks of a megabyte or
// two a column. Given back to the system after every search, it must be touched
// afresh by the next one, page by page, which costs a search a third of its time
// on a virtual machine. The process keeps freed memory for reuse instead, up to
// what a few results take.
void keepFreedMemoryForTheNextResult()
{
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
}

} // namespace

HostSession::HostSession(Database &database, ErrorLog &log, const QString &operatorCode,
                         QWidget *window)
    : m_database(database)
    , m_log(log)
    , m_operator(loadOperator(database, operatorCodeOf(database, operatorCode)))
    , m_waitNotice(std::make_unique<WaitNotice>(window))
    , m_styles(createHostStyleRepository(this))
    , m_window(window)
{
    keepFreedMemoryForTheNextResult();
    // Every change of a shift exchange from now on is recorded as his.
    database.setOperatorCode(m_operator->OperatorCode);
    // A window shows a server's long statements, and lets them be cancelled.
    if (auto *server = dynamic_cast<PgDatabase *>(&database)) {
        server->connection().setSlowStatementHandler(
            [this](const PgConnection::SlowStatement &statement) {
                if (m_window)
                    waitForServer(*m_waitNotice, statement);
            });
    }
}

HostSession::~HostSession()
{
    if (auto *server = dynamic_cast<PgDatabase *>(&m_database))
        server->connection().setSlowStatementHandler({});
}

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
