#include "SignInDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SignInDialog::SignInDialog(const QString &operatorCode, Check check, QWidget *parent)
    : QDialog(parent)
    , m_check(std::move(check))
    , m_code(new QLineEdit(operatorCode, this))
    , m_password(new QLineEdit(this))
    , m_message(new QLabel(this))
{
    setWindowTitle(u"登录 - Talvex"_s);
    m_code->setObjectName(u"edtOperator"_s);
    m_password->setObjectName(u"edtPassword"_s);
    m_password->setEchoMode(QLineEdit::Password);
    m_message->setObjectName(u"lblMessage"_s);
    m_message->setWordWrap(true);

    auto *form = new QFormLayout;
    auto *codeLabel = new QLabel(u"操作员(&U)："_s, this);
    codeLabel->setBuddy(m_code);
    form->addRow(codeLabel, m_code);
    auto *passwordLabel = new QLabel(u"密码(&P)："_s, this);
    passwordLabel->setBuddy(m_password);
    form->addRow(passwordLabel, m_password);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定(&O)"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消(&C)"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &SignInDialog::tryToSignIn);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);

    // The code is usually given: the password is what is left to type.
    (operatorCode.isEmpty() ? m_code : m_password)->setFocus();
}

QString SignInDialog::operatorCode() const
{
    return m_code->text().trimmed();
}

void SignInDialog::tryToSignIn()
{
    const PasswordCheck::Result result = m_check(operatorCode(), m_password->text());
    if (result.outcome == PasswordCheck::Outcome::SignedIn) {
        accept();
        return;
    }
    if (result.outcome == PasswordCheck::Outcome::Refused
        && ++m_wrongPasswords >= allowedWrongPasswords) {
        reject();
        return;
    }
    QString text = PasswordCheck::refusal(operatorCode(), result);
    if (result.outcome == PasswordCheck::Outcome::Refused)
        text += u"还可以再试 %1 次。"_s.arg(allowedWrongPasswords - m_wrongPasswords);
    m_message->setText(text);
    m_password->clear();
    m_password->setFocus();
}

std::optional<QString> SignInDialog::askPassword(const QString &role, const QString &problem)
{
    SignInDialog dialog(role, [](const QString &, const QString &) {
        return PasswordCheck::Result{PasswordCheck::Outcome::SignedIn};
    });
    dialog.m_code->setReadOnly(true);
    dialog.m_message->setText(problem);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_password->text();
}

QString SignInDialog::endOfStart(bool tooManyWrongPasswords)
{
    if (tooManyWrongPasswords)
        return u"密码连续输错 %1 次，程序退出。"_s.arg(allowedWrongPasswords);
    return u"没有登录，程序退出。"_s;
}
