#include "runtime/datetime.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

// The conversions and the one parser of date-time texts. CTest runs this program
// under several time zones with daylight saving (TALVEX_DST_ZONE names the zone
// set in TZ), where a conversion through local time would move times of day on
// the switch days.
class DateTimeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QByteArray zone = qgetenv("TALVEX_DST_ZONE");
        if (zone.isEmpty())
            return;
        // Guard against a run that only believes it is in the zone: winter and
        // summer must differ in their offset.
        QCOMPARE(QTimeZone::systemTimeZoneId(), zone);
        const QDateTime winter(QDate(2024, 1, 15), QTime(12, 0));
        const QDateTime summer(QDate(2024, 7, 15), QTime(12, 0));
        QVERIFY(winter.offsetFromUtc() != summer.offsetFromUtc());
    }

    void texts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("epoch+1") << 1.0 << u"1899-12-31"_s;
        QTest::newRow("date") << 46361.0 << u"2026-12-05"_s;
        QTest::newRow("noon") << 46361.5 << u"2026-12-05 12:00:00"_s;
        QTest::newRow("last second") << 46361.0 + 86399.0 / 86400.0 << u"2026-12-05 23:59:59"_s;
        QTest::newRow("empty") << 0.0 << QString();
    }

    void texts()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Rt::DateTime::toText(value), text);
        if (!text.isEmpty())
            QCOMPARE(Rt::DateTime::parse(text), std::optional(value));
    }

    // What users type, statements carry and databases return, in one table: the
    // date set, the loader and the dialect all read texts through this parser.
    void forms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reads"); // toText of the value, or "-" for refused
        QTest::newRow("date") << u"2024-03-05"_s << u"2024-03-05"_s;
        QTest::newRow("short month and day") << u"2024-3-5"_s << u"2024-03-05"_s;
        QTest::newRow("blanks around") << u"  2024-03-05 "_s << u"2024-03-05"_s;
        QTest::newRow("minutes") << u"2024-03-05 08:30"_s << u"2024-03-05 08:30:00"_s;
        QTest::newRow("seconds") << u"2024-03-05 08:30:15"_s << u"2024-03-05 08:30:15"_s;
        QTest::newRow("T") << u"2024-03-05T08:30:15"_s << u"2024-03-05 08:30:15"_s;
        QTest::newRow("fraction") << u"2024-03-05 08:30:15.250"_s << u"2024-03-05 08:30:15"_s;
        QTest::newRow("one-digit hour") << u"2024-03-05 8:30"_s << u"2024-03-05 08:30:00"_s;
        QTest::newRow("midnight") << u"2024-03-05 00:00:00"_s << u"2024-03-05"_s;
        QTest::newRow("no such day") << u"2026-02-30"_s << u"-"_s;
        QTest::newRow("no such month") << u"2024-13-01"_s << u"-"_s;
        QTest::newRow("hour 24") << u"2024-03-05 24:00"_s << u"-"_s;
        QTest::newRow("minute 60") << u"2024-03-05 08:60"_s << u"-"_s;
        QTest::newRow("one-digit minute") << u"2024-03-05 08:5"_s << u"-"_s;
        QTest::newRow("day first") << u"05/12/2026"_s << u"-"_s;
        QTest::newRow("two-digit year") << u"24-03-05"_s << u"-"_s;
        QTest::newRow("trailing text") << u"2024-03-05x"_s << u"-"_s;
        QTest::newRow("unfinished") << u"2024-03-"_s << u"-"_s;
        QTest::newRow("empty") << QString() << u"-"_s;
    }

    void forms()
    {
        QFETCH(QString, text);
        QFETCH(QString, reads);
        const std::optional<double> fromText = Rt::DateTime::parse(text);
        const QByteArray utf8 = text.toUtf8();
        const std::optional<double> fromBytes =
            Rt::DateTime::parse(std::string_view(utf8.constData(), size_t(utf8.size())));
        QCOMPARE(fromBytes, fromText);
        if (reads == u"-"_s)
            QVERIFY(!fromText);
        else
            QCOMPARE(Rt::DateTime::toText(fromText.value()), reads);
        // The date form alone: only texts without a time of day.
        const bool dateOnlyText = reads != u"-"_s && !text.contains(u':');
        QCOMPARE(Rt::DateTime::parseDate(text).has_value(), dateOnlyText);
    }

    // Dates as people type them into a box; month and day alone mean this year.
    void typedDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid for refused
        QTest::newRow("dashes") << u"2026-12-06"_s << QDate(2026, 12, 6);
        QTest::newRow("short dashes") << u"2026-2-6"_s << QDate(2026, 2, 6);
        QTest::newRow("slashes") << u"2026/12/6"_s << QDate(2026, 12, 6);
        QTest::newRow("eight digits") << u"20261206"_s << QDate(2026, 12, 6);
        QTest::newRow("month-day") << u"12-06"_s << QDate(1999, 12, 6);
        QTest::newRow("month/day") << u"2/9"_s << QDate(1999, 2, 9);
        QTest::newRow("four digits") << u"1206"_s << QDate(1999, 12, 6);
        QTest::newRow("blanks around") << u" 1206 "_s << QDate(1999, 12, 6);
        QTest::newRow("no such day") << u"2026-12-32"_s << QDate();
        QTest::newRow("no such day, digits") << u"20260230"_s << QDate();
        QTest::newRow("no such day this year") << u"0229"_s << QDate();
        QTest::newRow("no such month") << u"1306"_s << QDate();
        QTest::newRow("mixed separators") << u"2026-12/06"_s << QDate();
        QTest::newRow("six digits") << u"261206"_s << QDate();
        QTest::newRow("three digits") << u"126"_s << QDate();
        QTest::newRow("time of day") << u"2026-12-06 08:00"_s << QDate();
        QTest::newRow("unfinished") << u"2026-12-"_s << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }

    void typedDates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        // 1999 has no 29 February.
        QCOMPARE(Rt::DateTime::parseTypedDate(text, 1999).value_or(QDate()), date);
    }

    void typedTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("time"); // invalid for refused
        QTest::newRow("four digits") << u"0800"_s << QTime(8, 0);
        QTest::newRow("three digits") << u"800"_s << QTime(8, 0);
        QTest::newRow("colon") << u"8:00"_s << QTime(8, 0);
        QTest::newRow("two-digit hour, colon") << u"08:00"_s << QTime(8, 0);
        QTest::newRow("hour") << u"8"_s << QTime(8, 0);
        QTest::newRow("two-digit hour") << u"17"_s << QTime(17, 0);
        QTest::newRow("afternoon colon") << u"17:30"_s << QTime(17, 30);
        QTest::newRow("afternoon digits") << u"1730"_s << QTime(17, 30);
        QTest::newRow("last minute") << u"2359"_s << QTime(23, 59);
        QTest::newRow("hour 25") << u"2500"_s << QTime();
        QTest::newRow("hour 24") << u"24"_s << QTime();
        QTest::newRow("minute 75") << u"0875"_s << QTime();
        QTest::newRow("one-digit minute") << u"8:5"_s << QTime();
        QTest::newRow("three-digit hour") << u"123:00"_s << QTime();
        QTest::newRow("five digits") << u"08000"_s << QTime();
        QTest::newRow("dot") << u"8.30"_s << QTime();
        QTest::newRow("colon only") << u":30"_s << QTime();
        QTest::newRow("empty") << QString() << QTime();
    }

    void typedTimes()
    {
        QFETCH(QString, text);
        QFETCH(QTime, time);
        QCOMPARE(Rt::DateTime::parseTypedTime(text).value_or(QTime()), time);
    }

    // Every minute of the days daylight saving starts and ends, in both zones
    // tested, reads back as the same wall-clock time: through the text form, and
    // from a local QDateTime where that time exists locally.
    void switchDaysKeepTheTimeOfDay_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::newRow("Europe spring") << QDate(2024, 3, 31);
        QTest::newRow("Europe autumn") << QDate(2024, 10, 27);
        QTest::newRow("America spring") << QDate(2024, 3, 10);
        QTest::newRow("America autumn") << QDate(2024, 11, 3);
    }

    void switchDaysKeepTheTimeOfDay()
    {
        QFETCH(QDate, day);
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const QTime time(minute / 60, minute % 60);
            const QString text = day.toString(u"yyyy-MM-dd") + u' ' + time.toString(u"HH:mm:ss");
            const std::optional<double> value = Rt::DateTime::parse(text);
            QVERIFY(value);
            const QDateTime back = Rt::DateTime::toDateTime(*value);
            QCOMPARE(back.date(), day);
            QCOMPARE(back.time(), time);
            if (minute > 0)
                QCOMPARE(Rt::DateTime::toText(*value), text);
            const QDateTime local(day, time);
            if (local.isValid() && local.time() == time)
                QCOMPARE(Rt::DateTime::fromDateTime(local), *value);
        }
    }

    void millisecondsRoundToTheNearest()
    {
        const double almostMidnight = 45000.0 + (86400000.0 - 0.4) / 86400000.0;
        QCOMPARE(Rt::DateTime::toDate(almostMidnight), QDate(2023, 3, 16));
        QVERIFY(Rt::DateTime::isDateOnly(almostMidnight));
        QVERIFY(!Rt::DateTime::isDateOnly(45000.0 + 1.0 / 86400.0));
    }
};

QTEST_GUILESS_MAIN(DateTimeTest)
#include "tst_datetime.moc"
