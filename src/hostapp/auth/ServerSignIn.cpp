#include "ServerSignIn.h"

#include "SignInDialog.h"

#include "hostapp/db/PgDatabase.h"
#include "hostapp/services/OperatorMessage.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace ServerSignIn {

namespace {

// The role the URI signs in as; libpq's default (PGUSER, else the system's
// user name) when it names none.
QString roleOf(const QString &location)
{
    const QString role = QUrl(location).userName();
    if (!role.isEmpty())
        return role;
    return qEnvironmentVariableIsSet("PGUSER") ? qEnvironmentVariable("PGUSER")
                                               : qEnvironmentVariable("USER");
}

// Whether the server turned the password away: a wrong one, or an empty one
// that libpq does not send.
bool refused(const DbError &error)
{
    return error.failure() == DbFailure::WrongPassword
           || error.failure() == DbFailure::PasswordNeeded;
}

} // namespace

std::unique_ptr<Database> open(const QString &location, const PasswordPrompt &prompt)
{
    try {
        return openDatabase(location);
    } catch (const DbError &e) {
        if (!prompt || !isServerLocation(location) || e.failure() != DbFailure::PasswordNeeded)
            throw;
    }
    const QString role = roleOf(location);
    QString problem;
    for (int tries = 1; tries <= SignInDialog::allowedWrongPasswords; ++tries) {
        const std::optional<QString> password = prompt(role, problem);
        if (!password)
            throw HostError(SignInDialog::endOfStart(false), {});
        try {
            return std::make_unique<PgDatabase>(location, *password);
        } catch (const DbError &e) {
            if (!refused(e))
                throw;
            problem = u"数据库服务器没有接受这个密码。还可以再试 %1 次。"_s.arg(
                SignInDialog::allowedWrongPasswords - tries);
        }
    }
    throw HostError(SignInDialog::endOfStart(true), {});
}

} // namespace ServerSignIn
