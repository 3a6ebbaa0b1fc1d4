// An SQLite file of layout 1 keeps working: opened by this version it is brought
// to the current layout, its rows kept.

#include "Failures.h"
#include "ModuleStatements.h"
#include "RowsAsText.h"

#include "hostapp/db/ExchangeHistory.h"
#include "hostapp/db/Schema.h"
#include "hostapp/db/SqliteDatabase.h"
#include "runtime/dataset.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

const QString allExchanges = u"SELECT * FROM Kq_ExchangeClass ORDER BY ID"_s;

class SchemaUpgradeTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QFile layout1(QFINDTESTDATA("layout1.sql"));
        QVERIFY(layout1.open(QIODevice::ReadOnly));
        m_db = std::make_unique<SqliteDatabase>(
            m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u".db"_s));
        m_db->execute(QString::fromUtf8(layout1.readAll()));
        // Entered out of employee order, as in daily work.
        m_db->execute(uR"sql(
INSERT INTO HR_Employee (ID, EmployeeCode, JobNumber, PersonName, DeptCode) VALUES
    (1, 'E001', '10001', '王芳', '01'), (2, 'E002', '10002', '李明', '01');
INSERT INTO Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, period1Beg, period1End, period2Beg,
    period2End, SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason, OptorCode, CREATE_TIME)
VALUES
    (1, 'E002', '2026-12-02', '08:00', '12:00', '00:00', '00:00', 0, 240, 1, 1, '培训', 'admin',
     '2026-12-01 09:00:00'),
    (2, 'E001', '2026-12-03', '00:00', '00:00', '00:00', '00:00', 0, 0, 0, 0, '补休', 'clerk',
     '2026-12-01 10:00:00'),
    (3, 'E001', '2026-12-01', '09:00', '17:00', '00:00', '00:00', 0, 480, 1, 1, NULL, 'admin',
     '2026-11-30 10:00:00');
UPDATE Sys_Sequence SET NextValue = 4;
INSERT INTO Sys_Operator VALUES (1, 'admin', '系统管理员'), (2, 'clerk', '人事专员');
INSERT INTO Sys_OperatorRight VALUES (1, '1001', 2), (2, '1001', 2);
INSERT INTO Sys_OperatorDept VALUES (1, '01'), (2, '01');
)sql"_s);
    }

    void cleanup() { m_db.reset(); }

    void upgradeKeepsTheRowsInEmployeeAndDayOrder()
    {
        QCOMPARE(Schema::check(*m_db), Schema::State::Older);
        const QStringList before = rowsAsText(*m_db, allExchanges);
        Schema::upgrade(*m_db);
        QCOMPARE(Schema::check(*m_db), Schema::State::Current);
        QCOMPARE(rowsAsText(*m_db, allExchanges), before);
        QVERIFY(
            m_db->nativeValue(u"SELECT sql FROM sqlite_schema WHERE name = 'Kq_ExchangeClass'"_s)
                .contains(u"WITHOUT ROWID"_s));
        // Stored in the lists' order: read without an ORDER BY, they come so.
        const std::unique_ptr<TDataSet> stored =
            m_db->select(u"SELECT ID, Remark FROM Kq_ExchangeClass"_s);
        QStringList ids;
        for (int r = 0; r < stored->recordCount(); ++r)
            ids.append(stored->asString(r, 0));
        QCOMPARE(ids, (QStringList{u"3"_s, u"2"_s, u"1"_s}));
    }

    // The module's statements and the history work on the upgraded file.
    void upgradedFileWorksAsANewOne()
    {
        Schema::upgrade(*m_db);
        m_db->setOperatorCode(u"clerk"_s);
        QVERIFY(
            m_db->execSql(EditorStatements::insertExchange(exchange(u"E002"_s, u"2026-12-05"_s))));
        QCOMPARE(m_db->queryValue(u"select ID from Kq_ExchangeClass where ExchgDate ="
                                  u" to_date('2026-12-05','yyyy-mm-dd')"_s),
                 u"4"_s);
        QCOMPARE(failureOf([&] {
                     m_db->execSql(
                         EditorStatements::insertExchange(exchange(u"E001"_s, u"2026-12-03"_s)));
                 }),
                 DbFailure::UniqueDayTaken);
        QVERIFY(m_db->execSql(ExchangeQueries::deleteExchange(u"1"_s)));
        const QDate today = QDate::currentDate();
        const QList<ExchangeHistory::Change> changes =
            ExchangeHistory::find(*m_db, {today, today, {}, {}, u"clerk"_s});
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.at(0).kind, u"DELETE"_s);
        QCOMPARE(changes.at(1).operatorCode, u"clerk"_s);
        const std::unique_ptr<TDataSet> list(m_db->openQuery(
            ExchangeQueries::search({u"2026-11-01"_s, u"2026-12-31"_s, u"-1"_s, {}}, u"('01')"_s)));
        QCOMPARE(list->recordCount(), 3);
        QCOMPARE(list->fieldByName(u"ID"_s).asString(), u"3"_s);
    }

    // The rules arrive with their two profiles, PRC the default; a second pass,
    // as when another step of the upgrade ran first, leaves them as they are.
    void upgradeAddsTheRulesOnce()
    {
        Schema::upgrade(*m_db);
        m_db->execute(u"UPDATE Kq_RuleLimit SET LimitValue = 700 WHERE RuleId = 'daily-max'"_s);
        const QStringList rules = rowsAsText(*m_db, u"SELECT * FROM Kq_RuleLimit"
                                                    u" ORDER BY ProfileName, RuleId"_s);
        QCOMPARE(rules.size(), 1 + 2 * 7);
        Schema::addRuleTables(*m_db);
        QCOMPARE(rowsAsText(*m_db, u"SELECT * FROM Kq_RuleLimit ORDER BY ProfileName, RuleId"_s),
                 rules);
        QCOMPARE(
            rowsAsText(*m_db, u"SELECT DeptCode, ProfileName FROM Kq_DeptRuleProfile"_s).mid(1),
            QStringList{u"|PRC"_s});
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SqliteDatabase> m_db;
};

QTEST_GUILESS_MAIN(SchemaUpgradeTest)
#include "tst_schemaupgrade.moc"
