#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/exceptions.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// ID text, WorkTime integer, ExchgDate date, Rate float; second row all null.
std::unique_ptr<TDataSet> sample()
{
    auto set = std::make_unique<TDataSet>();
    const int id = set->addField(u"ID"_s, TFieldType::String);
    const int time = set->addField(u"WorkTime"_s, TFieldType::Integer);
    const int date = set->addField(u"ExchgDate"_s, TFieldType::DateTime);
    const int rate = set->addField(u"Rate"_s, TFieldType::Float);
    int r = set->appendRecord();
    set->setString(r, id, u"17"_s);
    set->setInteger(r, time, 480);
    set->setString(r, date, u"2026-12-05"_s);
    set->setFloat(r, rate, 1.5);
    set->appendRecord();
    r = set->appendRecord();
    set->setString(r, id, u"x"_s);
    set->setString(r, date, u"2026-12-05 08:30:00"_s);
    set->setFloat(r, rate, 480.0);
    set->finishLoading();
    return set;
}

} // namespace

class DataSetTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldsAreFoundRegardlessOfCase()
    {
        auto set = sample();
        QCOMPARE(set->fieldByName(u"exchgdate"_s).index(), 2);
        QCOMPARE(set->findField(u"WORKTIME"_s), 1);
        QCOMPARE(set->findField(u"none"_s), -1);
        try {
            set->fieldByName(u"PersonName"_s);
            QFAIL("a missing field must raise");
        } catch (const Rt::DatabaseError &e) {
            QVERIFY(e.message().contains(u"PersonName"_s));
        }
    }

    // Values as text and as the types they convert to; a text that is no number
    // refuses to become one, as a number field refuses such a text.
    void valuesConvert()
    {
        auto set = sample();
        QCOMPARE(set->fieldByName(u"ID"_s).asString(), u"17"_s);
        QCOMPARE(set->fieldByName(u"ID"_s).asInteger(), 17);
        QCOMPARE(set->fieldByName(u"WorkTime"_s).asString(), u"480"_s);
        QCOMPARE(set->fieldByName(u"ExchgDate"_s).asString(), u"2026-12-05"_s);
        QCOMPARE(set->fieldByName(u"ExchgDate"_s).asDateTime(),
                 Rt::DateTime::fromDate(QDate(2026, 12, 5)));
        QCOMPARE(set->fieldByName(u"Rate"_s).asString(), u"1.5"_s);
        set->setRecNo(2);
        QCOMPARE(set->fieldByName(u"ExchgDate"_s).asString(), u"2026-12-05 08:30:00"_s);
        QCOMPARE(set->fieldByName(u"Rate"_s).asString(), u"480"_s);
        QVERIFY_THROWS_EXCEPTION(Rt::DatabaseError, set->fieldByName(u"ID"_s).asInteger());
        QVERIFY_THROWS_EXCEPTION(Rt::DatabaseError, set->setString(0, 1, u"abc"_s));
    }

    void nullsReadAsEmptyValues()
    {
        auto set = sample();
        set->setRecNo(1);
        for (int f = 0; f < set->fieldCount(); ++f) {
            const TField field(set.get(), f);
            QVERIFY(field.isNull());
            QCOMPARE(field.asString(), QString());
            QCOMPARE(field.asInteger(), 0);
            QCOMPARE(field.asDateTime(), 0.0);
        }
        // Records added once the set is loaded start null too, in room made again.
        for (int n = 0; n < 300; ++n) {
            const int record = set->appendRecord();
            for (int f = 0; f < set->fieldCount(); ++f)
                QVERIFY(set->isNull(record, f));
        }
        TDataSet empty;
        empty.addField(u"ID"_s, TFieldType::String);
        empty.finishLoading();
        QCOMPARE(empty.recNo(), -1);
        QVERIFY(empty.fieldByName(u"ID"_s).isNull());
    }

    void currentRecordMovesAndSignals()
    {
        auto set = sample();
        QSignalSpy moved(set.get(), &TDataSet::currentChanged);
        QCOMPARE(set->recNo(), 0);
        set->next();
        set->next();
        QCOMPARE(set->recNo(), 2);
        QVERIFY(!set->eof());
        set->next();
        QVERIFY(set->eof());
        QCOMPARE(moved.size(), 2);
        set->setRecNo(99);
        QCOMPARE(set->recNo(), 2);
    }

    // Texts are kept packed, equal neighbours and the records a loader points at
    // an earlier one sharing their characters: writing a cell again, to a longer,
    // shorter, empty or null text, changes that cell alone, whatever it shared
    // with other cells.
    void textsWrittenAgainStayApart()
    {
        TDataSet set;
        const int name = set.addField(u"Name"_s, TFieldType::String);
        const QStringList first{u"一车间"_s, u"一车间"_s, u"一车间"_s, u""_s, u""_s, u"二车间"_s};
        for (const QString &text : first)
            set.setString(set.appendRecord(), name, text);
        set.appendRecord(); // left null
        set.shareString(set.appendRecord(), name, 5);
        set.shareString(set.appendRecord(), name, 0);
        set.shareString(set.appendRecord(), name, 3);
        set.finishLoading();

        set.setString(1, name, u"一车间甲班"_s);
        set.setNull(2, name);
        set.setString(4, name, u"x"_s);
        set.setString(6, name, u"一车间"_s);
        set.setString(0, name, u"三车间"_s);
        set.setNull(5, name);
        const QStringList expected{u"三车间"_s, u"一车间甲班"_s, QString(),   u""_s,       u"x"_s,
                                   QString(),   u"一车间"_s,     u"二车间"_s, u"一车间"_s, u""_s};
        for (int r = 0; r < set.recordCount(); ++r) {
            QCOMPARE(set.asString(r, name), expected.at(r));
            QCOMPARE(set.isNull(r, name), expected.at(r).isNull());
        }
    }
};

QTEST_GUILESS_MAIN(DataSetTest)
#include "tst_dataset.moc"
