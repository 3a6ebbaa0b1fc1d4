#pragma once

#include "PasswordCheck.h"

#include <QDialog>
#include <functional>

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
