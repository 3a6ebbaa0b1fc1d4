// Two host processes, two operators, one database: each sees what the other
// saved, and when both save the same employee and day at once, exactly one row
// is written and the other desk's save fails as the module reports it, in its
// log, with nothing else changed. Many rounds, each desk a process of its own
// (twohosts_desk.cpp).

#include "Fixture.h"
#include "RowsAsText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int rounds = 40;
const QString allExchanges = u"SELECT * FROM Kq_ExchangeClass ORDER BY ID"_s;
constexpr int answerTimeoutMs = 15000;
const QString employee = u"E003"_s;
const QDate firstDay(2027, 1, 1);

class Desk
{
public:
    Desk(const QString &location, const QString &operatorCode, const QString &logFile)
        : operatorCode(operatorCode)
        , logFile(logFile)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QDir(qEnvironmentVariable("TALVEX_BIN_DIR")).filePath(u"twohosts_desk"_s),
                        {u"--db"_s, location, u"--operator"_s, operatorCode, u"--log"_s, logFile});
    }

    ~Desk()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        send(u"quit"_s);
        if (!m_process.waitForFinished(answerTimeoutMs))
            m_process.kill();
    }

    void send(const QString &command) { m_process.write((command + u'\n').toUtf8()); }

    // The desk's answer to the last command; empty when none came in time.
    QString answer()
    {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(answerTimeoutMs))
                return QString();
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    QStringList logLines() const
    {
        QFile file(logFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    const QString operatorCode;
    const QString logFile;

private:
    QProcess m_process;
};

} // namespace

class TwoHostsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void simultaneousSavesOfOneDayWriteOneRow()
    {
        Fixture fixture;
        Database &db = fixture.db();
        const QStringList before = rowsAsText(db, allExchanges);
        QTemporaryDir logs;
        Desk first(fixture.deskLocation(u"admin"_s), u"admin"_s, logs.filePath(u"admin.log"_s));
        Desk second(fixture.deskLocation(u"clerk"_s), u"clerk"_s, logs.filePath(u"clerk.log"_s));
        Desk *desks[] = {&first, &second};
        for (Desk *desk : desks)
            QCOMPARE(desk->answer(), u"ready"_s);

        QStringList winners;
        for (int round = 0; round < rounds; ++round) {
            const QString day = firstDay.addDays(round).toString(u"yyyy-MM-dd"_s);
            // Both editors find the day free before either saves.
            for (Desk *desk : desks)
                desk->send(u"check %1 %2"_s.arg(employee, day));
            for (Desk *desk : desks)
                QCOMPARE(desk->answer(), u"count 0"_s);

            for (Desk *desk : desks)
                desk->send(u"save %1 %2"_s.arg(employee, day));
            QStringList outcomes;
            for (Desk *desk : desks)
                outcomes.append(desk->answer());
            QCOMPARE(outcomes.count(u"saved"_s), 1);
            QCOMPARE(outcomes.count(u"failed"_s), 1);
            winners.append(desks[outcomes.indexOf(u"saved"_s)]->operatorCode);

            // After a refresh each desk sees the row, whoever saved it.
            for (Desk *desk : desks)
                desk->send(u"check %1 %2"_s.arg(employee, day));
            for (Desk *desk : desks)
                QCOMPARE(desk->answer(), u"count 1"_s);
        }

        // One row a day, written by the winner; the rows before untouched.
        const QString savers = u"SELECT OptorCode FROM Kq_ExchangeClass WHERE EmployeeCode = '%1'"
                               u" AND ExchgDate >= '%2' ORDER BY ExchgDate"_s;
        QCOMPARE(rowsAsText(db, savers.arg(employee, firstDay.toString(u"yyyy-MM-dd"_s))).mid(1),
                 winners);
        const QStringList after = rowsAsText(db, allExchanges);
        QCOMPARE(after.size(), before.size() + rounds);
        QCOMPARE(after.mid(0, before.size()), before);

        // Each loss is in the loser's log as the module writes it, in the
        // operator's words, with the database's detail on a line of its own.
        for (Desk *desk : desks) {
            int losses = 0;
            for (const QString &line : desk->logLines()) {
                if (line.contains(u"[详情]"_s)) {
                    QVERIFY2(line.contains(u"already has a shift exchange on that day"_s),
                             qPrintable(line));
                    continue;
                }
                QVERIFY2(line.contains(u"保存数据失败!该员工这一天已有调班记录"_s),
                         qPrintable(line));
                ++losses;
            }
            QCOMPARE(losses, rounds - int(winners.count(desk->operatorCode)));
        }
    }
};

QTEST_GUILESS_MAIN(TwoHostsTest)
#include "tst_twohosts.moc"
