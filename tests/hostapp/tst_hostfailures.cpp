// Failures as the operator meets them in the window: in his words in the log
// panel and the message box, with the detail in the log file only, and never a
// wait notice left standing. On either engine; a lock held by another desk and a
// damaged page are a file's failures (a server's waits: tst_pgwait).

#include "HostFixture.h"
#include "TestDatabase.h"

#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/services/OperatorMessage.h"
#include "hostapp/services/WaitNotice.h"
#include "runtime/dataset.h"
#include "runtime/exceptions.h"
#include "talvex/project/HostFactory.h"
#include "talvex/work/WorkWindow.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QString saveFailed = u"保存数据失败!"_s;

// A save as the plug-in's commands make it: a failure is logged with the
// plug-in's own words in front, then left to the host's default handling.
void saveAsThePluginDoes(const std::function<void(IDbIntf *)> &save)
{
    Rt::runGuarded([&] {
        try {
            save(Host::db().get());
        } catch (const Rt::Exception &e) {
            Host::log()->WriteErrorLog(saveFailed + e.message(), 0);
            throw;
        }
    });
}

QString logFile(const HostFixture &host)
{
    QFile file(host.log.filePath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString insertOf(const QString &employee, const QString &day)
{
    return u"  begin    insert into Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkFlag) values"
           " (SEQ_OCID.nextval, '%1', to_date('%2','yyyy-mm-dd'), 1);  end; "_s.arg(employee, day);
}

bool onServer()
{
    return TestDatabase::backend() == DbBackend::PostgreSql;
}

// The engine's own words for a failure, which only the log file may hold.
QString engineDetail(const QString &sqlite, const QString &postgreSql)
{
    return onServer() ? postgreSql : sqlite;
}

} // namespace

class HostFailuresTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void takenDay()
    {
        HostFixture host;
        QFile::remove(host.log.filePath());
        saveAsThePluginDoes([](IDbIntf *db) { db->ExecSql(insertOf(u"E001"_s, u"2026-11-20"_s)); });
        expectTold(host,
                   u"该员工这一天已有调班记录，不能重复登记。请修改已有的记录，或换一个日期。"_s,
                   engineDetail(u"UNIQUE constraint failed: Kq_ExchangeClass.EmployeeCode"_s,
                                u"duplicate key value violates unique constraint"_s));
    }

    // Another desk holds the write lock longer than the host waits for it.
    void lockedDatabase()
    {
        if (onServer())
            QSKIP("a file's lock; a server makes the desk wait instead (tst_pgwait)");
        HostFixture host;
        QFile::remove(host.log.filePath());
        sqlite3_busy_timeout(dynamic_cast<SqliteDatabase &>(host.db()).handle(), 50);
        SqliteDatabase otherDesk(host.fixture.location());
        otherDesk.beginTrans();
        saveAsThePluginDoes([](IDbIntf *db) { db->ExecSql(insertOf(u"E001"_s, u"2026-12-24"_s)); });
        otherDesk.rollbackTrans();
        expectTold(host, u"数据库正被其他用户占用，请稍后再试。"_s, u"database is locked"_s);
    }

    // A damaged page of the exchanges, in a copy of the database the host opens.
    void damagedFile()
    {
        if (onServer())
            QSKIP("a damaged page of a file; a server keeps its own pages");
        HostFixture host;
        QFile::remove(host.log.filePath());
        const QString copy = host.fixture.location() + u".damaged"_s;
        host.db().execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        QVERIFY(QFile::copy(host.fixture.location(), copy));
        const qint64 pageSize = host.db().nativeValue(u"PRAGMA page_size"_s).toLongLong();
        const qint64 rootPage =
            host.db()
                .nativeValue(
                    u"SELECT rootpage FROM sqlite_schema WHERE name = 'Kq_ExchangeClass'"_s)
                .toLongLong();
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek((rootPage - 1) * pageSize));
        file.write(QByteArray(pageSize, '\xff'));
        file.close();

        SqliteDatabase damaged(copy);
        HostSession session(damaged, host.log, u"admin"_s);
        HostFactory = new FactoryService(session);
        saveAsThePluginDoes([](IDbIntf *db) {
            const std::unique_ptr<TDataSet> rows(
                db->OpenQuery(u"select * from Kq_ExchangeClass"_s));
        });
        HostFactory = host.root;
        expectTold(host, u"数据库文件已损坏，无法读写。请从备份恢复数据库，或与系统管理员联系。"_s,
                   u"database disk image is malformed"_s);
    }

    // What the plug-in says itself reaches the operator as it stands (RaiseError:
    // tst_workcommands).
    void pluginTextsPassUnchanged()
    {
        HostFixture host;
        QFile::remove(host.log.filePath());
        Rt::runGuarded([] { throw Rt::Exception(u"请选择需调班人员"_s); });
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, u"请选择需调班人员"_s);
        QVERIFY(!logFile(host).contains(u"[详情]"_s));
    }

    // The show handler shows the wait notice, then fails: the host's default
    // handling takes the notice and the busy cursor down.
    void failingShowLeavesNoWaitNotice()
    {
        HostFixture host;
        QFile::remove(host.log.filePath());
        QWidget hostWindow;
        hostWindow.resize(800, 600);
        host.session.setWindow(&hostWindow);
        host.db().execute(u"DROP TABLE HR_Employee"_s);

        TWorkWindowForm form;
        form.InitWindow();
        form.show();
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, OperatorMessage::forFailure(DbFailure::Statement));
        QVERIFY(!host.session.waitNotice().isShown());
        QVERIFY(!QApplication::overrideCursor());
        const QString detail = engineDetail(u"no such table: HR_Employee"_s,
                                            u"relation \"hr_employee\" does not exist"_s);
        QVERIFY2(logFile(host).contains(detail), qPrintable(logFile(host)));
        form.FreeWindow();
    }

private:
    // The operator read text in the message box and in the log panel; the log
    // file keeps the detail, which neither shows.
    static void expectTold(HostFixture &host, const QString &text, const QString &detail)
    {
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, text);
        QCOMPARE(host.messages[0].icon, Rt::Icon::Stop);
        const QString panel = host.log.latest().join(u'\n');
        QVERIFY2(panel.contains(saveFailed + text), qPrintable(panel));
        QVERIFY(!panel.contains(detail));
        const QString file = logFile(host);
        QVERIFY2(file.contains(u"[详情] "_s) && file.contains(detail), qPrintable(file));
    }
};

QTEST_MAIN(HostFailuresTest)
#include "tst_hostfailures.moc"
