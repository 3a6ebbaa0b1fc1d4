// Signing in on the embedded database: the check and its throttle, what is
// stored of a password, the first passwords of an upgraded file, the dialog,
// and talvex-host's start as a person or a script signs in.

#include "Fixture.h"
#include "HostProcess.h"

#include "hostapp/auth/OperatorPasswords.h"
#include "hostapp/auth/PasswordCheck.h"
#include "hostapp/auth/SignIn.h"
#include "hostapp/auth/SignInDialog.h"
#include "hostapp/db/Schema.h"
#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/services/ErrorLog.h"
#include "runtime/dataset.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Outcome = PasswordCheck::Outcome;

const QDateTime start(QDate(2026, 12, 5), QTime(9, 0), Qt::UTC);

// The time a test says it is.
struct TestClock
{
    QDateTime now = start;
    PasswordCheck::Clock clock()
    {
        return [this] { return now; };
    }
};

QString failures(Database &db, const QString &code)
{
    return db.nativeValue(u"SELECT FailedSignIns FROM Sys_Operator WHERE OperatorCode = $1"_s,
                          {code});
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(PasswordCheck::Outcome)

class SignInTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Each wrong password counts; the right one clears the count. An unknown
    // operator reads as a wrong password.
    void checksAndCountsFailures()
    {
        Fixture fixture;
        Database &db = fixture.db();
        QCOMPARE(OperatorPasswords::giveInitialPasswords(db),
                 (QStringList{u"admin"_s, u"clerk"_s, u"viewer"_s}));
        TestClock time;
        PasswordCheck check(db, time.clock());
        QCOMPARE(check.attempt(u"clerk"_s, u"admin"_s).outcome, Outcome::Refused);
        QCOMPARE(check.attempt(u"clerk"_s, u"CLERK"_s).outcome, Outcome::Refused);
        QCOMPARE(failures(db, u"clerk"_s), u"2"_s);
        QCOMPARE(db.nativeValue(u"SELECT LastFailedSignIn FROM Sys_Operator WHERE ID = 2"_s),
                 u"2026-12-05 09:00:00"_s);
        QCOMPARE(check.attempt(u"nobody"_s, u"nobody"_s).outcome, Outcome::Refused);
        QCOMPARE(check.attempt(u"clerk"_s, u"clerk"_s).outcome, Outcome::SignedIn);
        QCOMPARE(failures(db, u"clerk"_s), u"0"_s);
        QCOMPARE(failures(db, u"admin"_s), u"0"_s);
    }

    // After five failures in a row an attempt within 30 s of the latest is
    // turned away unchecked, even with the right password, and is not counted;
    // once the 30 s have passed the password is checked again.
    void throttlesAfterFiveFailures_data()
    {
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<QString>("password");
        QTest::addColumn<PasswordCheck::Outcome>("outcome");
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("failuresAfter");

        QTest::newRow("four failures: no wait")
            << 4 << 0 << u"viewer"_s << Outcome::SignedIn << 0 << 0;
        QTest::newRow("five: right password at once")
            << 5 << 0 << u"viewer"_s << Outcome::TooSoon << 30 << 5;
        QTest::newRow("five: one second short")
            << 5 << 29 << u"viewer"_s << Outcome::TooSoon << 1 << 5;
        QTest::newRow("five: wrong password too soon")
            << 5 << 10 << u"x"_s << Outcome::TooSoon << 20 << 5;
        QTest::newRow("five: after 30 s") << 5 << 30 << u"viewer"_s << Outcome::SignedIn << 0 << 0;
        QTest::newRow("five: wrong after 30 s counts")
            << 5 << 30 << u"x"_s << Outcome::Refused << 0 << 6;
        QTest::newRow("clock set back") << 5 << -3600 << u"viewer"_s << Outcome::SignedIn << 0 << 0;
    }

    void throttlesAfterFiveFailures()
    {
        QFETCH(int, failed);
        QFETCH(int, secondsLater);
        QFETCH(QString, password);
        QFETCH(PasswordCheck::Outcome, outcome);
        QFETCH(int, wait);
        QFETCH(int, failuresAfter);
        Fixture fixture;
        Database &db = fixture.db();
        OperatorPasswords::giveInitialPasswords(db);
        TestClock time;
        PasswordCheck check(db, time.clock());
        for (int i = 0; i < failed; ++i)
            QCOMPARE(check.attempt(u"viewer"_s, u"wrong"_s).outcome, Outcome::Refused);
        time.now = start.addSecs(secondsLater);
        const PasswordCheck::Result result = check.attempt(u"viewer"_s, password);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.waitSeconds, wait);
        QCOMPARE(failures(db, u"viewer"_s), QString::number(failuresAfter));
        // The throttle is the operator's own.
        QCOMPARE(check.attempt(u"admin"_s, u"admin"_s).outcome, Outcome::SignedIn);
    }

    // Only libsodium's Argon2id string is kept: the password is in no page of
    // the file nor of its write-ahead log.
    void storesOnlyTheHash()
    {
        const QString path = m_dir.filePath(u"hashes.db"_s);
        const QString password = u"Geheim-密码-4711"_s;
        {
            SqliteDatabase db(path);
            Schema::create(db);
            db.execute(u"INSERT INTO Sys_Operator (ID, OperatorCode, OperatorName)"
                       u" VALUES (1, 'hr', '人事')"_s);
            OperatorPasswords::setPassword(db, u"1"_s, password);
            const std::unique_ptr<TDataSet> rows =
                db.select(u"SELECT PasswordHash FROM Sys_Operator"_s);
            const QString hash = rows->asString(0, 0);
            QVERIFY2(hash.startsWith(u"$argon2id$v=19$m=65536,t=2,p=1$"_s), qPrintable(hash));
            PasswordCheck check(db);
            QCOMPARE(check.attempt(u"hr"_s, password).outcome, Outcome::SignedIn);
            const QByteArray stored = fileContents(path) + fileContents(path + u"-wal"_s);
            QVERIFY(stored.contains(hash.toLatin1()));
            QVERIFY(!stored.contains(password.toUtf8()));
        }
    }

    // The operators of a file made before passwords get their codes as their
    // first passwords, each with a warning in the log.
    void upgradedFileGetsFirstPasswords()
    {
        QFile layout1(QFINDTESTDATA("layout1.sql"));
        QVERIFY(layout1.open(QIODevice::ReadOnly));
        SqliteDatabase db(m_dir.filePath(u"layout1.db"_s));
        db.execute(QString::fromUtf8(layout1.readAll()));
        db.execute(
            u"INSERT INTO Sys_Operator VALUES (1, 'admin', '系统管理员'), (2, 'hr', '人事')"_s);
        Schema::upgrade(db);
        ErrorLog log(m_dir.filePath(u"upgrade.log"_s));
        qputenv("TALVEX_PASSWORD", "hr");
        const QString signedIn = signIn(db, {u"hr"_s, {}, false}, log);
        qunsetenv("TALVEX_PASSWORD");
        QCOMPARE(signedIn, u"hr"_s);
        QCOMPARE(log.latest().filter(u"必须尽快修改"_s).size(), 2);
        QVERIFY(log.latest().join(u'\n').contains(u"talvex-host operator passwd admin"_s));
        QCOMPARE(db.nativeValue(u"SELECT count(*) FROM Sys_Operator"
                                u" WHERE PasswordHash LIKE '$argon2id$%'"_s),
                 u"2"_s);
    }

    // The third wrong password closes the dialog; a wait is shown and not
    // counted; the right password signs in.
    void dialogAllowsThreeWrongPasswords()
    {
        QList<PasswordCheck::Outcome> answers{Outcome::Refused, Outcome::TooSoon, Outcome::Refused,
                                              Outcome::Refused};
        QStringList tried;
        SignInDialog dialog(u"clerk"_s, [&](const QString &code, const QString &password) {
            tried.append(code + u'/' + password);
            return PasswordCheck::Result{answers.takeFirst(), 12};
        });
        dialog.show();
        auto *password = dialog.findChild<QLineEdit *>(u"edtPassword"_s);
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QVERIFY(dialog.focusWidget() == password);
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        const auto attempt = [&](const QString &text) {
            password->setText(text);
            ok->click();
        };
        attempt(u"a"_s);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QLabel *>(u"lblMessage"_s)->text(),
                 u"操作员代码或密码不对。还可以再试 2 次。"_s);
        QVERIFY(password->text().isEmpty());
        attempt(u"b"_s);
        QVERIFY(dialog.findChild<QLabel *>(u"lblMessage"_s)->text().contains(u"请 12 秒后再试"_s));
        attempt(u"c"_s);
        QVERIFY(dialog.isVisible());
        attempt(u"d"_s);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.wrongPasswords(), 3);
        QCOMPARE(tried, (QStringList{u"clerk/a"_s, u"clerk/b"_s, u"clerk/c"_s, u"clerk/d"_s}));

        SignInDialog second(u""_s, [](const QString &, const QString &) {
            return PasswordCheck::Result{Outcome::SignedIn};
        });
        second.show();
        QVERIFY(second.focusWidget() == second.findChild<QLineEdit *>(u"edtOperator"_s));
        second.findChild<QLineEdit *>(u"edtOperator"_s)->setText(u" viewer "_s);
        second.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(second.result(), int(QDialog::Accepted));
        QCOMPARE(second.operatorCode(), u"viewer"_s);
    }

    // Without a dialog the password comes from the environment or a file; the
    // command line never carries it.
    void headlessStartsNeedThePassword_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password"); // TALVEX_PASSWORD; null: not set
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        const QString noPassword = u"需要操作员“%1”的密码：请用环境变量 TALVEX_PASSWORD 或"
                                   u" --password-file 文件给出，不要写在命令行上。"_s;
        const QStringList sql{u"sql"_s, u"select count(1) from Sys_Dept"_s};
        QTest::newRow("sql without a password")
            << sql << QString() << 1 << noPassword.arg(u"admin"_s);
        QTest::newRow("export-xls without a password")
            << QStringList{u"--operator"_s, u"clerk"_s, u"export-xls"_s, path(u"never.xls"_s)}
            << QString() << 1 << noPassword.arg(u"clerk"_s);
        QTest::newRow("screenshot without a password")
            << QStringList{u"--screenshot"_s, path(u"never.png"_s)} << QString() << 1
            << noPassword.arg(u"admin"_s);
        QTest::newRow("wrong password") << sql << u"clerk"_s << 1 << u"操作员代码或密码不对。"_s;
        QTest::newRow("unknown operator") << QStringList{u"--operator"_s, u"nobody"_s} + sql
                                          << u"nobody"_s << 1 << u"操作员代码或密码不对。"_s;
        QTest::newRow("password file") << QStringList{u"--password-file"_s, path(u"viewer.txt"_s),
                                                      u"--operator"_s, u"viewer"_s}
                                              + sql
                                       << QString() << 0 << QString();
        QTest::newRow("environment before the file")
            << QStringList{u"--password-file"_s, path(u"viewer.txt"_s)} + sql << u"admin"_s << 0
            << QString();
        QTest::newRow("password file missing")
            << QStringList{u"--password-file"_s, path(u"missing.txt"_s)} + sql << QString() << 1
            << u"无法读取密码文件 %1。"_s.arg(path(u"missing.txt"_s));
    }

    void headlessStartsNeedThePassword()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(int, status);
        QFETCH(QString, message);
        Fixture fixture;
        QFile file(path(u"viewer.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("viewer\r\nsecond line\n");
        file.close();
        const HostRun run = runHost(QStringList{u"--db"_s, fixture.location()} + arguments,
                                    m_dir.path(), {{u"TALVEX_PASSWORD"_s, password}});
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFile::exists(path(u"never.png"_s)) && !QFile::exists(path(u"never.xls"_s)));
        if (status == 0)
            QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts).last(), u"6"_s);
    }

    // A refused start is counted in the file, for the next start to see.
    void refusedStartIsCounted()
    {
        Fixture fixture;
        const QStringList sql{u"--db"_s, fixture.location(), u"sql"_s,
                              u"select count(1) from Sys_Dept"_s};
        QCOMPARE(runHost(sql, m_dir.path(), {{u"TALVEX_PASSWORD"_s, u"guess"_s}}).status, 1);
        QCOMPARE(runHost(sql, m_dir.path(), {{u"TALVEX_PASSWORD"_s, u"guess"_s}}).status, 1);
        QCOMPARE(failures(fixture.db(), u"admin"_s), u"2"_s);
        QCOMPARE(runHost(sql, m_dir.path()).status, 0);
        QCOMPARE(failures(fixture.db(), u"admin"_s), u"0"_s);
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

QTEST_MAIN(SignInTest)
#include "tst_signin.moc"
