// The board's commands as the operator meets them, over the real host on either
// backend: the batch dialog refusing periods as the editor does, the messages of
// what was written and skipped, the database's refusals in his words, and the
// board told to refresh only after a write.

#include "HostFixture.h"

#include "hostapp/board/BoardActions.h"
#include "runtime/editors/checkbox.h"
#include "runtime/editors/memo.h"
#include "runtime/editors/timeedit.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

BoardCell cell(const QString &employee, const QString &day)
{
    return {employee, QDate::fromString(day, Qt::ISODate)};
}

// Fills the open batch dialog: times "HH:MM" x 4, or empty for 调休.
void fillBatchDialog(QDialog *dialog, const QStringList &times, const QString &reason)
{
    if (times.isEmpty()) {
        dialog->findChild<TcxCheckBox *>(u"chkRestDay"_s)->click();
    } else {
        for (int i = 0; i < 4; ++i) {
            dialog->findChild<TcxTimeEdit *>(u"edtPeriod%1"_s.arg(i + 1))
                ->setTime(QTime::fromString(times.at(i), u"HH:mm"_s));
        }
    }
    dialog->findChild<TcxMemo *>(u"mmReason"_s)->setText(reason);
}

void pressOk(QDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

// Runs work on the modal dialog that the next exec() opens.
void onNextDialog(std::function<void(QDialog *)> work)
{
    QTimer::singleShot(0, [work] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        work(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

int exchangeCount(Database &db)
{
    return db.nativeValue(u"SELECT count(*) FROM Kq_ExchangeClass"_s).toInt();
}

} // namespace

class BoardActionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void batchRefusesPeriodsThenWritesAndListsSkippedDays()
    {
        HostFixture host(u"clerk"_s);
        QSignalSpy saved(&host.session, &HostSession::dataSaved);
        bool stayedOpen = false;
        onNextDialog([&](QDialog *dialog) {
            fillBatchDialog(dialog, {u"08:00"_s, u"12:00"_s, u"11:00"_s, u"17:00"_s}, u"补班"_s);
            pressOk(dialog);
            stayedOpen = dialog->isVisible();
            fillBatchDialog(dialog, {u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s}, u"补班"_s);
            pressOk(dialog);
        });

        QVERIFY(BoardActions::batchExchange(
            nullptr, host.session,
            {cell(u"E003"_s, u"2026-12-04"_s), cell(u"E005"_s, u"2026-12-07"_s)}));

        QVERIFY(stayedOpen);
        QCOMPARE(host.messages.size(), 2);
        QCOMPARE(host.messages.at(0).text,
                 u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s);
        const QString result = host.messages.at(1).text;
        QVERIFY2(result.startsWith(u"已登记 1 条调班。"_s), qPrintable(result));
        QVERIFY2(result.contains(u"已跳过"_s) && result.contains(u"E003 2026-12-04"_s),
                 qPrintable(result));
        QVERIFY2(!result.contains(u"E005"_s), qPrintable(result));
        QCOMPARE(saved.size(), 1);
        QCOMPARE(
            host.db().nativeValue(u"SELECT WorkTime FROM Kq_ExchangeClass"
                                  u" WHERE EmployeeCode = 'E005' AND ExchgDate = '2026-12-07'"_s),
            u"510"_s);
    }

    void cancelledBatchWritesNothing()
    {
        HostFixture host(u"admin"_s);
        QSignalSpy saved(&host.session, &HostSession::dataSaved);
        onNextDialog([](QDialog *dialog) { fillBatchDialog(dialog, {}, u"调休"_s); });

        QVERIFY(!BoardActions::batchExchange(nullptr, host.session,
                                             {cell(u"E001"_s, u"2026-12-07"_s)}));
        QVERIFY(host.messages.isEmpty());
        QCOMPARE(saved.size(), 0);
        QCOMPARE(exchangeCount(host.db()), 5);
    }

    // The database refuses a viewer's rows; he reads why, and nothing changed.
    void aViewerIsToldHisRightsDoNotSuffice_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("batch exchange") << true;
        QTest::newRow("swap") << false;
    }
    void aViewerIsToldHisRightsDoNotSuffice()
    {
        QFETCH(bool, batch);
        HostFixture host(u"viewer"_s);
        QSignalSpy saved(&host.session, &HostSession::dataSaved);
        bool written = true;
        if (batch) {
            onNextDialog([](QDialog *dialog) {
                fillBatchDialog(dialog, {}, u"调休"_s);
                pressOk(dialog);
            });
            written = BoardActions::batchExchange(
                nullptr, host.session,
                {cell(u"E001"_s, u"2026-12-07"_s), cell(u"E002"_s, u"2026-12-07"_s)});
        } else {
            written = BoardActions::swap(nullptr, host.session, cell(u"E001"_s, u"2026-12-02"_s),
                                         cell(u"E002"_s, u"2026-12-02"_s));
        }

        QVERIFY(!written);
        QCOMPARE(host.messages.size(), 1);
        const QString text = host.messages.at(0).text;
        QVERIFY2(text.contains(u"没有写入任何调班"_s) && text.contains(u"对不起，您的权限不足"_s),
                 qPrintable(text));
        QCOMPARE(host.messages.at(0).icon, Rt::Icon::Stop);
        QCOMPARE(saved.size(), 0);
        QCOMPARE(exchangeCount(host.db()), 5);
    }

    void swapShowsBothRows()
    {
        HostFixture host(u"admin"_s);
        QSignalSpy saved(&host.session, &HostSession::dataSaved);

        QVERIFY(BoardActions::swap(nullptr, host.session, cell(u"E001"_s, u"2026-12-02"_s),
                                   cell(u"E002"_s, u"2026-12-02"_s)));

        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages.at(0).text,
                 u"已对调，登记了两条调班：\n王芳（10001） 2026-12-02：07:30-11:30\n"
                 u"欧阳 雪（HT10002） 2026-12-02：08:00-12:00 13:00-17:30"_s);
        QCOMPARE(saved.size(), 1);
    }
};

QTEST_MAIN(BoardActionsTest)
#include "tst_boardactions.moc"
