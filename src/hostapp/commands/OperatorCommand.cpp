#include "OperatorCommand.h"

#include "HostOptions.h"

#include "hostapp/auth/OperatorAdministration.h"
#include "hostapp/auth/SignIn.h"
#include "hostapp/services/OperatorMessage.h"

#include <QTextStream>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

using Operator = OperatorAdministration::Operator;

// Each action and the arguments after its name.
struct Action
{
    QStringView name;
    QStringView arguments;
};

constexpr Action actions[] = {
    {u"list", u""},      {u"add", u"CODE NAME"}, {u"passwd", u"CODE"},
    {u"grant", u"CODE"}, {u"remove", u"CODE"},
};

QString levelText(int level)
{
    switch (level) {
    case 0:
        return u"不能使用登记簿"_s;
    case 1:
        return u"只能查看"_s;
    default:
        return u"可以修改"_s;
    }
}

QString describe(const Operator &op)
{
    return u"%1（%2）：%3%4；部门 %5"_s.arg(
        op.code, op.name, levelText(op.level), op.administrator ? u"，管理员"_s : QString(),
        op.departments.isEmpty() ? u"无"_s : op.departments.join(u"、"_s));
}

// The new password: TALVEX_NEW_PASSWORD, else the first line of the file;
// none when neither is given and none is needed.
std::optional<QString> newPassword(const HostOptions &options, bool needed)
{
    if (qEnvironmentVariableIsSet("TALVEX_NEW_PASSWORD"))
        return qEnvironmentVariable("TALVEX_NEW_PASSWORD");
    if (!options.newPasswordFile.isEmpty())
        return passwordFromFile(options.newPasswordFile);
    if (!needed)
        return std::nullopt;
    throw HostError(u"请用环境变量 TALVEX_NEW_PASSWORD 或 --new-password-file 文件给出新密码，"
                    u"不要写在命令行上。"_s,
                    {});
}

void say(const QString &text)
{
    QTextStream(stdout) << text << '\n';
}

// What was done, then what became of the operator's sign-in, if anything.
void say(const QString &text, const QString &login)
{
    say(login.isEmpty() ? text : text + u'\n' + login);
}

OperatorAdministration::Grant grantOf(const HostOptions &options)
{
    std::optional<QStringList> departments;
    if (!options.department.isEmpty())
        departments = options.department.split(u',', Qt::SkipEmptyParts);
    return {departments, options.level, options.administrator};
}

} // namespace

QString OperatorCommand::name() const
{
    return u"operator"_s;
}

QString OperatorCommand::argumentsHelp() const
{
    return u"list|add|passwd|grant|remove …"_s;
}

QString OperatorCommand::help() const
{
    return u"管理操作员：列出、添加、设密码、授权、删除（管理员用）"_s;
}

void OperatorCommand::checkArguments(const QStringList &arguments) const
{
    for (const Action &action : actions) {
        if (arguments.value(0) != action.name)
            continue;
        const qsizetype expected = 1 + action.arguments.split(u' ', Qt::SkipEmptyParts).size();
        if (arguments.size() != expected && action.arguments.isEmpty())
            throw UsageError(u"operator %1 后面不再写别的。"_s.arg(action.name));
        if (arguments.size() != expected) {
            throw UsageError(
                u"operator %1 后面要写 %2，不多不少。"_s.arg(action.name, action.arguments));
        }
        return;
    }
    throw UsageError(u"operator 后面要写 list、add、passwd、grant 或 remove。"_s);
}

int OperatorCommand::run(const HostOptions &options, Database &db, ErrorLog &) const
{
    OperatorAdministration administration(db, options.operatorCode);
    const QStringList &arguments = options.commandArguments;
    const QString &action = arguments.first();
    if (action == u"list"_s) {
        for (const Operator &op : administration.list())
            say(describe(op));
    } else if (action == u"add"_s) {
        const Operator added = administration.add(
            arguments.at(1), arguments.at(2),
            newPassword(options, administration.addNeedsPassword()), grantOf(options));
        say(u"已添加操作员 %1"_s.arg(describe(added)), added.login);
    } else if (action == u"passwd"_s) {
        administration.setPassword(arguments.at(1), *newPassword(options, true));
        say(u"已修改操作员“%1”的密码。"_s.arg(arguments.at(1)));
    } else if (action == u"grant"_s) {
        const Operator granted = administration.grant(arguments.at(1), grantOf(options));
        say(u"已修改操作员 %1"_s.arg(describe(granted)));
    } else {
        const QString login = administration.remove(arguments.at(1));
        say(u"已删除操作员“%1”。"_s.arg(arguments.at(1)), login);
    }
    return 0;
}
