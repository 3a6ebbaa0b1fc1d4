#include "RulesCommand.h"

#include "HostOptions.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/RuleStore.h"
#include "hostapp/services/HostOperator.h"
#include "hostapp/services/HostSession.h"
#include "runtime/datetime.h"

#include <cstdio>

using namespace Qt::StringLiterals;
using Schedule::Action;
using Schedule::Rule;

namespace {

// The forms a change takes, with the number of words after "rules".
struct Form
{
    QStringView verb;
    int words;
    QStringView usage;
};

constexpr Form forms[] = {
    {u"list", 1, u"rules list"},
    {u"set", 4, u"rules set PROFILE RULE on|off|warn|block"},
    {u"limit", 4, u"rules limit PROFILE RULE MINUTES"},
    {u"dept", 3, u"rules dept DEPT|default PROFILE"},
    {u"coverage", 4, u"rules coverage DEPT 1-7|yyyy-mm-dd COUNT|-"},
};

const Form *formOf(const QStringList &arguments)
{
    const QString verb = arguments.value(0, u"list"_s);
    for (const Form &form : forms) {
        if (form.verb == verb)
            return &form;
    }
    return nullptr;
}

// One form a line, each after indent blanks.
QString usageLines(int indent)
{
    QStringList lines;
    for (const Form &form : forms)
        lines << QString(indent, u' ') + form.usage;
    return lines.join(u'\n');
}

// A refusal: the operator's mistake in his words; nothing has been written.
class Refusal : public Rt::Exception
{
public:
    using Rt::Exception::Exception;
};

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

QString actionText(const Schedule::RuleSetting &setting)
{
    switch (setting.action) {
    case Action::Off:
        return u"关闭"_s;
    case Action::Warn:
        return u"提醒"_s;
    case Action::Block:
        return u"阻止"_s;
    }
    return QString();
}

void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
}

void list(Database &db)
{
    const RuleStore::RuleSettings settings = RuleStore::read(db);
    for (const Schedule::Profile &profile : settings.profiles) {
        print(u"规则方案 %1（标准工作日 %2 分钟，周工时按 %3 周平均）"_s.arg(profile.name)
                  .arg(profile.standardDayMinutes)
                  .arg(profile.averagingWeeks));
        for (int r = 0; r < Schedule::RuleCount; ++r) {
            const Rule rule = Rule(r);
            print(
                rule == Rule::Coverage
                    ? u"  %1  %2"_s.arg(Schedule::ruleId(rule), actionText(profile[rule]))
                    : u"  %1  %2  限度 %3"_s.arg(Schedule::ruleId(rule), actionText(profile[rule]))
                          .arg(profile[rule].limit));
        }
    }
    print(u"部门的规则方案（下属部门沿用）："_s);
    for (const RuleStore::DepartmentProfile &department : settings.departments) {
        print(u"  %1  %2"_s.arg(department.deptCode.isEmpty() ? u"default"_s : department.deptCode,
                                department.profileName));
    }
    print(u"最少在岗人数（含下属部门，周一为 1）："_s);
    const QString weekdays = u"一二三四五六日"_s;
    for (const RuleStore::CoverageMinimum &minimum : settings.coverage) {
        QStringList days;
        for (int d = 0; d < 7; ++d)
            days << u"周%1 %2"_s.arg(weekdays.at(d)).arg(minimum.weekdayMinimum[size_t(d)]);
        for (const auto &date : minimum.overrides) {
            days << u"%1 %2"_s.arg(date.date.toString(u"yyyy-MM-dd"_s)).arg(date.minimum);
        }
        print(u"  %1  %2"_s.arg(minimum.deptCode, days.join(u"，"_s)));
    }
}

// One change, checked whole against the database before it is written.
class Change
{
public:
    Change(Database &db, const HostSession &session, const QStringList &words)
        : m_db(db)
        , m_session(session)
        , m_words(words)
    {}

    void apply()
    {
        if (m_session.rightLevel(DemoData::rightCode.toString()) < 2) {
            throw Refusal(u"操作员 %1 只能查看，不能修改规则。"_s.arg(
                m_session.currentOperator()->OperatorCode));
        }
        const QString &verb = m_words.at(0);
        TransactionScope transaction(m_db);
        if (verb == u"set")
            setAction();
        else if (verb == u"limit")
            setLimit();
        else if (verb == u"dept")
            setDepartment();
        else
            setCoverage();
        transaction.commit();
    }

private:
    QString profile(const QString &name) const
    {
        if (m_db.nativeValue(u"SELECT count(*) FROM Kq_RuleProfile WHERE ProfileName = $1"_s,
                             {name})
            == u"0"_s) {
            throw Refusal(u"没有名为 %1 的规则方案。"_s.arg(name));
        }
        return name;
    }

