#include "CommandDatabase.h"

#include "HostOptions.h"
#include "ServerSetup.h"
#include "Terminal.h"

#include "hostapp/db/Database.h"
#include "hostapp/db/DemoData.h"
#include "hostapp/db/PgRoles.h"
#include "hostapp/db/Schema.h"
#include "hostapp/services/OperatorMessage.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// The user's data folder is made on first start. A folder named by --db must be
// there already: a mistyped path is refused rather than made, with a demo
// database in it.
void requireDatabaseFolder(const QString &location)
{
    if (isServerLocation(location))
        return;
    const QString folder = QFileInfo(location).absolutePath();
    if (location == defaultDatabasePath()) {
        if (!QDir().mkpath(folder))
            throw HostError(u"无法建立数据库文件夹 %1。请检查文件夹的权限。"_s.arg(folder), {});
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        throw HostError(u"数据库文件夹 %1 不存在。请检查 --db 给出的路径。"_s.arg(folder), {});
    }
}

// The owner's work on a server database, which the server lets only him do;
// refusal() tells anyone else what to do instead.
template <typename Work, typename Refusal> void asServerOwner(Work work, Refusal refusal)
{
    try {
        work();
    } catch (const DbError &e) {
        if (e.failure() != DbFailure::NoPrivilege)
            throw;
        throw HostError(refusal(), e.message());
    }
}

// The layout of the database. Every role may read what tells it on a server
// database of this layout; one that may not is most likely in a database of an
// earlier layout, which granted nothing.
Schema::State stateOf(Database &db, const QString &name)
{
    Schema::State state = Schema::State::Current;
    asServerOwner(
        [&] { state = Schema::check(db); },
        [&] {
            return u"角色 %1 不能读数据库 %2 的表。数据库若是旧版布局，只有它的所有者（建表的角色）"
                   "才能升级：请用那个角色打开一次；否则请所有者检查它的授权。"_s.arg(
                       PgRoles::session(db).user, name);
        });
    return state;
}

// A new database gets the schema and the demo data; an existing one must be
// ours, and one of an older layout is brought up to date. `name` is the
// database as messages call it. True when a server's database was made or
// upgraded just now: its owner's work is done.
bool prepareDatabase(Database &db, const QString &name, int demoScale)
{
    const Schema::State state = stateOf(db, name);
    if (state != Schema::State::Empty && demoScale > 0) {
        Terminal::say(
            u"数据库 %1 已经存在：--demo-scale 只用于新建数据库，这次不起作用。"_s.arg(name));
    }
    if (state == Schema::State::Current)
        return false;
    const bool onServer = isServerLocation(db.location());
    if (state == Schema::State::Older) {
        Terminal::say(u"正在把数据库 %1 升级到第 %2 版布局……"_s.arg(name).arg(Schema::version));
        if (!onServer) {
            Schema::upgrade(db);
            return false;
        }
        asServerOwner(
            [&] {
                Schema::upgrade(db);
                ServerSetup::finish(db,
                                    u"数据库 %1 已升级到第 %2 版布局：从此由服务器按每位操作员的"
                                    "部门和权限级别把关。"_s.arg(name)
                                        .arg(Schema::version));
            },
            [&] {
                return u"数据库 %1 是旧版布局，只有它的所有者（建表的角色）才能升级：请用那个角色"
                       "打开一次，它也要有建立登录角色的权限（CREATEROLE）。"_s.arg(name);
            });
        return true;
    }
    Terminal::say(u"正在建立演示数据库 %1 ……"_s.arg(name));
    const DemoProfile profile =
        demoScale > 0 ? DemoProfile::scaled(demoScale) : DemoProfile::standard();
    const auto progress = [](const QString &step, int number, int steps) {
        Terminal::say(u"  （%1/%2）%3……"_s.arg(number).arg(steps).arg(step));
    };
    if (!onServer) {
        DemoData::create(db, QDate::currentDate(), profile, progress);
        return false;
    }
    asServerOwner(
        [&] {
            DemoData::create(db, QDate::currentDate(), profile, progress);
            ServerSetup::finish(db, u"数据库 %1 已建好：考勤系统的表和演示数据。"_s.arg(name));
        },
        [] {
            return u"登录的角色没有建立考勤数据库的权限：它要能在数据库的 schema public 中建表"
                   "（CREATE 权限，数据库的所有者才有），还要能建立操作员的登录角色"
                   "（CREATEROLE）。请换用这样的角色，或请服务器的管理员授权。"_s;
        });
    return true;
}

// A scaled demo database takes about 750 MB a unit of scale on disk (75 GB at
// the largest scale); a build that cannot fit is refused before it starts
// rather than failing hours later on a full disk.
void requireDiskSpace(const QString &folder, int demoScale)
{
    constexpr qint64 bytesPerScale = 750'000'000;
    const qint64 needed = demoScale * bytesPerScale;
    const qint64 available = QStorageInfo(folder).bytesAvailable();
    if (demoScale > 0 && available >= 0 && available < needed) {
        throw HostError(
            u"磁盘空间不足：--demo-scale %1 的演示数据库约需 %2 GB，%3 所在的磁盘只剩 %4 GB。"_s
                .arg(demoScale)
                .arg(double(needed) / 1e9, 0, 'f', 1)
                .arg(folder)
                .arg(double(available) / 1e9, 0, 'f', 1),
            {});
    }
}

// A new file is built under a temporary name beside it and takes its name only
// when complete. The build writes without syncs and keeps its journal in
// memory, so a run interrupted meanwhile would otherwise leave a damaged file
// that every later start refuses.
void buildDatabaseFile(const QString &location, int demoScale)
{
    requireDiskSpace(QFileInfo(location).absolutePath(), demoScale);
    QTemporaryFile partial(location + u".part-XXXXXX"_s);
    if (!partial.open()) {
        throw HostError(u"无法建立数据库文件 %1。请检查文件夹的权限和磁盘空间。"_s.arg(location),
                        partial.errorString());
    }
    partial.close();
    prepareDatabase(*openDatabase(partial.fileName()), location, demoScale);
    if (std::rename(QFile::encodeName(partial.fileName()).constData(),
                    QFile::encodeName(location).constData())
        != 0) {
        throw HostError(u"无法建立数据库文件 %1。请检查文件夹的权限。"_s.arg(location),
                        QString::fromLocal8Bit(std::strerror(errno)));
    }
    partial.setAutoRemove(false);
}

} // namespace

OpenedDatabase openDatabaseFor(HostCommand::DatabasePolicy policy, const HostOptions &options,
                               const ServerSignIn::PasswordPrompt &prompt)
{
    const QString &location = options.databasePath;
    if (policy == HostCommand::DatabasePolicy::CreateWithDemo) {
        requireDatabaseFolder(location);
        if (!isServerLocation(location) && !QFileInfo::exists(location)) {
            buildDatabaseFile(location, options.demoScale);
            return {openDatabase(location), false};
        }
        std::unique_ptr<Database> db = ServerSignIn::open(location, prompt);
        const bool madeOnServer =
            prepareDatabase(*db, readableLocation(location), options.demoScale);
        return {std::move(db), madeOnServer};
    }
    if (!isServerLocation(location) && !QFileInfo::exists(location))
        throw HostError(u"数据库文件 %1 不存在。"_s.arg(location), {});
    std::unique_ptr<Database> db = ServerSignIn::open(location, prompt);
    if (stateOf(*db, readableLocation(location)) != Schema::State::Current) {
        throw HostError(
            u"%1 不是当前版本的考勤数据库，请先用 talvex-host 打开一次。"_s.arg(location), {});
    }
    return {std::move(db), false};
}
