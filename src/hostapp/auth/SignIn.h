#pragma once

#include <QString>

class Database;
class ErrorLog;

// What the command line says about who signs in.
struct SignInRequest
{
    QString operatorCode; // --operator
    QString passwordFile; // --password-file; empty when not given
    // A sign-in dialog may ask for the password: the register window on a
    // screen. Commands and screenshots take it from the environment or a file.
    bool dialogAllowed = false;
};

// The sign-in every start of talvex-host goes through once the database is open
// and before any command or window runs. Returns the code of the signed-in
// operator; raises HostError, in his words, when nobody signed in.
//
// On the embedded database the password comes from TALVEX_PASSWORD, else from
// the first line of the --password-file, else, where allowed, from the sign-in
// dialog (three wrong passwords end the start); never from the command line,
// where other users of the machine could read it. It is checked against the
// operator's stored hash (PasswordCheck.h). Operators without a password get
// their code as a first one, with a warning in the log.
//
// On a server the connection's role signed in as the database opened: the
// operator code is returned as given, empty for that role.
QString signIn(Database &db, const SignInRequest &request, ErrorLog &log);

// The password on the first line of a file, without its line end; raises
// HostError when the file cannot be read.
QString passwordFromFile(const QString &path);
