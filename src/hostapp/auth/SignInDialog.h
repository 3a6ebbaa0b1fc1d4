#pragma once

#include "PasswordCheck.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

// 登录: the operator's code and password, checked when OK is pressed. The
// dialog accepts once the check signs him in and rejects after the third wrong
// password (or on 取消); a refusal that is no wrong password, such as a wait
// after too many, is shown and not counted.
class SignInDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int allowedWrongPasswords = 3;

    using Check =
        std::function<PasswordCheck::Result(const QString &code, const QString &password)>;

    SignInDialog(const QString &operatorCode, Check check, QWidget *parent = nullptr);

    // The same dialog for a server, which checks the password itself: the
    // operator is the role, `problem` what was wrong with the password before.
    // Returns the password typed; none on 取消.
    static std::optional<QString> askPassword(const QString &role, const QString &problem);
    // Why the start ends when nobody signed in: too many wrong passwords, or
    // the operator gave up.
    static QString endOfStart(bool tooManyWrongPasswords);

    QString operatorCode() const;
    // How many wrong passwords were given.
    int wrongPasswords() const { return m_wrongPasswords; }

private:
    void tryToSignIn();

    Check m_check;
    QLineEdit *m_code;
    QLineEdit *m_password;
    QLabel *m_message;
    int m_wrongPasswords = 0;
};
