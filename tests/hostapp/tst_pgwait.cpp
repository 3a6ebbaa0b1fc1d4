// A desk whose server is slow or goes away: a long statement shows the wait
// notice with 取消, which cancels it on the server; a connection ended under a
// running statement is reported in the operator's words, and the next command
// connects again.

#include "Failures.h"
#include "HostFixture.h"

#include "hostapp/services/WaitNotice.h"
#include "runtime/dataset.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Long enough to be cut short, short enough not to hold up a failing run.
const QString longStatement = u"SELECT pg_sleep(20)"_s;
// A failure guard, not a speed target.
constexpr qint64 reportedWithinMs = 15000;

} // namespace

class PgWaitTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void longStatementCanBeCancelled()
    {
        HostFixture host;
        QWidget window;
        window.resize(400, 300);
        window.show();
        host.session.setWindow(&window);
        QString shownText;
        bool cancelOffered = false;
        QTimer::singleShot(2500, &window, [&] {
            const WaitNotice &notice = host.session.waitNotice();
            shownText = notice.isShown() ? notice.text() : QString();
            if (QPushButton *cancel = notice.cancelButton()) {
                cancelOffered = true;
                cancel->click();
            }
        });
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(failureOf([&] { host.session.database().select(longStatement); }),
                 DbFailure::Cancelled);
        QVERIFY2(elapsed.elapsed() < reportedWithinMs,
                 qPrintable(QString::number(elapsed.elapsed())));
        QVERIFY2(shownText.contains(u"数据库服务器"_s), qPrintable(shownText));
        QVERIFY(cancelOffered);
        QVERIFY(!host.session.waitNotice().isShown());
        QCOMPARE(host.session.database().nativeValue(u"SELECT 1"_s), u"1"_s);
    }

    // A notice the module put up stays up after the server's notice.
    void moduleNoticeComesBack()
    {
        HostFixture host;
        QWidget window;
        window.show();
        host.session.setWindow(&window);
        host.session.waitNotice().show(u"正在查询……"_s);
        QTimer::singleShot(2500, &window, [&] {
            if (QPushButton *cancel = host.session.waitNotice().cancelButton())
                cancel->click();
        });
        failureOf([&] { host.session.database().select(longStatement); });
        QVERIFY(host.session.waitNotice().isShown());
        QCOMPARE(host.session.waitNotice().text(), u"正在查询……"_s);
        QCOMPARE(host.session.waitNotice().cancelButton(), nullptr);
        host.session.waitNotice().hide();
    }

    // The server ends the connection while a statement runs, as a restart or
    // an administrator would.
    void connectionEndedUnderAStatement()
    {
        HostFixture host;
        QWidget window;
        window.show();
        host.session.setWindow(&window);
        const QString pid = host.session.database().nativeValue(u"SELECT pg_backend_pid()"_s);
        const std::unique_ptr<Database> administrator = host.fixture.connect();
        QTimer::singleShot(2500, &window, [&] {
            administrator->execute(u"SELECT pg_terminate_backend($1)"_s, {pid});
        });
        QElapsedTimer elapsed;
        elapsed.start();
        std::exception_ptr failure;
        try {
            host.session.database().select(longStatement);
        } catch (...) {
            failure = std::current_exception();
        }
        QVERIFY(failure);
        QVERIFY2(elapsed.elapsed() < reportedWithinMs,
                 qPrintable(QString::number(elapsed.elapsed())));
        const OperatorMessage message = OperatorMessage::of(failure);
        QVERIFY2(message.text.contains(u"连接已断开"_s), qPrintable(message.text));
        QVERIFY(!host.session.waitNotice().isShown());
        QCOMPARE(host.session.database().nativeValue(u"SELECT session_user"_s), u"admin"_s);
    }
};

QTEST_MAIN(PgWaitTest)
#include "tst_pgwait.moc"
