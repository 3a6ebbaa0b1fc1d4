// The schema's owner administers a register on a server: its operators with
// talvex-host operator, as on the embedded database, and the upgrade of a
// database of an earlier layout. Each operator is a login role, checked here
// through the server's own catalogue and as the role itself.

#include "Failures.h"
#include "Fixture.h"
#include "HostProcess.h"
#include "PgLayout2.h"
#include "RowsAsText.h"

#include "hostapp/db/PgRoles.h"
#include "runtime/dataset.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString owner = u"talvex_test_owner"_s;

std::unique_ptr<Database> superuser()
{
    return openDatabase(qEnvironmentVariable("TALVEX_TEST_PG"));
}

// The server's record of a role: whether it may sign in, and its stored
// password (only the cluster's superuser reads it).
QString roleRecord(const QString &role)
{
    return rowsAsText(*superuser(), u"SELECT rolcanlogin, coalesce(rolpassword, '<none>')"
                                    u" FROM pg_catalog.pg_authid WHERE rolname = '%1'"_s.arg(role))
        .mid(1)
        .join(u'\n');
}

QString ids(Database &db)
{
    const std::unique_ptr<TDataSet> rows =
        db.select(u"SELECT ID FROM Kq_ExchangeClass ORDER BY 1"_s);
    QStringList texts;
    for (int r = 0; r < rows->recordCount(); ++r)
        texts.append(rows->asString(r, 0));
    return texts.join(u' ');
}

// The operators' rows and what the server knows of the roles named.
QStringList everything(Database &db, const QStringList &roles)
{
    QStringList rows = rowsAsText(db, u"SELECT * FROM Sys_Operator ORDER BY ID"_s);
    rows += rowsAsText(db, u"SELECT * FROM Sys_OperatorRight ORDER BY 1, 2"_s);
    rows += rowsAsText(db, u"SELECT * FROM Sys_OperatorDept ORDER BY 1, 2"_s);
    for (const QString &role : roles)
        rows += role + u": "_s + roleRecord(role);
    return rows;
}

} // namespace

class PgOperatorsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // add, passwd, grant, list and remove, each saying what it did, and the
    // server holding the new operator to what was granted.
    void ownerAdministersOperators()
    {
        Fixture fixture(owner);
        const QString hr = u"talvex_test_hr"_s;
        const auto host = [&](const QStringList &arguments,
                              const QHash<QString, QString> &environment = {}) {
            return runHost(QStringList{u"--db"_s, fixture.location()} + arguments, m_dir.path(),
                           environment);
        };

        HostRun run = host(
            {u"operator"_s, u"add"_s, hr, u"人事二"_s, u"--dept"_s, u"02"_s, u"--level"_s, u"2"_s},
            {{u"TALVEX_NEW_PASSWORD"_s, u"first-密码"_s}});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(run.out, u"已添加操作员 %1（人事二）：可以修改；部门 02、0201\n"
                          u"新建了登录角色“%1”，密码已设好。\n"_s.arg(hr));
        // The server's own hash; the password itself is nowhere.
        const QString first = roleRecord(hr);
        QVERIFY2(first.startsWith(u"1|SCRAM-SHA-256$"_s), qPrintable(first));
        QVERIFY(!first.contains(u"first"_s));
        QCOMPARE(ids(fixture.desk(hr)), u"4 5"_s);

        QFile file(m_dir.filePath(u"new.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("second\n");
        file.close();
        run = host({u"operator"_s, u"passwd"_s, hr, u"--new-password-file"_s, file.fileName()});
        QCOMPARE(run.out, u"已修改操作员“%1”的密码。\n"_s.arg(hr));
        const QString second = roleRecord(hr);
        QVERIFY2(second.startsWith(u"1|SCRAM-SHA-256$"_s), qPrintable(second));
        QVERIFY(second != first);

        run = host({u"operator"_s, u"grant"_s, hr, u"--level"_s, u"1"_s, u"--dept=01"_s});
        QCOMPARE(run.out,
                 u"已修改操作员 %1（人事二）：只能查看；部门 01、0101、010101\n"_s.arg(hr));
        Database &desk = fixture.desk(hr);
        QCOMPARE(ids(desk), u"1 2 3"_s);
        QCOMPARE(failureOf([&] { desk.execute(u"DELETE FROM Kq_ExchangeClass"_s, {}); }),
                 DbFailure::NoPrivilege);

        // The schema's owner administers; no operator is an administrator here.
        run = host({u"operator"_s, u"list"_s});
        QCOMPARE(
            run.out.split(u'\n', Qt::SkipEmptyParts),
            (QStringList{u"admin（系统管理员）：可以修改；部门 01、0101、010101、02、0201、9"_s,
                         u"clerk（人事专员）：可以修改；部门 02、0201"_s,
                         hr + u"（人事二）：只能查看；部门 01、0101、010101"_s,
                         u"viewer（查询员）：只能查看；部门 01、0101、010101、02、0201、9"_s}));

        run = host({u"operator"_s, u"remove"_s, hr});
        QCOMPARE(run.out, u"已删除操作员“%1”。\n登录角色“%1”已停用，密码已清除；"
                          u"角色本身留在服务器上。\n"_s.arg(hr));
        QCOMPARE(roleRecord(hr), u"0|<none>"_s);
        QVERIFY(failureOf([&] { openDatabase(fixture.deskLocation(hr)); }).has_value());
        QCOMPARE(
            fixture.db().nativeValue(u"SELECT count(*) FROM Sys_OperatorDept d JOIN Sys_Operator o"
                                     u" ON o.ID = d.OperatorID WHERE o.OperatorCode = $1"_s,
                                     {hr}),
            u"0"_s);
    }

    // A role the server has already becomes the operator's, allowed to sign
    // in again and keeping its password unless a new one is given.
    void existingRoleIsReused()
    {
        Fixture fixture(owner);
        const QString kept = u"talvex_test_kept"_s;
        superuser()->execute(
            u"DROP ROLE IF EXISTS %1; CREATE ROLE %1 NOLOGIN PASSWORD 'own'"_s.arg(kept));
        const QString before = roleRecord(kept);
        const HostRun run = runHost({u"--db"_s, fixture.location(), u"operator"_s, u"add"_s, kept,
                                     u"老员工"_s, u"--dept"_s, u"0201"_s, u"--level"_s, u"2"_s},
                                    m_dir.path(), {{u"TALVEX_NEW_PASSWORD"_s, QString()}});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.endsWith(u"服务器上已有登录角色“%1”，照旧使用，密码不变。\n"_s.arg(kept)),
                 qPrintable(run.out));
        QCOMPARE(roleRecord(kept), u"1"_s + before.mid(1));
        QCOMPARE(ids(fixture.desk(kept)), u"4"_s);
    }

    // A new password lets the operator sign in again, also when the server's
    // administrator had dropped his role.
    void passwordGivesBackTheLogin()
    {
        Fixture fixture(owner);
        const QString lost = u"talvex_test_lost"_s;
        const auto host = [&](const QStringList &arguments) {
            return runHost(QStringList{u"--db"_s, fixture.location(), u"operator"_s} + arguments,
                           m_dir.path(), {{u"TALVEX_NEW_PASSWORD"_s, u"again"_s}});
        };
        QCOMPARE(
            host({u"add"_s, lost, u"某人"_s, u"--dept"_s, u"02"_s, u"--level"_s, u"1"_s}).status,
            0);
        superuser()->execute(u"DROP ROLE "_s + lost);
        const HostRun run = host({u"passwd"_s, lost});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(roleRecord(lost).startsWith(u"1|SCRAM-SHA-256$"_s), qPrintable(roleRecord(lost)));
        QCOMPARE(ids(fixture.desk(lost)), u"4 5"_s);
    }

    // Bad input and a session that is not the owner's are refused in the
    // administrator's words; a refusal leaves the rows and the roles as they
    // were, also one the server gives after the rows were written.
    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("role"); // who runs it; empty: the owner
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QStringList add{u"operator"_s, u"add"_s};
        QTest::newRow("operator role") << u"clerk"_s << QStringList{u"operator"_s, u"list"_s}
                                       << u"角色 clerk 不是这个数据库的所有者"_s;
        QTest::newRow("duplicate code") << QString() << add + QStringList{u"clerk"_s, u"某人"_s}
                                        << u"已经有操作员“clerk”了，不能重复添加。"_s;
        QTest::newRow("unknown department")
            << QString()
            << add + QStringList{u"talvex_test_new"_s, u"某人"_s, u"--dept"_s, u"02,03"_s}
            << u"没有部门“03”。"_s;
        QTest::newRow("unknown operator")
            << QString() << QStringList{u"operator"_s, u"remove"_s, u"nobody"_s}
            << u"没有操作员“nobody”。"_s;
        QTest::newRow("administrator by grant")
            << QString()
            << QStringList{u"operator"_s, u"grant"_s, u"clerk"_s, u"--admin"_s, u"yes"_s}
            << u"--admin 在这里不适用"_s;
        QTest::newRow("the owner as operator")
            << QString() << add + QStringList{owner, u"某人"_s} << u"不能同时是登记簿的操作员"_s;
        QTest::newRow("superuser as operator")
            << QString() << add + QStringList{u"postgres"_s, u"某人"_s} << u"超级用户"_s;
        QTest::newRow("name the server would cut")
            << QString() << add + QStringList{QString(64, u'x'), u"某人"_s} << u"太长"_s;
        QTest::newRow("name the server reserves")
            << QString() << add + QStringList{u"pg_talvex"_s, u"某人"_s} << u"不能以 pg_ 开头"_s;
    }

    void refusalsChangeNothing()
    {
        QFETCH(QString, role);
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        Fixture fixture(owner);
        const QStringList roles{u"clerk"_s, u"talvex_test_new"_s, u"pg_talvex"_s};
        const QStringList before = everything(fixture.db(), roles);
        const QString location = role.isEmpty() ? fixture.location() : fixture.deskLocation(role);
        const HostRun run = runHost(QStringList{u"--db"_s, location} + arguments, m_dir.path(),
                                    {{u"TALVEX_NEW_PASSWORD"_s, u"new"_s}});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(everything(fixture.db(), roles), before);
    }

    // An owner the server does not let make roles: his refusal comes after
    // the operator's rows went in, and takes them back.
    void ownerWithoutCreateRoleChangesNothing()
    {
        const QString plainOwner = u"talvex_test_plain_owner"_s;
        Fixture fixture(plainOwner);
        superuser()->execute(u"ALTER ROLE %1 NOCREATEROLE"_s.arg(plainOwner));
        const QStringList roles{u"talvex_test_new"_s};
        const QStringList before = everything(fixture.db(), roles);
        const HostRun run = runHost({u"--db"_s, fixture.location(), u"operator"_s, u"add"_s,
                                     u"talvex_test_new"_s, u"某人"_s},
                                    m_dir.path(), {{u"TALVEX_NEW_PASSWORD"_s, u"new"_s}});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(u"ALTER ROLE %1 CREATEROLE"_s.arg(plainOwner)),
                 qPrintable(run.err));
        QCOMPARE(everything(fixture.db(), roles), before);
    }

    // Only the owner upgrades a database of an earlier layout; his start ends
    // there, and the operators then work in it under their rights.
    void ownerUpgradesAnEarlierLayout()
    {
        Fixture fixture(owner);
        makeLayout2(fixture.db());
        const auto start = [&](const QString &location) {
            return runHost({u"--db"_s, location, u"--screenshot"_s, m_dir.filePath(u"s.png"_s)},
                           m_dir.path());
        };
        HostRun run = start(fixture.deskLocation(u"clerk"_s));
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(u"只有它的所有者（建表的角色）才能升级"_s), qPrintable(run.err));
        QVERIFY(run.err.contains(u"角色 clerk"_s));

        run = start(fixture.location());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.err.contains(u"已升级到第 4 版布局"_s), qPrintable(run.err));
        QCOMPARE(ids(fixture.desk(u"clerk"_s)), u"4 5"_s);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(PgOperatorsTest)
#include "tst_pgoperators.moc"
