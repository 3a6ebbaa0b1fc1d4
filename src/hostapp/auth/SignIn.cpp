#include "SignIn.h"

#include "OperatorPasswords.h"
#include "PasswordCheck.h"
#include "SignInDialog.h"

#include "hostapp/db/Database.h"
#include "hostapp/services/ErrorLog.h"
#include "hostapp/services/OperatorMessage.h"

#include <QFile>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The password given without a dialog, if any.
std::optional<QString> givenPassword(const SignInRequest &request)
{
    if (qEnvironmentVariableIsSet("TALVEX_PASSWORD"))
        return qEnvironmentVariable("TALVEX_PASSWORD");
    if (!request.passwordFile.isEmpty())
        return passwordFromFile(request.passwordFile);
    return std::nullopt;
}

void warnOfInitialPasswords(Database &db, ErrorLog &log)
{
    for (const QString &code : OperatorPasswords::giveInitialPasswords(db)) {
        log.append(u"警告：操作员“%1”的密码是初始密码（与操作员代码相同），必须尽快修改："
                   u"talvex-host operator passwd %1"_s.arg(code));
    }
}

QString signInWithPassword(Database &db, const SignInRequest &request, ErrorLog &log)
{
    warnOfInitialPasswords(db, log);
    PasswordCheck check(db);
    if (const std::optional<QString> password = givenPassword(request)) {
        const PasswordCheck::Result result = check.attempt(request.operatorCode, *password);
        if (result.outcome != PasswordCheck::Outcome::SignedIn)
            throw HostError(PasswordCheck::refusal(request.operatorCode, result), {});
        return request.operatorCode;
    }
    if (!request.dialogAllowed) {
        throw HostError(
            u"需要操作员“%1”的密码：请用环境变量 TALVEX_PASSWORD 或"
            u" --password-file 文件给出，不要写在命令行上。"_s.arg(request.operatorCode),
            {});
    }
    SignInDialog dialog(request.operatorCode,
                        [&check](const QString &code, const QString &password) {
                            return check.attempt(code, password);
                        });
    if (dialog.exec() == QDialog::Accepted)
        return dialog.operatorCode();
    throw HostError(
        SignInDialog::endOfStart(dialog.wrongPasswords() >= SignInDialog::allowedWrongPasswords),
        {});
}

} // namespace

QString passwordFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HostError(u"无法读取密码文件 %1。"_s.arg(path), file.errorString());
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString signIn(Database &db, const SignInRequest &request, ErrorLog &log)
{
    // A server has authenticated the connection's role as it opened; the host's
    // session holds the operator to that role (HostSession).
    if (db.backend() != DbBackend::Sqlite)
        return request.operatorCode;
    SignInRequest asked = request;
    if (asked.operatorCode.isEmpty())
        asked.operatorCode = u"admin"_s;
    const QString operatorCode = signInWithPassword(db, asked, log);
    // From here on the database checks what he changes, and records it as his.
    db.setOperatorCode(operatorCode);
    return operatorCode;
}