    static Rule rule(const QString &id)
    {
        const std::optional<Rule> rule = Schedule::ruleFromId(id);
        if (!rule) {
            throw Refusal(
                u"没有 %1 这条规则；规则有 daily-max、daily-overtime、"
                u"monthly-overtime、rest-days、weekly-hours、daily-rest、coverage。"_s.arg(id));
        }
        return *rule;
    }

    // A department the operator may see.
    QString department(const QString &code) const
    {
        const QString scope = m_session.deptScope(m_session.currentOperator()->ID);
        if (m_db.nativeValue(u"SELECT count(*) FROM Sys_Dept WHERE DeptCode = $1"
                             u" AND DeptCode IN %1"_s.arg(scope),
                             {code})
            == u"0"_s) {
            throw Refusal(u"没有编号为 %1 的部门，或者操作员 %2 无权管理它。"_s.arg(
                code, m_session.currentOperator()->OperatorCode));
        }
        return code;
    }

    void setAction()
    {
        const QString name = profile(m_words.at(1));
        const Rule which = rule(m_words.at(2));
        const QString &word = m_words.at(3);
        if (word == u"block" && which == Rule::DailyOvertime)
            throw Refusal(u"daily-overtime 只记作加班提醒，不能设为阻止。"_s);
        if (word == u"off")
            RuleStore::setAction(m_db, name, which, Action::Off);
        else if (word == u"warn" || word == u"on")
            RuleStore::setAction(m_db, name, which, Action::Warn);
        else if (word == u"block")
            RuleStore::setAction(m_db, name, which, Action::Block);
        else
            throw Refusal(u"“%1”不是 on、off、warn 或 block。"_s.arg(word));
    }

    void setLimit()
    {
        const QString name = profile(m_words.at(1));
        const Rule which = rule(m_words.at(2));
        if (which == Rule::Coverage)
            throw Refusal(u"coverage 没有限度：最少在岗人数用 rules coverage 按部门设置。"_s);
        const std::optional<int> limit = wholeNumber(m_words.at(3));
        if (!limit || *limit == 0 || *limit > 24 * 60 * 7 * 17)
            throw Refusal(
                u"限度“%1”无效，应为正整数（分钟；rest-days 为天数）。"_s.arg(m_words.at(3)));
        RuleStore::setLimit(m_db, name, which, *limit);
    }

    void setDepartment()
    {
        const QString code = m_words.at(1) == u"default" ? RuleStore::defaultDepartment.toString()
                                                         : department(m_words.at(1));
        RuleStore::setDepartmentProfile(m_db, code, profile(m_words.at(2)));
    }

    void setCoverage()
    {
        const QString code = department(m_words.at(1));
        const QString &day = m_words.at(2);
        const QString &count = m_words.at(3);
        std::optional<int> minimum;
        if (count != u"-") {
            minimum = wholeNumber(count);
            if (!minimum)
                throw Refusal(u"人数“%1”无效，应为 0 或正整数，或写 - 取消。"_s.arg(count));
        }
        if (const std::optional<QDate> date = Rt::DateTime::parseDate(day)) {
            RuleStore::setDateMinimum(m_db, code, *date, minimum);
            return;
        }
        const std::optional<int> weekday = wholeNumber(day);
        if (!weekday || *weekday < 1 || *weekday > 7)
            throw Refusal(
                u"“%1”既不是星期几（1 到 7，周一为 1），也不是日期 yyyy-mm-dd。"_s.arg(day));
        RuleStore::setWeekdayMinimum(m_db, code, *weekday, minimum);
    }

    Database &m_db;
    const HostSession &m_session;
    const QStringList &m_words;
};

} // namespace

QString RulesCommand::name() const
{
    return u"rules"_s;
}

QString RulesCommand::argumentsHelp() const
{
    return u"[CHANGE]"_s;
}

QString RulesCommand::help() const
{
    return u"列出或修改工时规则、规则方案、部门的方案和最少在岗人数，CHANGE 可以是：\n"_s
           + usageLines(40);
}

void RulesCommand::checkArguments(const QStringList &arguments) const
{
    const Form *form = formOf(arguments);
    if (!form)
        throw UsageError(u"rules 后面可以写：\n%1"_s.arg(usageLines(2)));
    if (qMax(int(arguments.size()), 1) != form->words)
        throw UsageError(u"用法：%1"_s.arg(form->usage));
}

int RulesCommand::run(const HostOptions &options, Database &db, ErrorLog &log) const
{
    const HostSession session(db, log, options.operatorCode);
    const QStringList &words = options.commandArguments;
    if (words.isEmpty() || words.first() == u"list") {
        list(db);
        return 0;
    }
    try {
        Change(db, session, words).apply();
    } catch (const Refusal &refusal) {
        Terminal::say(u"没有修改：%1"_s.arg(refusal.message()));
        return 1;
    }
    print(u"已修改：rules %1"_s.arg(words.join(u' ')));
    return 0;
}
