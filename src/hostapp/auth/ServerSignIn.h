#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Database;

// Opening the database named by --db, for a server that asks for a password
// libpq found nowhere (PGPASSWORD, ~/.pgpass): with a screen the operator types
// it in the sign-in dialog (SignInDialog::askPassword), at most three times;
// the server checks it. Without a screen the start
// ends with the server's failure in the operator's words, as before. The typed
// password stays in this process, for reconnecting.
namespace ServerSignIn {

// Asks for the password of the role; `problem` says what was wrong with the
// one before (empty at first). None: the operator gave up.
using PasswordPrompt =
    std::function<std::optional<QString>(const QString &role, const QString &problem)>;

// Opens the database at location; a server's that needs a password asks prompt
// for it, if given. Raises as openDatabase does, or HostError when the
// operator gave up or typed a wrong password three times.
std::unique_ptr<Database> open(const QString &location, const PasswordPrompt &prompt);

} // namespace ServerSignIn
