#include "CommandDatabase.h"

#include "HostOptions.h"
#include "ServerSetup.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/OperatorMessage.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A file's folder is made when missing; a server's database needs none here.
void createDatabaseFolder(const QString &location)
{
    if (isServerLocation(location))
        return;
    const QString folder = QFileInfo(location).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw HostError(
            u"无法建立数据库文件夹 %1。请检查 --db 给出的路径和文件夹的权限。"_s.arg(folder), {});
    }
}

// A new database gets the schema and the demo data; an existing one must be
// ours, and one of an older layout is brought up to date. True when a server's
// database was made just now: its owner's work is done.
bool prepareDatabase(Database &db, int demoScale)
{
    const Schema::State state = Schema::check(db);
    if (state != Schema::State::Empty && demoScale > 0) {
        Terminal::say(u"数据库 %1 已经存在：--demo-scale 只用于新建数据库，这次不起作用。"_s.arg(
            db.location()));
    }
    if (state == Schema::State::Current)
        return false;
    if (state == Schema::State::Older) {
        Terminal::say(
            u"正在把数据库 %1 升级到第 %2 版布局……"_s.arg(db.location()).arg(Schema::version));
        Schema::upgrade(db);
        return false;
    }
    Terminal::say(u"正在建立演示数据库 %1 ……"_s.arg(db.location()));
    const DemoProfile profile =
        demoScale > 0 ? DemoProfile::scaled(demoScale) : DemoProfile::standard();
    if (!isServerLocation(db.location())) {
        DemoData::create(db, QDate::currentDate(), profile);
        return false;
    }
    try {
        DemoData::create(db, QDate::currentDate(), profile);
        ServerSetup::finish(db);
    } catch (const DbError &e) {
        if (e.failure() != DbFailure::NoPrivilege)
            throw;
        throw HostError(u"登录的角色没有建立考勤数据库的权限：它要能在数据库的 schema public 中建表"
                        "（CREATE 权限，数据库的所有者才有），还要能建立操作员的登录角色"
                        "（CREATEROLE）。请换用这样的角色，或请服务器的管理员授权。"_s,
                        e.message());
    }
    return true;
}

} // namespace

OpenedDatabase openDatabaseFor(HostCommand::DatabasePolicy policy, const HostOptions &options)
{
    const QString &location = options.databasePath;
    if (policy == HostCommand::DatabasePolicy::CreateWithDemo) {
        createDatabaseFolder(location);
        std::unique_ptr<Database> db = openDatabase(location);
        const bool madeOnServer = prepareDatabase(*db, options.demoScale);
        return {std::move(db), madeOnServer};
    }
    if (!isServerLocation(location) && !QFileInfo::exists(location))
        throw HostError(u"数据库文件 %1 不存在。"_s.arg(location), {});
    std::unique_ptr<Database> db = openDatabase(location);
    if (Schema::check(*db) != Schema::State::Current) {
        throw HostError(
            u"%1 不是当前版本的考勤数据库，请先用 talvex-host 打开一次。"_s.arg(location), {});
    }
    return {std::move(db), false};
}
