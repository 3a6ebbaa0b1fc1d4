#include "HostOptions.h"

#include "HostCommand.h"

#include "hostapp/db/DemoData.h"
#include "hostapp/services/ErrorLog.h"
#include "runtime/datetime.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// Puts an option's value or a command's argument into the options; raises
// UsageError when the value cannot be.
using Take = void (*)(HostOptions &options, const QString &value);

struct OptionRow
{
    QStringView name; // without the leading dashes
    QStringView valueName;
    QStringView help;
    Take take;
    int command = 0; // the HostCommand::Option it belongs to; 0 for the host's own
};

int demoScaleOf(const QString &value)
{
    bool ok = false;
    const qlonglong scale = value.toLongLong(&ok);
    if (!ok || scale < 1 || scale > DemoProfile::maxScale) {
        throw UsageError(
            u"--demo-scale 应是 1 到 %1 的整数，不能是“%2”。"_s.arg(DemoProfile::maxScale)
                .arg(value));
    }
    return int(scale);
}

// A file the host writes at the end of its run must have a folder to go into,
// or the run would be wasted.
QString outputFile(const QString &path, QStringView option)
{
    const QFileInfo file(path);
    if (!file.absoluteDir().exists()) {
        throw UsageError(u"--%1 的文件夹 %2 不存在。"_s.arg(option, file.absolutePath()));
    }
    return path;
}

// A bare file name is the file in the current folder, as for every other path
// on the command line; the loader would search the system's library folders.
// Only a name found in neither place is left to the loader.
QString pluginPathOf(const QString &value)
{
    if (value.contains(u'/'))
        return value;
    const QFileInfo here(QDir::current(), value);
    return here.exists() ? here.absoluteFilePath() : value;
}

// A day of a command's range, read as the date edits read it (2026-12-05, also
// 2026-12-5).
QDate dayOf(const QString &value, QStringView option)
{
    const std::optional<QDate> day = Rt::DateTime::parseDate(value);
    if (!day) {
        throw UsageError(
            u"--%1 的日期“%2”无效，应写作 yyyy-mm-dd，例如 2026-12-05。"_s.arg(option, value));
    }
    return *day;
}

int levelOf(const QString &value)
{
    if (value != u"0"_s && value != u"1"_s && value != u"2"_s)
        throw UsageError(u"--level 应是 0、1 或 2，不能是“%1”。"_s.arg(value));
    return value.toInt();
}

bool yesOrNo(const QString &value, QStringView option)
{
    if (value != u"yes"_s && value != u"no"_s)
        throw UsageError(u"--%1 应是 yes 或 no，不能是“%2”。"_s.arg(option, value));
    return value == u"yes"_s;
}

const OptionRow optionRows[] = {
    {u"db", u"PATH",
     u"数据库文件（所在文件夹须已存在），或服务器上数据库的 postgresql:// "
     u"地址；新库会建好表并填入演示数据",
     [](HostOptions &o, const QString &v) { o.databasePath = v; }},
    {u"operator", u"CODE",
     u"操作员：admin（所有部门，可修改数据，默认）、clerk（只管 02 分部）、viewer（只能查看）",
     [](HostOptions &o, const QString &v) { o.operatorCode = v; }},
    {u"password-file", u"FILE",
     u"密码在这个文件的第一行（也可用环境变量 TALVEX_PASSWORD；密码不写在命令行上）",
     [](HostOptions &o, const QString &v) { o.passwordFile = v; }},
    {u"plugin", u"PATH", u"插件库，只写文件名时先在当前文件夹里找；默认为随程序安装的 libTalvex.so",
     [](HostOptions &o, const QString &v) { o.pluginPath = pluginPathOf(v); }},
    {u"demo-scale", u"N", u"新建大型演示数据库，N 为 1 到 100：1 约为 2 万名员工、100 万条调班记录",
     [](HostOptions &o, const QString &v) { o.demoScale = demoScaleOf(v); }},
    {u"screenshot", u"FILE.png", u"启动，等窗口就绪后保存截图并退出（没有屏幕也可以）",
     [](HostOptions &o, const QString &v) { o.screenshotPath = outputFile(v, u"screenshot"); }},
    {u"print-to", u"FILE.pdf", u"打印预览写入这个 PDF 文件，不显示预览窗口",
     [](HostOptions &o, const QString &v) { o.printToPath = outputFile(v, u"print-to"); }},
    {u"from", u"yyyy-mm-dd",
     u"查询的第一天（export-xls 默认为 30 天前，roster 和 check-rules 默认为本月 1 日）",
     [](HostOptions &o, const QString &v) { o.from = dayOf(v, u"from"); }, HostCommand::DateRange},
    {u"to", u"yyyy-mm-dd",
     u"查询的最后一天（export-xls 默认为今天，roster 和 check-rules 默认为月底）",
     [](HostOptions &o, const QString &v) { o.to = dayOf(v, u"to"); }, HostCommand::DateRange},
    {u"dept", u"CODE", u"部门编号：只看这个部门和它下属的部门；operator 命令用逗号分开几个部门",
     [](HostOptions &o, const QString &v) { o.department = v; }, HostCommand::Department},
    {u"level", u"N", u"操作员的调班登记权限：0 不能使用，1 只能查看，2 可以修改",
     [](HostOptions &o, const QString &v) { o.level = levelOf(v); }, HostCommand::OperatorAccount},
    {u"admin", u"yes|no", u"操作员是否可以管理操作员",
     [](HostOptions &o, const QString &v) { o.administrator = yesOrNo(v, u"admin"); },
     HostCommand::OperatorAccount},
    {u"new-password-file", u"FILE",
     u"新密码在这个文件的第一行（也可用环境变量 TALVEX_NEW_PASSWORD）",
     [](HostOptions &o, const QString &v) { o.newPasswordFile = v; }, HostCommand::OperatorAccount},
};

