#include "talvex/model/ShareObj.h"
#include "talvex/model/SqlText.h"
#include "talvex/model/Sys_Dept.h"

#include <QTest>
#include <QTime>

using namespace Qt::StringLiterals;

namespace {

// The IDs of the objects freed, in order.
QStringList freedIds;

TSys_Dept *tracked(const QString &id)
{
    auto *dept = new TSys_Dept;
    dept->ID = id;
    QObject::connect(dept, &QObject::destroyed, [id] { freedIds << id; });
    return dept;
}

} // namespace

class ModelTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { freedIds.clear(); }

    void listLooksUpByPositionAndTrimmedKey()
    {
        TObjectHashedList list;
        list.addObject(u"1"_s, tracked(u"1"_s));
        list.addObject(u"2"_s, tracked(u"2"_s));
        QCOMPARE(static_cast<TSys_Dept *>(list.GetObjectAt(1))->ID, u"2"_s);
        QVERIFY(!list.GetObjectAt(-1));
        QVERIFY(!list.GetObjectAt(2));
        QCOMPARE(static_cast<TSys_Dept *>(list.FindObject(u"  2 "_s))->ID, u"2"_s);
        QVERIFY(!list.FindObject(u"3"_s));
    }

    void deleteAtFreesOneAndShiftsTheRest()
    {
        TObjectHashedList list;
        for (const auto &id : {u"a"_s, u"b"_s, u"c"_s})
            list.addObject(id, tracked(id));
        list.DeleteAt(3);
        list.DeleteAt(-1);
        QCOMPARE(list.count(), 3);
        list.DeleteAt(0);
        QCOMPARE(freedIds, QStringList{u"a"_s});
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.FindObject(u"c"_s), list.GetObjectAt(1));
        QCOMPARE(list.FindObject(u"b"_s), list.GetObjectAt(0));
    }

    void clearAndDestructionFreeEachObjectOnceLastFirst()
    {
        {
            TObjectHashedList list;
            for (const auto &id : {u"a"_s, u"b"_s, u"c"_s})
                list.addObject(id, tracked(id));
            list.Clear();
            QCOMPARE(list.count(), 0);
            QCOMPARE(freedIds, (QStringList{u"c"_s, u"b"_s, u"a"_s}));
            QVERIFY(!list.FindObject(u"a"_s));
            list.addObject(u"d"_s, tracked(u"d"_s));
        }
        QCOMPARE(freedIds.size(), 4);
        QCOMPARE(freedIds.last(), u"d"_s);
    }

    void textForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << u"张三"_s << u"张三"_s;
        QTest::newRow("quote") << u"O'Neil"_s << u"O''Neil"_s;
        QTest::newRow("closing attempt") << u"x') or 1=1 --"_s << u"x'') or 1=1 --"_s;
    }

    void textForms()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(SqlText::escaped(text), escaped);
        QCOMPARE(SqlText::quoted(text), u"'"_s + escaped + u"'"_s);
    }

    void dateTimeAndCaseForms()
    {
        QCOMPARE(SqlText::dateText(46361.75), u"2026-12-05"_s);
        QCOMPARE(SqlText::timeText(QTime(8, 5)), u"08:05"_s);
        QCOMPARE(SqlText::timeText(QTime()), u"00:00"_s);
        QCOMPARE(SqlText::upperAscii(u"ab张c é"_s), u"AB张C é"_s);
    }
};

QTEST_GUILESS_MAIN(ModelTest)
#include "tst_model.moc"
