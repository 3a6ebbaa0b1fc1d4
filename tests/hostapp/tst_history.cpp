// The change history that the database keeps of the shift exchanges, on either
// backend: what each kind of change records, what leaves nothing, that nobody
// can change it, and how the history window's query finds changes.

#include "Failures.h"
#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/db/ExchangeHistory.h"
#include "runtime/dataset.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The row of one exchange as the history shows it; empty texts when there is
// no such row.
QStringList rowOf(Database &db, const QString &id)
{
    const QStringList fields = ExchangeHistory::fields();
    const std::unique_ptr<TDataSet> rows = db.select(
        u"SELECT %1 FROM Kq_ExchangeClass WHERE ID = $1"_s.arg(fields.join(u", "_s)), {id});
    QStringList texts;
    for (int f = 0; f < fields.size(); ++f)
        texts.append(rows->recordCount() > 0 ? rows->asString(0, f) : QString());
    return texts;
}

QList<ExchangeHistory::Change> allChanges(Database &db)
{
    // The administrator's departments are all of them. Today is read when asked:
    // a run may cross midnight.
    const QDate today = QDate::currentDate();
    return ExchangeHistory::find(db, {today.addDays(-1), today.addDays(1), {}, {}, u"admin"_s});
}

QString now()
{
    return QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString field(const QStringList &row, const QString &name)
{
    return row.at(ExchangeHistory::fields().indexOf(name));
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachChangeLeavesOneEntry_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("kind");

        EditorStatements::Entry exchange{u"E003"_s,  u"2026-12-01"_s, u"08:00"_s, u"12:00"_s,
                                         u"13:00"_s, u"17:30"_s,      u"510"_s,   u"培训 'A'"_s,
                                         u"备注"_s,  u"clerk"_s};
        QTest::newRow("insert") << EditorStatements::insertExchange(exchange) << u"6"_s
                                << u"clerk"_s << u"INSERT"_s;
        exchange.exchgDate = u"2026-12-04"_s;
        exchange.operatorCode = u"admin"_s;
        QTest::newRow("update") << EditorStatements::updateExchange(u"2"_s, exchange) << u"2"_s
                                << u"admin"_s << u"UPDATE"_s;
        QTest::newRow("delete") << ExchangeQueries::deleteExchange(u"5"_s) << u"5"_s << u"clerk"_s
                                << u"DELETE"_s;
    }

    void eachChangeLeavesOneEntry()
    {
        QFETCH(QString, sql);
        QFETCH(QString, id);
        QFETCH(QString, operatorCode);
        QFETCH(QString, kind);
        Fixture fixture;
        Database &db = fixture.desk(operatorCode);

        const QStringList before = rowOf(db, id);
        const QString started = now();
        QVERIFY(db.execSql(sql));
        const QString ended = now();
        const QStringList after = rowOf(db, id);

        const QList<ExchangeHistory::Change> changes = allChanges(db);
        QCOMPARE(changes.size(), 1);
        const ExchangeHistory::Change &change = changes.first();
        QCOMPARE(change.kind, kind);
        QCOMPARE(change.operatorCode, operatorCode);
        QCOMPARE(change.before, before);
        QCOMPARE(change.after, after);
        // The database's clock: the one that stamped the row itself.
        if (kind == u"INSERT"_s)
            QCOMPARE(change.changedAt, field(after, u"CREATE_TIME"_s));
        else if (kind == u"UPDATE"_s)
            QCOMPARE(change.changedAt, field(after, u"MODIFIED_TIME"_s));
        QVERIFY2(change.changedAt >= started && change.changedAt <= ended,
                 qPrintable(change.changedAt));
        QCOMPARE(change.employeeCode,
                 field(kind == u"DELETE"_s ? before : after, u"EmployeeCode"_s));
    }

    // As the module saves: begin, execute, commit; here the save is rolled back.
    // A refused save's entry goes with its statement (tst_database).
    void rolledBackSavesLeaveNoEntry_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("insert") << EditorStatements::insertExchange(
            exchange(u"E003"_s, u"2026-12-01"_s));
        QTest::newRow("update") << EditorStatements::updateExchange(
            u"2"_s, exchange(u"E001"_s, u"2026-12-04"_s));
        QTest::newRow("delete") << ExchangeQueries::deleteExchange(u"1"_s);
    }

    void rolledBackSavesLeaveNoEntry()
    {
        QFETCH(QString, sql);
        Fixture fixture;
        Database &db = fixture.desk(u"admin"_s);
        db.beginTrans();
        QVERIFY(db.execSql(sql));
        db.rollbackTrans();
        QCOMPARE(db.queryValue(u"select count(1) from Kq_ExchangeClassHistory"_s), u"0"_s);
        QCOMPARE(db.queryValue(u"select count(1) from Kq_ExchangeClass"_s), u"5"_s);
    }

    // Nobody changes the history: not the module's statements, not the host's.
    void historyCannotBeChanged_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("oracle");
        QTest::newRow("module's delete")
            << u"  begin    delete Kq_ExchangeClassHistory where HistoryID=1;  end; "_s << true;
        QTest::newRow("module's update")
            << u" Update Kq_ExchangeClassHistory  set OperatorCode='admin'"_s << true;
        QTest::newRow("native delete") << u"DELETE FROM Kq_ExchangeClassHistory"_s << false;
        QTest::newRow("native update")
            << u"UPDATE Kq_ExchangeClassHistory SET ChangeKind = 'INSERT'"_s << false;
    }

    void historyCannotBeChanged()
    {
        QFETCH(QString, sql);
        QFETCH(bool, oracle);
        Fixture fixture;
        Database &db = fixture.desk(u"clerk"_s);
        QVERIFY(db.execSql(ExchangeQueries::deleteExchange(u"4"_s)));
        const QList<ExchangeHistory::Change> before = allChanges(db);
        const QString error = errorOf([&] { oracle ? void(db.execSql(sql)) : db.execute(sql); });
        // A server refuses an operator the privilege before its triggers run.
        QVERIFY2(error.contains(u"cannot be changed"_s) || error.contains(u"permission denied"_s),
                 qPrintable(error));
        const QList<ExchangeHistory::Change> after = allChanges(db);
        QCOMPARE(after.size(), 1);
        QCOMPARE(after.first().kind, before.first().kind);
        QCOMPARE(after.first().operatorCode, u"clerk"_s);
    }

    void findFiltersChanges_data()
    {
        // Days from the day of the changes, read after they are made: a run may
        // cross midnight. An invalid "to" is that day itself.
        QTest::addColumn<int>("fromDay");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QStringList>("kinds"); // latest first

        const QDate thatDay;
        QTest::newRow("all, latest first") << -1 << thatDay << QString() << QString()
                                           << QStringList{u"DELETE"_s, u"UPDATE"_s, u"UPDATE"_s};
        QTest::newRow("the last day there is")
            << -1 << QDate(9999, 12, 31) << QString() << QString()
            << QStringList{u"DELETE"_s, u"UPDATE"_s, u"UPDATE"_s};
        QTest::newRow("employee code")
            << 0 << thatDay << QString() << u"E001"_s << QStringList{u"UPDATE"_s};
        QTest::newRow("job number of a deleted exchange's employee")
            << 0 << thatDay << QString() << u" HT10002 "_s << QStringList{u"DELETE"_s};
        QTest::newRow("part of a name")
            << 0 << thatDay << QString() << u"欧阳"_s << QStringList{u"DELETE"_s};
        QTest::newRow("a wildcard is a character")
            << 0 << thatDay << QString() << u"%"_s << QStringList{};
        QTest::newRow("operator and employee")
            << 0 << thatDay << u"clerk"_s << u"E001"_s << QStringList{};
    }

    void findFiltersChanges()
    {
        QFETCH(int, fromDay);
        QFETCH(QDate, to);
        QFETCH(QString, operatorCode);
        QFETCH(QString, employee);
        QFETCH(QStringList, kinds);
        Fixture fixture;
        QVERIFY(fixture.desk(u"admin"_s)
                    .execSql(EditorStatements::updateExchange(
                        u"1"_s, exchange(u"E001"_s, u"2026-11-21"_s))));
        QVERIFY(fixture.desk(u"clerk"_s)
                    .execSql(EditorStatements::updateExchange(
                        u"4"_s, exchange(u"E003"_s, u"2026-12-05"_s))));
        Database &db = fixture.desk(u"admin"_s);
        QVERIFY(db.execSql(ExchangeQueries::deleteExchange(u"3"_s))); // E002, 欧阳 雪
        const QDate changedOn = QDate::currentDate();
        const QDate from = changedOn.addDays(fromDay);
        if (!to.isValid())
            to = changedOn;

        QStringList found;
        for (const ExchangeHistory::Change &change :
             ExchangeHistory::find(db, {from, to, operatorCode, employee, u"admin"_s}))
            found.append(change.kind);
        QCOMPARE(found, kinds);
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"
