#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class Database;

// One sign-in attempt on the embedded database: the password against the
// operator's stored hash, each failure recorded in the database. After
// throttleAfter failures in a row, an attempt for that operator within
// throttleSeconds of the latest failure is turned away without a look at the
// password, so that guessing costs half a minute a guess however many desks or
// processes guess at once; a success clears the count.
class PasswordCheck
{
public:
    static constexpr int throttleAfter = 5;
    static constexpr int throttleSeconds = 30;

    // The time in UTC; tests pass a clock of their own.
    using Clock = std::function<QDateTime()>;

    explicit PasswordCheck(Database &db, Clock now = &QDateTime::currentDateTimeUtc);

    enum class Outcome {
        SignedIn,
        // An unknown operator or a wrong password, which the operator is not
        // told apart.
        Refused,
        NoPasswordSet,
        TooSoon, // waitSeconds says how long yet
    };
    struct Result
    {
        Outcome outcome;
        int waitSeconds = 0;
    };

    Result attempt(const QString &operatorCode, const QString &password);

    // What the operator reads about an attempt that did not sign him in.
    static QString refusal(const QString &operatorCode, const Result &result);

private:
    Database &m_db;
    Clock m_now;
};
