// The embedded database refuses what the session's operator may not change,
// whatever sends the statement: his right level, his departments, the
// administration tables, the history. Also through talvex-host's sql command,
// and the operator command's own work and refusals.

#include "Failures.h"
#include "Fixture.h"
#include "HostProcess.h"
#include "ModuleStatements.h"
#include "RowsAsText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Everything an operator could change, to prove a refusal changed nothing.
// (Signing in gives the operators their first password hashes.)
QStringList everything(Database &db)
{
    QStringList rows = rowsAsText(db, u"SELECT ID, OperatorCode, OperatorName FROM Sys_Operator"_s);
    for (const QString &table : {u"Kq_ExchangeClass"_s, u"Kq_ExchangeClassHistory"_s,
                                 u"Sys_OperatorRight"_s, u"Sys_OperatorDept"_s, u"HR_Employee"_s}) {
        rows += rowsAsText(db, u"SELECT * FROM %1"_s.arg(table));
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<DbFailure>)

class RightsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void databaseRefusesWhatTheOperatorMayNotChange_data()
    {
        QTest::addColumn<QString>("operatorCode"); // empty: the host's own connection
        QTest::addColumn<QString>("sql");
        QTest::addColumn<std::optional<DbFailure>>("failure");

        const std::optional<DbFailure> allowed;
        const std::optional<DbFailure> noRight = DbFailure::NoRight;
        const std::optional<DbFailure> outside = DbFailure::OutsideScope;
        const auto insert = [](const QString &employee) {
            return EditorStatements::insertExchange(exchange(employee, u"2026-12-06"_s));
        };
        const auto move = [](const QString &id, const QString &employee) {
            return EditorStatements::updateExchange(id, exchange(employee, u"2026-12-07"_s));
        };
        // E001 and E002 are in branch 01, E003 and E005 in 02.
        QTest::newRow("viewer inserts") << u"viewer"_s << insert(u"E003"_s) << noRight;
        QTest::newRow("viewer deletes")
            << u"viewer"_s << ExchangeQueries::deleteExchange(u"4"_s) << noRight;
        QTest::newRow("unknown operator updates")
            << u"nobody"_s << move(u"4"_s, u"E003"_s) << noRight;
        QTest::newRow("clerk inserts in his branch") << u"clerk"_s << insert(u"E005"_s) << allowed;
        QTest::newRow("clerk inserts outside") << u"clerk"_s << insert(u"E001"_s) << outside;
        QTest::newRow("clerk updates outside") << u"clerk"_s << move(u"1"_s, u"E001"_s) << outside;
        QTest::newRow("clerk moves his exchange outside")
            << u"clerk"_s << u"update Kq_ExchangeClass set EmployeeCode='E002' where ID=4"_s
            << outside;
        QTest::newRow("clerk moves an exchange in")
            << u"clerk"_s << u"update Kq_ExchangeClass set EmployeeCode='E003' where ID=3"_s
            << outside;
        QTest::newRow("clerk deletes outside")
            << u"clerk"_s << ExchangeQueries::deleteExchange(u"3"_s) << outside;
        QTest::newRow("clerk deletes every row")
            << u"clerk"_s << u"delete Kq_ExchangeClass"_s << outside;
        QTest::newRow("clerk raises his level")
            << u"clerk"_s << u"update Sys_OperatorRight set RightLevel=2 where OperatorID=3"_s
            << noRight;
        QTest::newRow("clerk takes a department")
            << u"clerk"_s
            << u"insert into Sys_OperatorDept (OperatorID, DeptCode) values (2,'01')"_s << noRight;
        QTest::newRow("clerk moves an employee into his branch")
            << u"clerk"_s << u"update HR_Employee set DeptCode='02' where EmployeeCode='E001'"_s
            << noRight;
        QTest::newRow("clerk renames the administrator")
            << u"clerk"_s << u"update Sys_Operator set OperatorName='x' where ID=1"_s << noRight;
        QTest::newRow("administrator moves an employee")
            << u"admin"_s << u"update HR_Employee set DeptCode='02' where EmployeeCode='E001'"_s
            << allowed;
        QTest::newRow("administrator forges history")
            << u"admin"_s
            << u"insert into Kq_ExchangeClassHistory (ChangedAt, ChangeKind, OperatorCode)"
               u" values (sysdate, 'DELETE', 'clerk')"_s
            << noRight;
        QTest::newRow("the host's own connection") << QString() << insert(u"E001"_s) << allowed;
    }

    void databaseRefusesWhatTheOperatorMayNotChange()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QString, sql);
        QFETCH(std::optional<DbFailure>, failure);
        Fixture fixture;
        Database &db = fixture.db();
        if (!operatorCode.isNull())
            db.setOperatorCode(operatorCode);
        const QStringList before = everything(db);
        QCOMPARE(failureOf([&] { db.execSql(sql); }), failure);
        if (failure)
            QCOMPARE(everything(db), before);
        else
            QVERIFY(everything(db) != before);
    }

    // The sql command runs as the signed-in operator: a refusal reads in the
    // register's words and changes nothing.
    void sqlCommandRunsAsTheOperator_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");

        QTest::newRow("viewer deletes") << u"viewer"_s << u"delete Kq_ExchangeClass where ID=1"_s
                                        << u"对不起，您的权限不足，请与系统管理员联系！"_s;
        QTest::newRow("clerk changes branch 01")
            << u"clerk"_s << u" Update Kq_ExchangeClass  set Remark='x' Where ID=1"_s
            << u"这名员工不在您负责的部门里，不能登记或修改他的调班。"_s;
        QTest::newRow("history insert")
            << u"admin"_s
            << u"insert into Kq_ExchangeClassHistory (ChangedAt, ChangeKind, OperatorCode)"
               u" values (sysdate, 'INSERT', 'viewer')"_s
            << u"对不起，您的权限不足，请与系统管理员联系！"_s;
    }

    void sqlCommandRunsAsTheOperator()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QString, sql);
        QFETCH(QString, message);
        Fixture fixture;
        const QStringList before = everything(fixture.db());
        const HostRun run =
            runHost({u"--db"_s, fixture.location(), u"--operator"_s, operatorCode, u"sql"_s, sql},
                    m_dir.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(u"talvex-host："_s + message), qPrintable(run.err));
        QCOMPARE(everything(fixture.db()), before);
    }

    // Each operator command says what it did; the operator signs in as given.
    void operatorCommandsSayWhatTheyDid()
    {
        Fixture fixture;
        const auto host = [&](const QStringList &arguments,
                              const QHash<QString, QString> &environment = {}) {
            return runHost(QStringList{u"--db"_s, fixture.location()} + arguments, m_dir.path(),
                           environment);
        };
        const QStringList signInAsHr{u"--operator"_s, u"hr"_s, u"sql"_s,
                                     u"select count(1) from Sys_Dept"_s};

        HostRun run = host({u"operator"_s, u"add"_s, u"hr"_s, u"人事二"_s, u"--dept"_s, u"02"_s,
                            u"--level"_s, u"2"_s},
                           {{u"TALVEX_NEW_PASSWORD"_s, u"first-密码"_s}});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(run.out, u"已添加操作员 hr（人事二）：可以修改；部门 02、0201\n"_s);
        QCOMPARE(host(signInAsHr, {{u"TALVEX_PASSWORD"_s, u"first-密码"_s}}).status, 0);

        run = host({u"operator"_s, u"grant"_s, u"hr"_s, u"--level"_s, u"1"_s, u"--admin"_s,
                    u"yes"_s, u"--dept=01,9"_s});
        QCOMPARE(run.out,
                 u"已修改操作员 hr（人事二）：只能查看，管理员；部门 01、0101、010101、9\n"_s);

        QFile file(m_dir.filePath(u"new.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("second\n");
        file.close();
        run =
            host({u"operator"_s, u"passwd"_s, u"hr"_s, u"--new-password-file"_s, file.fileName()});
        QCOMPARE(run.out, u"已修改操作员“hr”的密码。\n"_s);
        QCOMPARE(host(signInAsHr, {{u"TALVEX_PASSWORD"_s, u"first-密码"_s}}).status, 1);
        QCOMPARE(host(signInAsHr, {{u"TALVEX_PASSWORD"_s, u"second"_s}}).status, 0);

        run = host({u"operator"_s, u"list"_s});
        QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{
                     u"admin（系统管理员）：可以修改，管理员；部门 01、0101、010101、02、0201、9"_s,
                     u"clerk（人事专员）：可以修改；部门 02、0201"_s,
                     u"hr（人事二）：只能查看，管理员；部门 01、0101、010101、9"_s,
                     u"viewer（查询员）：只能查看；部门 01、0101、010101、02、0201、9"_s}));

        // The new administrator may remove the first one.
        run = host({u"--operator"_s, u"hr"_s, u"operator"_s, u"remove"_s, u"admin"_s},
                   {{u"TALVEX_PASSWORD"_s, u"second"_s}});
        QCOMPARE(run.out, u"已删除操作员“admin”。\n"_s);
        QCOMPARE(fixture.db().nativeValue(
                     u"SELECT count(*) FROM Sys_OperatorRight WHERE OperatorID = 1"_s),
                 u"0"_s);
    }

    // Bad input is refused in the administrator's words, and nothing changes.
    void operatorCommandsRefuseBadInput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("newPassword"); // null: none given
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        const QString lastAdministrator =
            u"这是最后一位管理员：不能删除他，也不能取消他的管理权限。"_s;
        const QStringList add{u"operator"_s, u"add"_s};
        const QString given = u"new"_s;
        QTest::newRow("duplicate code") << add + QStringList{u"clerk"_s, u"某人"_s} << given << 1
                                        << u"已经有操作员“clerk”了，不能重复添加。"_s;
        QTest::newRow("unknown department")
            << add + QStringList{u"hr"_s, u"某人"_s, u"--dept"_s, u"02,03"_s} << given << 1
            << u"没有部门“03”。"_s;
        QTest::newRow("remove the last administrator")
            << QStringList{u"operator"_s, u"remove"_s, u"admin"_s} << given << 1
            << lastAdministrator;
        QTest::newRow("revoke the last administrator")
            << QStringList{u"operator"_s, u"grant"_s, u"admin"_s, u"--admin"_s, u"no"_s} << given
            << 1 << lastAdministrator;
        QTest::newRow("not an administrator")
            << QStringList{u"--operator"_s, u"clerk"_s, u"operator"_s, u"list"_s} << given << 1
            << u"对不起，您的权限不足，请与系统管理员联系！"_s;
        QTest::newRow("unknown operator")
            << QStringList{u"operator"_s, u"grant"_s, u"nobody"_s, u"--level"_s, u"1"_s} << given
            << 1 << u"没有操作员“nobody”。"_s;
        QTest::newRow("empty new password") << QStringList{u"operator"_s, u"passwd"_s, u"clerk"_s}
                                            << u""_s << 1 << u"新密码不能为空。"_s;
        QTest::newRow("no new password")
            << add + QStringList{u"hr"_s, u"某人"_s} << QString() << 1
            << u"请用环境变量 TALVEX_NEW_PASSWORD 或 --new-password-file 文件给出新密码"_s;
        QTest::newRow("bad level") << add + QStringList{u"hr"_s, u"某人"_s, u"--level"_s, u"3"_s}
                                   << given << 2 << u"--level 应是 0、1 或 2，不能是“3”。"_s;
        QTest::newRow("name missing") << add + QStringList{u"hr"_s} << given << 2
                                      << u"operator add 后面要写 CODE NAME，不多不少。"_s;
        QTest::newRow("unknown action")
            << QStringList{u"operator"_s, u"rename"_s} << given << 2
            << u"operator 后面要写 list、add、passwd、grant 或 remove。"_s;
        QTest::newRow("operator option elsewhere")
            << QStringList{u"--dept"_s, u"02"_s, u"sql"_s, u"select count(1) from Sys_Dept"_s}
            << given << 2 << u"--dept 只用于 roster、check-rules、operator。"_s;
    }

    void operatorCommandsRefuseBadInput()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, newPassword);
        QFETCH(int, status);
        QFETCH(QString, message);
        Fixture fixture;
        const QStringList before = everything(fixture.db());
        const HostRun run = runHost(QStringList{u"--db"_s, fixture.location()} + arguments,
                                    m_dir.path(), {{u"TALVEX_NEW_PASSWORD"_s, newPassword}});
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(everything(fixture.db()), before);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(RightsTest)
#include "tst_rights.moc"