// The commands that take the options of a kind, for the message that refuses it.
QString commandsTaking(int option)
{
    QStringList names;
    for (const HostCommand *command : hostCommands()) {
        if (command->options() & option)
            names << command->name();
    }
    return names.join(u"、"_s);
}

// What the options say must fit the command and each other.
void checkCommandOptions(const HostOptions &options, int given)
{
    const int taken = options.command ? options.command->options() : 0;
    for (const OptionRow &row : optionRows) {
        if ((row.command & given) && !(row.command & taken)) {
            throw UsageError(
                u"--%1 只用于 %2。"_s.arg(row.name.toString(), commandsTaking(row.command)));
        }
    }
    if (options.from.isValid() && options.to.isValid() && options.from > options.to) {
        throw UsageError(u"起始日期 %1 晚于结束日期 %2。"_s.arg(
            options.from.toString(u"yyyy-MM-dd"_s), options.to.toString(u"yyyy-MM-dd"_s)));
    }
}

const OptionRow *optionNamed(QStringView name)
{
    for (const OptionRow &row : optionRows) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

const HostCommand *commandNamed(QStringView name)
{
    for (const HostCommand *command : hostCommands()) {
        if (command->name() == name)
            return command;
    }
    return nullptr;
}

} // namespace

QString defaultDatabasePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/talvex.db"_s;
}

HostOptions parseHostOptions(const QStringList &arguments)
{
    HostOptions options;
    options.databasePath = defaultDatabasePath();
    const HostCommand *command = nullptr;
    QStringList commandArguments;
    int givenCommandOptions = 0;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument.size() == 1) {
            if (command) {
                commandArguments << argument;
                continue;
            }
            command = commandNamed(argument);
            if (!command)
                throw UsageError(u"没有“%1”这个命令。"_s.arg(argument));
            continue;
        }
        if (argument == u"--"_s) {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help"_s || argument == u"-h"_s) {
            options.help = true;
            return options;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.left(equals);
        const OptionRow *option = name.startsWith(u"--"_s) ? optionNamed(name.sliced(2)) : nullptr;
        if (!option)
            throw UsageError(u"没有“%1”这个选项。"_s.arg(name));

        // "--name=VALUE", or "--name VALUE" where the value is no option itself;
        // "-1" is a value, if a bad one.
        QString value;
        if (equals >= 0)
            value = argument.sliced(equals + 1);
        else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(u"--"_s))
            value = arguments.at(++i);
        if (value.isEmpty())
            throw UsageError(u"选项 %1 后面要写 %2。"_s.arg(name, option->valueName));
        option->take(options, value);
        givenCommandOptions |= option->command;
    }

    if (command) {
        command->checkArguments(commandArguments);
        options.command = command;
        options.commandArguments = commandArguments;
    }
    checkCommandOptions(options, givenCommandOptions);
    return options;
}

QString hostUsage()
{
    QString text =
        u"员工调班登记的宿主程序，数据在一个 SQLite 文件里，或在 PostgreSQL 服务器上。\n\n用法：\n"_s;
    const QString usageLine = u"  %1%2\n"_s;
    text += usageLine.arg(u"talvex-host [选项]"_s.leftJustified(38), u"打开员工调班登记"_s);
    for (const HostCommand *command : hostCommands()) {
        text += usageLine.arg(
            u"talvex-host [选项] %1 %2"_s.arg(command->name(), command->argumentsHelp())
                .leftJustified(38),
            command->help());
    }
    text += u"\n选项（写作 --选项 值，或 --选项=值）：\n"_s;
    for (const OptionRow &row : optionRows) {
        text +=
            usageLine.arg(u"--%1 %2"_s.arg(row.name, row.valueName).leftJustified(24), row.help);
    }
    text += usageLine.arg(u"-h, --help"_s.leftJustified(24), u"显示本说明"_s);
    text += u"\nQt 自己的设置用环境变量给出，例如 QT_QPA_PLATFORM、QT_STYLE_OVERRIDE。\n"
            "错误日志："_s
            + ErrorLog::defaultPath() + u'\n';
    return text;
}
