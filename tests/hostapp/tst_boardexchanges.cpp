// Batch exchanges and swaps on the fixture database, on either backend: the rows
// they write, the days they skip, the history, the database's refusals, and a
// register save that meets a batch on the same day.

#include "Failures.h"
#include "Fixture.h"
#include "ModuleStatements.h"

#include "hostapp/board/BatchExchange.h"
#include "hostapp/board/SwapExchange.h"
#include "hostapp/services/OperatorMessage.h"
#include "runtime/dataset.h"
#include "talvex/editor/ExchangeRules.h"

#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString exchangeColumns =
    u"period1Beg, period1End, period2Beg, period2End, SubClassType, WorkTime, WorkFlag,"
    u" ExchgType, ExchgeReason, OptorCode, Remark"_s;

// The fields of one employee's exchange of a day, "|" between them, NULL as
// <null>; empty when there is none.
QString exchangeOf(Database &db, const QString &employee, const QString &day,
                   const QString &columns = exchangeColumns)
{
    const auto rows = db.select(
        u"SELECT %1 FROM Kq_ExchangeClass WHERE EmployeeCode = $1 AND ExchgDate = $2"_s.arg(
            columns),
        {employee, day});
    if (rows->recordCount() == 0)
        return QString();
    QStringList values;
    for (int f = 0; f < rows->fieldCount(); ++f)
        values << (rows->isNull(0, f) ? u"<null>"_s : rows->asString(0, f));
    return values.join(u'|');
}

// Every exchange, a line each.
QStringList allExchanges(Database &db)
{
    const auto rows = db.select(u"SELECT * FROM Kq_ExchangeClass ORDER BY ID"_s);
    QStringList lines;
    for (int r = 0; r < rows->recordCount(); ++r) {
        QStringList values;
        for (int f = 0; f < rows->fieldCount(); ++f)
            values << rows->asString(r, f);
        lines << values.join(u'|');
    }
    return lines;
}

int exchangeCount(Database &db)
{
    return db.nativeValue(u"SELECT count(*) FROM Kq_ExchangeClass"_s).toInt();
}

// Each change the history holds, "KIND operator employee day", in order.
QStringList history(Database &db)
{
    const auto rows = db.select(
        u"SELECT ChangeKind, OperatorCode, coalesce(New_EmployeeCode, Old_EmployeeCode),"
        u" coalesce(New_ExchgDate, Old_ExchgDate) FROM Kq_ExchangeClassHistory ORDER BY HistoryID"_s);
    QStringList lines;
    for (int r = 0; r < rows->recordCount(); ++r) {
        lines << u"%1 %2 %3 %4"_s.arg(rows->asString(r, 0), rows->asString(r, 1),
                                      rows->asString(r, 2), rows->asString(r, 3));
    }
    return lines;
}

BoardCell cell(const QString &employee, const QString &day)
{
    return {employee, QDate::fromString(day, Qt::ISODate)};
}

Schedule::Periods periods(const QString &p1b, const QString &p1e, const QString &p2b,
                          const QString &p2e)
{
    return Schedule::periodsFromTexts(p1b, p1e, p2b, p2e);
}

QStringList cellTexts(const BoardCells &cells)
{
    QStringList texts;
    for (const BoardCell &c : cells)
        texts << c.employeeCode + u' ' + c.day.toString(Qt::ISODate);
    return texts;
}

// A second desk of an operator, as another workstation opens it.
std::unique_ptr<Database> secondDesk(const Fixture &fixture, const QString &operatorCode)
{
    std::unique_ptr<Database> desk = openDatabase(fixture.deskLocation(operatorCode));
    desk->setOperatorCode(operatorCode);
    return desk;
}

} // namespace

class BoardExchangesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The editor's rules and words, whichever window checks the periods.
    void refusesPeriodsAsTheEditor_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("expected");
        const QString overlapBegin = u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
        QTest::newRow("one period")
            << QStringList{u"08:00"_s, u"12:00"_s, u"00:00"_s, u"00:00"_s} << QString();
        QTest::newRow("two periods")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s} << QString();
        QTest::newRow("rest day") << QStringList{u"00:00"_s, u"00:00"_s, u"00:00"_s, u"00:00"_s}
                                  << QString();
        QTest::newRow("period 1 across midnight")
            << QStringList{u"12:00"_s, u"08:00"_s, u"00:00"_s, u"00:00"_s}
            << u" 时段一开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 begins in period 1")
            << QStringList{u"08:00"_s, u"12:00"_s, u"11:00"_s, u"17:00"_s} << overlapBegin;
        QTest::newRow("period 2 ends in period 1")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"11:30"_s}
            << u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
        QTest::newRow("period 2 reversed after period 1")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"12:30"_s}
            << u"时段二开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 with its end only")
            << QStringList{u"08:00"_s, u"12:00"_s, u"00:00"_s, u"10:00"_s} << overlapBegin;
        QTest::newRow("period 2 with its begin only")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"00:00"_s}
            << u"时段二开始时间不能大于结束时间，请核实!"_s;
    }
    void refusesPeriodsAsTheEditor()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, expected);
        const BatchExchange::Request request{
            periods(times[0], times[1], times[2], times[3]), {}, {}};
        QCOMPARE(BatchExchange::refusal(request), expected);
        QCOMPARE(ExchangeRules::periodRefusal({times[0], times[1], times[2], times[3]}), expected);
    }

    // A batch row holds what the editor's insert of the same entry holds.
    void writesRowsAsTheRegister_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("workTime");
        QTest::newRow("调休") << QStringList{u"00:00"_s, u"00:00"_s, u"00:00"_s, u"00:00"_s}
                              << u"0"_s;
        QTest::newRow("two periods")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s} << u"510"_s;
        QTest::newRow("one period")
            << QStringList{u"09:00"_s, u"15:00"_s, u"00:00"_s, u"00:00"_s} << u"360"_s;
    }
    void writesRowsAsTheRegister()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, workTime);
        Fixture fixture;
        Database &db = fixture.desk(u"admin"_s);
        const QString reason = u"国庆调休 'A'"_s;
        QVERIFY(db.execSql(EditorStatements::insertExchange({u"E005"_s, u"2026-12-07"_s, times[0],
                                                             times[1], times[2], times[3], workTime,
                                                             reason, QString(), u"admin"_s})));

        const BatchExchange::Result result = BatchExchange::write(
            db, u"admin"_s, {cell(u"E001"_s, u"2026-12-07"_s), cell(u"E003"_s, u"2026-12-08"_s)},
            {periods(times[0], times[1], times[2], times[3]), reason, QString()});

        QCOMPARE(cellTexts(result.written),
                 (QStringList{u"E001 2026-12-07"_s, u"E003 2026-12-08"_s}));
        QVERIFY(result.skipped.isEmpty());
        const QString editors = exchangeOf(db, u"E005"_s, u"2026-12-07"_s);
        QCOMPARE(exchangeOf(db, u"E001"_s, u"2026-12-07"_s), editors);
        QCOMPARE(exchangeOf(db, u"E003"_s, u"2026-12-08"_s), editors);
        // New numbers from the register's sequence, the database's clock.
        const QString stamps = u"ID, CREATE_TIME, MODIFIED_TIME"_s;
        const QStringList e005 = exchangeOf(db, u"E005"_s, u"2026-12-07"_s, stamps).split(u'|');
        const QStringList e001 = exchangeOf(db, u"E001"_s, u"2026-12-07"_s, stamps).split(u'|');
        QCOMPARE(e005.at(0), u"6"_s);
        QVERIFY(e001.at(0).toLongLong() > 6);
        QVERIFY(e001.at(1) >= e005.at(1));
        QCOMPARE(e001.at(2), u"<null>"_s);
    }

    // Taken days are listed and left as they are; each new row is in the history.
    void skipsDaysThatHaveAnExchange()
    {
        Fixture fixture;
        Database &db = fixture.desk(u"clerk"_s);
        const QString before = exchangeOf(db, u"E003"_s, u"2026-12-04"_s);

        const BatchExchange::Result result = BatchExchange::write(
            db, u"clerk"_s,
            {cell(u"E005"_s, u"2026-10-01"_s), cell(u"E003"_s, u"2026-12-05"_s),
             cell(u"E003"_s, u"2026-12-04"_s), cell(u"E003"_s, u"2026-12-05"_s),
             cell(u"E005"_s, u"2026-12-05"_s)},
            {periods(u"08:00"_s, u"12:00"_s, u"00:00"_s, u"00:00"_s), u"补班"_s, u"元旦"_s});

        QCOMPARE(cellTexts(result.written),
                 (QStringList{u"E003 2026-12-05"_s, u"E005 2026-12-05"_s}));
        QCOMPARE(cellTexts(result.skipped),
                 (QStringList{u"E003 2026-12-04"_s, u"E005 2026-10-01"_s}));
        QCOMPARE(exchangeOf(db, u"E003"_s, u"2026-12-04"_s), before);
        QCOMPARE(exchangeCount(fixture.db()), 7);
        QCOMPARE(history(fixture.db()), (QStringList{u"INSERT clerk E003 2026-12-05"_s,
                                                     u"INSERT clerk E005 2026-12-05"_s}));
    }

    // The database refuses one row: none is written, and the operator is told.
    void writesAllOrNone_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QStringList>("employees");
        QTest::addColumn<QString>("message");
        const QString noRight = u"对不起，您的权限不足"_s;
        QTest::newRow("a viewer") << u"viewer"_s << QStringList{u"E001"_s, u"E003"_s} << noRight;
        // E999 sorts last: E001 and E003 were inserted before the refusal.
        QTest::newRow("an unknown employee last")
            << u"admin"_s << QStringList{u"E003"_s, u"E001"_s, u"E999"_s} << QString();
        QTest::newRow("an employee outside the clerk's departments")
            << u"clerk"_s << QStringList{u"E005"_s, u"E003"_s, u"E001"_s} << QString();
    }
    void writesAllOrNone()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QStringList, employees);
        QFETCH(QString, message);
        Fixture fixture;
        Database &db = fixture.desk(operatorCode);
        BoardCells cells;
        for (const QString &employee : employees)
            cells << cell(employee, u"2026-12-09"_s) << cell(employee, u"2026-12-10"_s);

        std::exception_ptr refusal;
        try {
            BatchExchange::write(db, operatorCode, cells, {{}, u"调休"_s, {}});
        } catch (const DbError &) {
            refusal = std::current_exception();
        }
        QVERIFY(refusal);
        QVERIFY(!db.inTransaction());
        QCOMPARE(exchangeCount(fixture.db()), 5);
        QVERIFY(history(fixture.db()).isEmpty());
        const QString text = OperatorMessage::of(refusal).text;
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text != OperatorMessage::forFailure(DbFailure::Statement), qPrintable(text));
    }

    // A register save and a batch on one employee-day from two desks: one row,
    // whichever commits first; the batch lists the day it could not take.
    void aSaveFromTheRegisterAtTheSameTimeLeavesOneRow_data()
    {
        QTest::addColumn<bool>("registerFirst");
        QTest::newRow("the register's save commits while the batch waits") << true;
        QTest::newRow("the batch commits first") << false;
    }
    void aSaveFromTheRegisterAtTheSameTimeLeavesOneRow()
    {
        QFETCH(bool, registerFirst);
        Fixture fixture;
        Database &batchDesk = fixture.desk(u"admin"_s);
        const std::unique_ptr<Database> registerDesk = secondDesk(fixture, u"admin"_s);
        const QString save = EditorStatements::insertExchange({u"E003"_s,
                                                               u"2026-12-06"_s,
                                                               u"09:00"_s,
                                                               u"17:00"_s,
                                                               u"00:00"_s,
                                                               u"00:00"_s,
                                                               u"480"_s,
                                                               u"登记"_s,
                                                               {},
                                                               u"admin"_s});
        const BoardCells cells{cell(u"E001"_s, u"2026-12-06"_s), cell(u"E003"_s, u"2026-12-06"_s)};
        const BatchExchange::Request rest{{}, u"批量"_s, {}};

        BatchExchange::Result result;
        if (registerFirst) {
            // The register's save is open, not committed, when the batch
            // begins; it commits while the batch waits for it.
            registerDesk->beginTrans();
            QVERIFY(registerDesk->execSql(save));
            std::thread commit([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                registerDesk->commitTrans();
            });
            result = BatchExchange::write(batchDesk, u"admin"_s, cells, rest);
            commit.join();
            QCOMPARE(cellTexts(result.skipped), QStringList{u"E003 2026-12-06"_s});
            QCOMPARE(exchangeOf(batchDesk, u"E003"_s, u"2026-12-06"_s, u"ExchgeReason"_s),
                     u"登记"_s);
        } else {
            result = BatchExchange::write(batchDesk, u"admin"_s, cells, rest);
            QCOMPARE(failureOf([&] { registerDesk->execSql(save); }), DbFailure::UniqueDayTaken);
            QCOMPARE(exchangeOf(batchDesk, u"E003"_s, u"2026-12-06"_s, u"ExchgeReason"_s),
                     u"批量"_s);
        }
        QCOMPARE(fixture.db()
                     .nativeValue(u"SELECT count(*) FROM Kq_ExchangeClass"
                                  u" WHERE EmployeeCode = 'E003' AND ExchgDate = '2026-12-06'"_s)
                     .toInt(),
                 1);
        QVERIFY(cellTexts(result.written).contains(u"E001 2026-12-06"_s));
    }

    // E001 on 2026-12-02 works the projected 08:00-12:00 13:00-17:30; E002 has an
    // exchange 07:30-11:30 that day (ID 3); E001 has one on 2026-12-03 (09:00-12:00
    // 13:00-18:00), E003 a rest-day exchange on 2026-12-04.
    void swapsTwoEmployees_data()
    {
        QTest::addColumn<BoardCell>("a");
        QTest::addColumn<BoardCell>("b");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("the same day")
            << cell(u"E001"_s, u"2026-12-02"_s) << cell(u"E002"_s, u"2026-12-02"_s)
            << QStringList{u"07:30|11:30|00:00|00:00|240|1|1|与欧阳 雪（HT10002）对调"_s,
                           u"08:00|12:00|13:00|17:30|510|1|1|与王芳（10001）对调"_s}
            << QStringList{u"INSERT admin E001 2026-12-02"_s, u"UPDATE admin E002 2026-12-02"_s};
        QTest::newRow("two days, one a rest day")
            << cell(u"E001"_s, u"2026-12-03"_s) << cell(u"E003"_s, u"2026-12-04"_s)
            << QStringList{u"00:00|00:00|00:00|00:00|0|0|0|与李明（10003）对调（对方2026-12-04的班次）"_s,
                           u"09:00|12:00|13:00|18:00|480|1|1|与王芳（10001）对调（对方2026-12-03的班次）"_s}
            << QStringList{u"UPDATE admin E001 2026-12-03"_s, u"UPDATE admin E003 2026-12-04"_s};
    }
    void swapsTwoEmployees()
    {
        QFETCH(BoardCell, a);
        QFETCH(BoardCell, b);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, changes);
        Fixture fixture;
        Database &db = fixture.desk(u"admin"_s);
        const QString columns =
            u"period1Beg, period1End, period2Beg, period2End, WorkTime, WorkFlag, ExchgType,"
            u" ExchgeReason"_s;

        SwapExchange::swap(db, Fixture::adminScope(), u"admin"_s, a, b);

        const QString day = u"yyyy-MM-dd"_s;
        QCOMPARE((QStringList{exchangeOf(db, a.employeeCode, a.day.toString(day), columns),
                              exchangeOf(db, b.employeeCode, b.day.toString(day), columns)}),
                 rows);
        QCOMPARE(history(fixture.db()), changes);
    }

    // Refused before or by the database: neither row is written.
    void swapWritesNeitherRowWhenRefused_data()
    {
        QTest::addColumn<QString>("operatorCode");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<BoardCell>("a");
        QTest::addColumn<BoardCell>("b");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("byDatabase"); // rather than refused before writing
        const QString all = Fixture::adminScope();
        const BoardCell e001 = cell(u"E001"_s, u"2026-12-02"_s);
        QTest::newRow("the same employee")
            << u"admin"_s << all << e001 << cell(u"E001"_s, u"2026-12-05"_s)
            << u"对调需要两名不同员工的班次，请选择两名员工的单元格。"_s << false;
        // E003 has no plan: the first row is ready, the second cannot be made.
        QTest::newRow("a day without a schedule")
            << u"admin"_s << all << e001 << cell(u"E003"_s, u"2026-12-05"_s)
            << u"李明（10003）在2026-12-05没有排班，无法对调。"_s << false;
        QTest::newRow("an employee outside the clerk's departments")
            << u"clerk"_s << Fixture::branchScope() << cell(u"E003"_s, u"2026-12-04"_s) << e001
            << OperatorMessage::forFailure(DbFailure::OutsideScope) << false;
        // Read as if he saw everything: the database takes E003's row, then
        // refuses E001's, and the first goes with it.
        QTest::newRow("the database refuses the second row")
            << u"clerk"_s << all << cell(u"E003"_s, u"2026-12-04"_s) << e001 << QString() << true;
        QTest::newRow("a viewer") << u"viewer"_s << all << e001 << cell(u"E002"_s, u"2026-12-02"_s)
                                  << u"对不起，您的权限不足"_s << true;
    }
    void swapWritesNeitherRowWhenRefused()
    {
        QFETCH(QString, operatorCode);
        QFETCH(QString, scope);
        QFETCH(BoardCell, a);
        QFETCH(BoardCell, b);
        QFETCH(QString, message);
        QFETCH(bool, byDatabase);
        Fixture fixture;
        Database &db = fixture.desk(operatorCode);
        const QStringList before = allExchanges(fixture.db());

        std::exception_ptr refusal;
        try {
            SwapExchange::swap(db, scope, operatorCode, a, b);
        } catch (const DbError &) {
            QVERIFY(byDatabase);
            refusal = std::current_exception();
        } catch (...) {
            QVERIFY(!byDatabase);
            refusal = std::current_exception();
        }
        QVERIFY(refusal);
        const QString text = OperatorMessage::of(refusal).text;
        QVERIFY2(text.startsWith(message), qPrintable(text));
        QVERIFY2(text != OperatorMessage::forFailure(DbFailure::Statement), qPrintable(text));
        QVERIFY(!db.inTransaction());
        QCOMPARE(allExchanges(fixture.db()), before);
        QVERIFY(history(fixture.db()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(BoardExchangesTest)
#include "tst_boardexchanges.moc"
