// The exchange editor over the real host and the fixture database.

#include "EditorDriver.h"
#include "HostFixture.h"
#include "RecordingHost.h"

#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "schedule/EffectiveSchedule.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/project/HostFactory.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Four period times written in one text, "08:00 12:00 13:00 17:30".
QStringList periods(const QString &times)
{
    return times.split(u' ');
}

const QStringList unset = periods(u"00:00 00:00 00:00 00:00"_s);
const QStringList dayShift = periods(u"08:00 12:00 13:00 17:30"_s);

// The stored exchange's columns, as the list would read them.
QStringList storedRow(Database &db, const QString &where)
{
    const std::unique_ptr<TDataSet> rows(db.openQuery(
        u"select EmployeeCode, ExchgDate, period1Beg, period1End, period2Beg, period2End, "
        "SubClassType, WorkTime, WorkFlag, ExchgType, ExchgeReason, OptorCode, Remark "
        "from Kq_ExchangeClass where "_s
        + where));
    QStringList values;
    for (int f = 0; !rows->isEmpty() && f < rows->fieldCount(); ++f)
        values << rows->asString(0, f);
    return values;
}

QString count(Database &db, const QString &where)
{
    return db.queryValue(u"select count(1) from Kq_ExchangeClass where "_s + where);
}

// Opens the editor as the list window's commands do and drives it.
bool runEditor(const QString &id, const std::function<void(OpenEditor &)> &drive,
               bool *opened = nullptr)
{
    bool saved = false;
    driveEditor(
        [&] { saved = ShowKqExchgClassEdt(id.isEmpty() ? u"新增调班"_s : u"修改调班"_s, id); },
        drive, opened);
    return saved;
}

// Puts the focus into box as an operator would: a click into it, Tab from the
// control before it, Shift+Tab from the one after it.
void focusByHand(QWidget *box, const QString &how, QWidget *before, QWidget *after)
{
    if (how == u"click") {
        // A time box's text is a line edit of its own.
        auto *spinBox = qobject_cast<QAbstractSpinBox *>(box);
        QWidget *target = spinBox ? spinBox->findChild<QLineEdit *>() : box;
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(target->width() / 2, target->height() / 2));
    } else if (how == u"tab") {
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Tab);
    } else {
        after->setFocus();
        QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    }
}

const QStringList focusWays = {u"click"_s, u"tab"_s, u"backtab"_s};
// The plan rows of the employees, numbered in that order, as the schedule reads them.
std::vector<Schedule::PlanDay> planRows(Database &db, const QStringList &employees)
{
    const std::unique_ptr<TDataSet> rows(db.openQuery(
        u"select employeecode, WorkDate, period1Beg, period1end, period2Beg, period2end, "
        "ClassType, ClassID, SubClassNo from Kq_WorkPlan"_s));
    std::vector<Schedule::PlanDay> plan;
    for (int r = 0; r < rows->recordCount(); ++r) {
        const auto text = [&](int field) { return rows->asString(r, field); };
        plan.push_back({int(employees.indexOf(text(0))), *Rt::DateTime::parseDate(text(1)),
                        Schedule::periodsFromTexts(text(2), text(3), text(4), text(5)),
                        text(6).toInt(), text(7), text(8).toInt()});
    }
    return plan;
}

std::vector<Schedule::CycleDay> cycleRows(Database &db)
{
    const std::unique_ptr<TDataSet> rows(
        db.openQuery(u"select ClassID, SubClassNo, period1Beg, period1end, period2Beg, period2end "
                     "from Kq_ClassDetail"_s));
    std::vector<Schedule::CycleDay> cycles;
    for (int r = 0; r < rows->recordCount(); ++r) {
        const auto text = [&](int field) { return rows->asString(r, field); };
        cycles.push_back({text(0), text(1).toInt(),
                          Schedule::periodsFromTexts(text(2), text(3), text(4), text(5))});
    }
    return cycles;
}

} // namespace

class EditorTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The planned periods: the plan's own row for the day, or the last rotating
    // shift carried forward through its cycle.
    void plannedTimes_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QStringList>("planned");
        const QStringList early = periods(u"06:00 14:00 00:00 00:00"_s);
        const QStringList late = periods(u"14:00 22:00 00:00 00:00"_s);
        QTest::newRow("planned day itself") << u"E001"_s << u"2026-11-29"_s << dayShift;
        QTest::newRow("planned rest day itself") << u"E001"_s << u"2026-12-01"_s << unset;
        QTest::newRow("4-day shift: after position 4 comes 1")
            << u"E001"_s << u"2026-12-02"_s << dayShift;
        QTest::newRow("4-day shift: position 4 + 4 is 4") << u"E001"_s << u"2026-12-05"_s << unset;
        QTest::newRow("3-day shift: position 2 + 1 is 3") << u"E001"_s << u"2026-12-12"_s << unset;
        QTest::newRow("3-day shift: position 2 + 2 is 1") << u"E001"_s << u"2026-12-13"_s << early;
        QTest::newRow("3-day shift: position 2 + 3 is 2") << u"E001"_s << u"2026-12-14"_s << late;
        QTest::newRow("3-day shift across the year end") << u"E001"_s << u"2027-01-12"_s << early;
        QTest::newRow("2-day shift, ClassType 2 projected")
            << u"E002"_s << u"2026-11-05"_s << periods(u"07:00 15:00 00:00 00:00"_s);
        QTest::newRow("2-day shift, second position")
            << u"E002"_s << u"2026-11-06"_s << periods(u"15:00 23:00 00:00 00:00"_s);
        QTest::newRow("1-day shift")
            << u"E004"_s << u"2026-11-20"_s << periods(u"08:30 12:00 13:00 17:00"_s);
    }

    void plannedTimes()
    {
        QFETCH(QString, employee);
        QFETCH(QString, day);
        QFETCH(QStringList, planned);
        HostFixture host;
        TKqExchgClassEdtFrm form;
        form.LoadPlanTime(employee, day);
        QCOMPARE(OpenEditor{&form}.planned(), planned);
        QVERIFY(host.messages.isEmpty());
        // The lookup leaves what the user entered alone.
        QCOMPARE(OpenEditor{&form}.entered(), unset);
    }

    // Both questions ask whether to go on; "No" ends the exchange, in add mode by
    // closing the dialog, in modify mode by not opening it.
    void planQuestions_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("goOn");
        const QString noPlan = u"此员工在%1之前无排班,还需要继续调班吗?"_s;
        const QString irregular = u"此员工在2026-12-02之前为无规则排班,还需要继续调班吗?"_s;
        for (const bool goOn : {true, false}) {
            const char *answer = goOn ? "yes" : "no";
            QTest::addRow("add, no plan, %s", answer) << QString() << u"10001"_s << u"2026-11-27"_s
                                                      << noPlan.arg(u"2026-11-27"_s) << goOn;
            QTest::addRow("add, irregular, %s", answer)
                << QString() << u"HT10002"_s << u"2026-12-02"_s << irregular << goOn;
            QTest::addRow("modify, no plan, %s", answer)
                << u"4"_s << QString() << QString() << noPlan.arg(u"2026-12-04"_s) << goOn;
            QTest::addRow("modify, irregular, %s", answer)
                << u"3"_s << QString() << QString() << irregular << goOn;
        }
    }

    void planQuestions()
    {
        QFETCH(QString, id);
        QFETCH(QString, employee);
        QFETCH(QString, day);
        QFETCH(QString, question);
        QFETCH(bool, goOn);
        HostFixture host;
        host.answer = goOn ? Rt::Answer::Yes : Rt::Answer::No;
        bool openAfterAnswer = false;
        QStringList planned;
        bool opened = false;
        runEditor(
            id,
            [&](OpenEditor &e) {
                if (!employee.isEmpty()) {
                    e.setDay(*Rt::DateTime::parseDate(day));
                    e.pick(employee);
                }
                openAfterAnswer = e.isOpen();
                planned = e.planned();
            },
            &opened);

        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, question);
        QCOMPARE(host.messages[0].buttons, Rt::Buttons::YesNo);
        if (id.isEmpty()) {
            QVERIFY(opened);
            QCOMPARE(openAfterAnswer, goOn);
            QCOMPARE(planned, unset);
        } else {
            QCOMPARE(opened, goOn);
            if (goOn)
                QCOMPARE(planned, unset);
        }
    }

    // A shift that lost its cycle rows ends the lookup with a message; the planned
    // times stay as they were.
    void shiftWithoutCycleRows()
    {
        HostFixture host;
        TKqExchgClassEdtFrm form;
        form.LoadPlanTime(u"E001"_s, u"2026-11-29"_s);
        QVERIFY_THROWS_EXCEPTION(Rt::Abort, form.LoadPlanTime(u"E005"_s, u"2026-10-01"_s));
        QCOMPARE(host.raisedErrors, QStringList{u"以前排班有误，原因可能是班次被删除！"_s});
        QCOMPARE(OpenEditor{&form}.planned(), dayShift);
    }

    // A host that hands over a position or a cycle length as text which is no
    // number: the lookup says so instead of failing on the conversion.
    void planNumbersThatAreNoNumbers_data()
    {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("error");
        QTest::newRow("position") << u"'x'"_s << QString()
                                  << u"以前排班有误，班次序号[x]不是数字！"_s;
        QTest::newRow("empty position")
            << u"''"_s << QString() << u"以前排班有误，班次序号[]不是数字！"_s;
        QTest::newRow("cycle length")
            << u"'4'"_s << u"abc"_s << u"以前排班有误，班次[BC4]的天数[abc]不是数字！"_s;
    }

    void planNumbersThatAreNoNumbers()
    {
        QFETCH(QString, position);
        QFETCH(QString, length);
        QFETCH(QString, error);
        Fixture fixture;
        RecordingHost recorder;
        recorder.openQuery = [&](const QString &sql) {
            if (!sql.contains(u"Max(WorkDate)"_s))
                return fixture.db().openQuery(sql);
            return fixture.db().openQuery(u"select WorkDate, ClassType, ClassID, "_s + position
                                          + u" as SubClassNo from Kq_WorkPlan where "
                                            "employeecode='E001' and WorkDate='2026-12-01'"_s);
        };
        recorder.queryValue = [&](const QString &sql) {
            return !length.isEmpty() && sql.startsWith(u"select count(*) from Kq_ClassDetail"_s)
                       ? length
                       : fixture.db().queryValue(sql);
        };
        HostFactory = recorder.factory();
        TKqExchgClassEdtFrm form;
        QVERIFY_THROWS_EXCEPTION(Rt::Abort, form.LoadPlanTime(u"E001"_s, u"2026-12-02"_s));
        HostFactory.reset();
        QCOMPARE(recorder.calls.filter(u"RaiseError"_s),
                 QStringList{u"RaiseError(%1, 0)"_s.arg(error)});
        QCOMPARE(OpenEditor{&form}.planned(), unset);
    }

    // The editor's lookup and the schedule library agree on every day around the
    // fixture's plans: the same periods, and nothing where the editor asks or
    // refuses (no plan, an irregular schedule, a deleted shift).
    void plannedTimesAgreeWithTheSchedule()
    {
        HostFixture host;
        host.answer = Rt::Answer::Yes;
        const QStringList employees = {u"E001"_s, u"E002"_s, u"E003"_s, u"E004"_s, u"E005"_s};
        const Schedule::DateRange range{QDate(2026, 9, 15), QDate(2027, 1, 15)};
        const std::vector<Schedule::PlanDay> plan = planRows(host.db(), employees);
        const std::vector<Schedule::CycleDay> cycles = cycleRows(host.db());
        const Schedule::Grid grid =
            Schedule::effectiveSchedule({range, int(employees.size()), plan, {}, cycles});

        TKqExchgClassEdtFrm form;
        for (int e = 0; e < employees.size(); ++e) {
            for (int d = 0; d < grid.dayCount(); ++d) {
                const QString day = range.first.addDays(d).toString(Qt::ISODate);
                const Schedule::Cell &cell = grid.at(e, d);
                host.messages.clear();
                bool refused = false;
                try {
                    form.LoadPlanTime(employees[e], day);
                } catch (const Rt::Abort &) {
                    refused = true;
                }
                const QString where = employees[e] + u' ' + day;
                if (refused || !host.messages.isEmpty()) {
                    QVERIFY2(cell.plannedSource == Schedule::Source::None, qPrintable(where));
                    continue;
                }
                const Schedule::Periods &p = cell.planned;
                const QStringList expected = {
                    Schedule::clockText(p.period1Beg), Schedule::clockText(p.period1End),
                    Schedule::clockText(p.period2Beg), Schedule::clockText(p.period2End)};
                QVERIFY2(OpenEditor{&form}.planned() == expected, qPrintable(where));
            }
        }
    }

    // Closing the calendar looks the plan up again; typing a date does not.
    void calendarCloseUpLooksThePlanUp()
    {
        HostFixture host;
        runEditor(QString(), [&](OpenEditor &e) {
            auto *date = e.child<TcxDateEdit>(u"edtExchgDate"_s);
            Q_EMIT date->closeUp();
            QCoreApplication::processEvents();
            QCOMPARE(host.raisedErrors, QStringList{u"请选择需调班人员"_s});
            QCOMPARE(e.planned(), unset);

            e.setDay(QDate(2026, 11, 29));
            e.pick(u"10001"_s);
            QCOMPARE(e.planned(), dayShift);
            e.setDay(QDate(2026, 12, 12));
            QCOMPARE(e.planned(), dayShift);
            Q_EMIT date->closeUp();
            QCoreApplication::processEvents();
            QCOMPARE(e.planned(), unset);
        });
    }

    // Periods entered over the stored exchange 2 (E001, 2026-12-03). The minutes
    // follow as typed, negative across midnight. Each refusal: the first broken
    // rule speaks, nothing is written and the dialog stays open.
    void validation_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("refusal");
        const QString overlapBegin = u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
        const QString period2Backwards = u"时段二开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 not set passes")
            << periods(u"08:00 12:00 00:00 00:00"_s) << u"240"_s << QString();
        QTest::newRow("one minute passes")
            << periods(u"23:58 23:59 00:00 00:00"_s) << u"1"_s << QString();
        QTest::newRow("equal times pass")
            << periods(u"08:00 08:00 08:00 08:00"_s) << u"0"_s << QString();
        QTest::newRow("only period 2 end, period 1 not set passes")
            << periods(u"00:00 00:00 00:00 10:00"_s) << u"600"_s << QString();
        QTest::newRow("period 1 crosses midnight")
            << periods(u"22:00 06:00 00:00 00:00"_s) << u"-960"_s
            << u" 时段一开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 begins inside period 1")
            << periods(u"08:00 12:00 11:00 17:00"_s) << u"600"_s << overlapBegin;
        QTest::newRow("period 2 ends before it begins, after overlaps pass")
            << periods(u"08:00 12:00 13:00 12:30"_s) << u"210"_s << period2Backwards;
        QTest::newRow("period 2 ends inside period 1")
            << periods(u"08:00 12:00 13:00 11:30"_s) << u"150"_s
            << u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
        QTest::newRow("period 2 end set, begin not")
            << periods(u"08:00 12:00 00:00 10:00"_s) << u"840"_s << overlapBegin;
        QTest::newRow("period 2 ends at midnight")
            << periods(u"08:00 12:00 13:00 00:00"_s) << u"-540"_s << period2Backwards;
    }

    void validation()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, minutes);
        QFETCH(QString, refusal);
        HostFixture host;
        bool openAfterOk = false;
        QString shownMinutes;
        QStringList enteredAfterOk;
        const bool saved = runEditor(u"2"_s, [&](OpenEditor &e) {
            e.enter(times);
            shownMinutes = e.workTime();
            e.ok();
            openAfterOk = e.isOpen();
            enteredAfterOk = e.entered();
        });
        QCOMPARE(shownMinutes, minutes);
        const QStringList stored = storedRow(host.db(), u"ID=2"_s);
        if (refusal.isEmpty()) {
            QVERIFY(host.raisedErrors.isEmpty());
            QVERIFY(saved);
            QCOMPARE(stored.mid(2, 4), times);
            QCOMPARE(stored.at(7), minutes);
        } else {
            QCOMPARE(host.raisedErrors, QStringList{refusal});
            QVERIFY(!saved);
            QVERIFY(openAfterOk);
            QCOMPARE(enteredAfterOk, times);
            QCOMPARE(stored.mid(2, 4), (periods(u"09:00 12:00 13:00 18:00"_s)));
        }
    }

    // The periods of exchange 2 (09:00 12:00 13:00 18:00) typed over, each box
    // reached by hand, and saved with Alt+O, which leaves the focus in the last
    // box: what was typed there still counts. The minutes follow every accepted
    // time; a refused time leaves the box at its value, marked, and that value is
    // saved, never 00:00.
    void typedPeriodsAreSaved_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<bool>("refused");
        const QStringList stored = periods(u"09:00 12:00 13:00 18:00"_s);
        for (const QString &focus : focusWays) {
            const auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s, %s", qPrintable(focus), name) << focus;
            };
            row("four digits") << periods(u"0800 1200 1300 1730"_s) << dayShift << u"510"_s
                               << false;
            row("three digits, hours")
                << periods(u"800 12 13 1730"_s) << dayShift << u"510"_s << false;
            row("colons") << periods(u"8:00 12:00 13:00 17:30"_s) << dayShift << u"510"_s << false;
            row("two-digit colons")
                << periods(u"08:00 12:00 13:00 17:30"_s) << dayShift << u"510"_s << false;
            row("hours alone") << periods(u"8 12 13 17"_s) << periods(u"08:00 12:00 13:00 17:00"_s)
                               << u"480"_s << false;
            row("impossible") << periods(u"2500 0875 24 8:7"_s) << stored << u"540"_s << true;
        }
    }

    void typedPeriodsAreSaved()
    {
        QFETCH(QString, focus);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, saved);
        QFETCH(QString, minutes);
        QFETCH(bool, refused);
        HostFixture host;
        QStringList shown;
        QString shownMinutes;
        QList<bool> marked;
        const bool ok = runEditor(u"2"_s, [&](OpenEditor &e) {
            QVERIFY(QTest::qWaitForWindowActive(e.form));
            // Tab goes through the boxes forwards, Shift+Tab backwards.
            const int order[] = {5, 6, 7, 8};
            for (int i = 0; i < 4; ++i) {
                const int n = focus == u"backtab" ? order[3 - i] : order[i];
                auto *box = e.child<TcxTimeEdit>(u"cxTimeEdit%1"_s.arg(n));
                auto *before = e.child(u"cxTimeEdit%1"_s.arg(n - 1));
                QWidget *after =
                    n == 8 ? e.child(u"cxCheckBox1"_s) : e.child(u"cxTimeEdit%1"_s.arg(n + 1));
                focusByHand(box, focus, before, after);
                QVERIFY(box->hasFocus());
                QTest::keyClicks(QApplication::focusWidget(), typed.at(n - 5));
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(!e.isOpen());
            shown = e.entered();
            shownMinutes = e.workTime();
            for (int n = 5; n <= 8; ++n)
                marked << e.child<TcxTimeEdit>(u"cxTimeEdit%1"_s.arg(n))->isInputRefused();
        });
        QVERIFY(ok);
        QCOMPARE(shown, saved);
        QCOMPARE(shownMinutes, minutes);
        QCOMPARE(marked, QList<bool>(4, refused));
        const QStringList stored = storedRow(host.db(), u"ID=2"_s);
        QCOMPARE(stored.mid(2, 4), saved);
        QCOMPARE(stored.at(7), minutes);
    }

    // The day typed over exchange 2's, the box reached by hand. A day that does
    // not exist is refused in the box and the exchange keeps its day: the
    // statement never carries it, so the database has nothing to refuse.
    void typedDayIsSaved_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("refused");
        const QString thisYear = QString::number(QDate::currentDate().year());
        for (const QString &focus : focusWays) {
            const auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s, %s", qPrintable(focus), name) << focus;
            };
            row("dashes") << u"2026-12-06"_s << u"2026-12-06"_s << false;
            row("digits") << u"20261207"_s << u"2026-12-07"_s << false;
            row("slashes") << u"2026/12/8"_s << u"2026-12-08"_s << false;
            row("month-day") << u"12-09"_s << thisYear + u"-12-09"_s << false;
            row("month and day digits") << u"1210"_s << thisYear + u"-12-10"_s << false;
            row("day 32") << u"2026-12-32"_s << u"2026-12-03"_s << true;
            row("day 32, digits") << u"20261232"_s << u"2026-12-03"_s << true;
            row("month 13") << u"13-01"_s << u"2026-12-03"_s << true;
        }
    }

    void typedDayIsSaved()
    {
        QFETCH(QString, focus);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(bool, refused);
        HostFixture host;
        bool marked = false;
        QString shown;
        const bool ok = runEditor(u"2"_s, [&](OpenEditor &e) {
            QVERIFY(QTest::qWaitForWindowActive(e.form));
            auto *box = e.child<TcxDateEdit>(u"edtExchgDate"_s);
            // The employee box before the day is locked in modify mode: Tab comes
            // from whichever control Shift+Tab leads to.
            auto *reason = e.child(u"cxExchgeReason"_s);
            if (focus == u"tab") {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } else {
                focusByHand(box, focus, nullptr, reason);
            }
            QVERIFY(box->hasFocus());
            QCOMPARE(box->selectedText(), u"2026-12-03"_s);
            QTest::keyClicks(box, typed);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
            shown = box->text();
            marked = box->isInputRefused();
            QTRY_VERIFY(!e.isOpen());
        });
        QVERIFY(ok);
        QCOMPARE(shown, saved);
        QCOMPARE(marked, refused);
        QVERIFY2(host.log.latest().isEmpty(), qPrintable(host.log.latest().join(u'\n')));
        QCOMPARE(storedRow(host.db(), u"ID=2"_s).at(1), saved);
    }

    void oneExchangePerEmployeeAndDay()
    {
        HostFixture host;
        const QString taken = u" 该员工这天已有调班记录，请核实!"_s;
        // A second one for a day that has one.
        bool saved = runEditor(QString(), [](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 3));
            e.pick(u"10001"_s);
            e.ok();
        });
        QVERIFY(!saved);
        // Moved onto the day of exchange 1.
        saved = runEditor(u"2"_s, [](OpenEditor &e) {
            e.setDay(QDate(2026, 11, 20));
            e.ok();
        });
        QVERIFY(!saved);
        QCOMPARE(host.raisedErrors, (QStringList{taken, taken}));
        QCOMPARE(count(host.db(), u"EmployeeCode='E001'"_s), u"2"_s);
    }

    // The whole way from the pick to the stored row, quotes and a long reason
    // included.
    void addWritesTheExchange_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("remark");
        QTest::newRow("plain") << u"培训"_s << u"无"_s;
        QTest::newRow("quotes") << u"O'Neil's \"day\"'); delete Kq_ExchangeClass; --"_s << u"'"_s;
        QTest::newRow("2,000 characters") << QString(1999, u'调') + u'\'' << u"行一\n行二"_s;
    }

    void addWritesTheExchange()
    {
        QFETCH(QString, reason);
        QFETCH(QString, remark);
        HostFixture host;
        int savedSignals = 0;
        QObject::connect(&host.session, &HostSession::dataSaved, [&] { ++savedSignals; });
        QStringList planned;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            QCOMPARE(e.child<TcxButtonEdit>(u"edtPersonName"_s)->text(), u"10001"_s);
            QCOMPARE(e.child<TcxTextEdit>(u"edtEmployeeName"_s)->text(), u"王芳"_s);
            QCOMPARE(e.child<TcxImageComboBox>(u"cbbdeptname"_s)->currentText(), u"一车间甲班"_s);
            planned = e.planned();
            e.enter(periods(u"09:00 12:00 13:00 18:30"_s));
            e.setReason(reason);
            e.setRemark(remark);
            e.ok();
        });
        QVERIFY(saved);
        QCOMPARE(planned, dayShift);
        QCOMPARE(savedSignals, 1);
        QCOMPARE(
            storedRow(host.db(), u"ID=6"_s),
            (QStringList{u"E001"_s, u"2026-12-02"_s, u"09:00"_s, u"12:00"_s, u"13:00"_s, u"18:30"_s,
                         u"0"_s, u"510"_s, u"1"_s, u"1"_s, reason, u"admin"_s, remark}));
        QCOMPARE(host.db().nativeValue(u"SELECT CREATE_TIME IS NOT NULL AND MODIFIED_TIME IS NULL "
                                       "AND period3Beg IS NULL AND deleted IS NULL "
                                       "FROM Kq_ExchangeClass WHERE ID = 6"_s),
                 u"1"_s);

        // Opened again, the texts come back as they were typed, and an update
        // writes them back unchanged.
        QString loadedReason;
        QVERIFY(runEditor(u"6"_s, [&](OpenEditor &e) {
            loadedReason = e.reason();
            e.ok();
        }));
        QCOMPARE(loadedReason, reason);
        QCOMPARE(storedRow(host.db(), u"ID=6"_s).mid(10),
                 (QStringList{reason, u"admin"_s, remark}));
    }

    // Ticking the box clears and locks the periods; saved, it is a rest day.
    void restDaySavesARestDay()
    {
        HostFixture host;
        QVERIFY(runEditor(QString(), [](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            e.enter(dayShift);
            e.tickRestDay();
            QCOMPARE(e.entered(), unset);
            QCOMPARE(e.workTime(), u"0"_s);
            QVERIFY(!e.child(u"cxTimeEdit5"_s)->isEnabled());
            e.tickRestDay();
            QVERIFY(e.child(u"cxTimeEdit8"_s)->isEnabled());
            e.tickRestDay();
            e.ok();
        }));
        QCOMPARE(storedRow(host.db(), u"ID=6"_s).mid(2, 8).join(u' '),
                 u"00:00 00:00 00:00 00:00 0 0 0 0"_s);
    }

    // Modify mode loads the record with the employee locked; the update writes
    // what was changed and who changed it.
    void modifyLoadsAndUpdatesTheRecord()
    {
        HostFixture host(u"clerk"_s);
        host.answer = Rt::Answer::Yes;
        const bool saved = runEditor(u"4"_s, [&](OpenEditor &e) {
            QCOMPARE(e.form->windowTitle(), u"修改调班"_s);
            QVERIFY(e.child<TcxCheckBox>(u"cxCheckBox1"_s)->isChecked());
            QVERIFY(!e.child(u"cxTimeEdit5"_s)->isEnabled());
            QCOMPARE(e.child<TcxButtonEdit>(u"edtPersonName"_s)->text(), u"李明"_s);
            QVERIFY(!e.child(u"edtPersonName"_s)->isEnabled());
            QCOMPARE(e.reason(), u"加班补休"_s);
            QCOMPARE(e.child<TcxDateEdit>(u"edtExchgDate"_s)->text(), u"2026-12-04"_s);
            // E003 has no plan: the question came, answered Yes.
            QCOMPARE(host.messages.size(), 1);
            QCOMPARE(e.planned(), unset);
            e.tickRestDay();
            e.enter(periods(u"10:00 15:00 00:00 00:00"_s));
            e.setDay(QDate(2026, 12, 5));
            e.ok();
        });
        QVERIFY(saved);
        QCOMPARE(storedRow(host.db(), u"ID=4"_s).join(u'|'),
                 u"E003|2026-12-05|10:00|15:00|00:00|00:00|0|300|1|1|加班补休|clerk|"_s);
        QCOMPARE(host.db().nativeValue(
                     u"SELECT MODIFIED_TIME IS NOT NULL FROM Kq_ExchangeClass WHERE ID = 4"_s),
                 u"1"_s);
    }

    // The picker finds every employee, as the module asks; the database refuses
    // the clerk's exchange for one outside his branch, and the editor stays
    // open with what he typed.
    void databaseRefusesAnEmployeeOutsideTheScope()
    {
        if (TestDatabase::backend() == DbBackend::PostgreSql)
            QSKIP("the server's row-level security refuses this; its tests are the server's own");
        HostFixture host(u"clerk"_s);
        host.answer = Rt::Answer::Yes;
        bool openAfterOk = false;
        QString picked;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            e.setDay(QDate(2026, 11, 29));
            e.pick(u"10001"_s);
            picked = e.child<TcxTextEdit>(u"edtEmployeeName"_s)->text();
            e.setReason(u"家中有事"_s);
            e.ok();
            openAfterOk = e.isOpen();
        });
        QCOMPARE(picked, u"王芳"_s);
        QVERIFY(!saved);
        QVERIFY(openAfterOk);
        QCOMPARE(count(host.db(), u"1=1"_s), u"5"_s);
        QVERIFY2(host.log.latest().join(u'\n').contains(
                     OperatorMessage::forFailure(DbFailure::OutsideScope)),
                 qPrintable(host.log.latest().join(u'\n')));
    }

    // No exchange is saved for nobody (without a pick, or after typing over one),
    // nor for no day.
    void okNeedsAnEmployeeAndADay()
    {
        HostFixture host;
        QString nameAfterTyping;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            e.ok();
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            auto *box = e.child<TcxButtonEdit>(u"edtPersonName"_s);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, u"2"_s);
            nameAfterTyping = e.child<TcxTextEdit>(u"edtEmployeeName"_s)->text();
            e.ok();
            e.pick(u"10001"_s);
            e.setDay(QDate());
            e.ok();
        });
        QVERIFY(!saved);
        QVERIFY(nameAfterTyping.isEmpty());
        const QString noEmployee = u"请选择需调班人员"_s;
        QCOMPARE(host.raisedErrors, (QStringList{noEmployee, noEmployee, u"请选择调班时间"_s}));
        QCOMPARE(count(host.db(), u"1=1"_s), u"5"_s);
    }

    void cancelPickChangesNothing()
    {
        HostFixture host;
        runEditor(QString(), [](OpenEditor &e) {
            e.setDay(QDate(2026, 11, 29));
            e.pick(u"10001"_s);
            answerNextPicker(false);
            Q_EMIT e.child<TcxButtonEdit>(u"edtPersonName"_s)->buttonClick(0);
            QCOMPARE(e.child<TcxTextEdit>(u"edtEmployeeName"_s)->text(), u"王芳"_s);
            QCOMPARE(e.planned(), dayShift);
        });
        QVERIFY(host.raisedErrors.isEmpty());
    }

    // A record that is gone (or whose employee is) has no employee: the lookup
    // refuses and the dialog is never shown.
    void openingAVanishedRecord_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("error");
        QTest::newRow("no such record") << u"99"_s << u"请选择需调班人员"_s;
        QTest::newRow("not a record ID")
            << u"2 or 1=1"_s << u"调班记录编号[2 or 1=1]无效，无法修改！"_s;
    }

    void openingAVanishedRecord()
    {
        QFETCH(QString, id);
        QFETCH(QString, error);
        HostFixture host;
        bool opened = false;
        bool aborted = false;
        try {
            runEditor(
                id, [](OpenEditor &) {}, &opened);
        } catch (const Rt::Abort &) {
            aborted = true;
        }
        QVERIFY(aborted);
        QVERIFY(!opened);
        QCOMPARE(host.raisedErrors, QStringList{error});
    }

    void cancelAndEscapeSaveNothing()
    {
        HostFixture host;
        QVERIFY(!runEditor(u"2"_s, [](OpenEditor &e) {
            e.enter(dayShift);
            e.cancel();
        }));
        QVERIFY(!runEditor(u"2"_s, [](OpenEditor &e) {
            e.enter(dayShift);
            QTest::keyClick(e.form, Qt::Key_Escape);
            QVERIFY(!e.isOpen());
        }));
        QCOMPARE(storedRow(host.db(), u"ID=2"_s).mid(2, 4),
                 (periods(u"09:00 12:00 13:00 18:00"_s)));
    }

    // The host calls of a save in their order. The insert runs in a transaction
    // and removes the wait notice at its end; the update is one bare statement.
    // A failed save keeps the dialog open.
    void savesTalkToTheHostInOrder_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("insert saved")
            << QString() << u"true"_s
            << QStringList{u"BeginTrans()"_s, u"ExecSql"_s, u"CommitTrans()"_s,
                           u"NotifyDataSaved()"_s, u"HideWaitMessage()"_s};
        QTest::newRow("insert refused")
            << QString() << u"raise"_s
            << QStringList{u"BeginTrans()"_s, u"ExecSql"_s, u"RollbackTrans()"_s,
                           u"WriteErrorLog(保存数据失败!disk full, 0)"_s, u"HideWaitMessage()"_s};
        QTest::newRow("update saved")
            << u"2"_s << u"true"_s << QStringList{u"ExecSql"_s, u"NotifyDataSaved()"_s};
        QTest::newRow("update found nothing")
            << u"2"_s << u"false"_s
            << QStringList{u"ExecSql"_s, u"MessageBox(保存记录失败, 系统信息, 4)"_s};
        QTest::newRow("update refused")
            << u"2"_s << u"raise"_s
            << QStringList{u"ExecSql"_s, u"WriteErrorLog(保存记录失败！\r\ndisk full, 0)"_s};
    }

    void savesTalkToTheHostInOrder()
    {
        QFETCH(QString, id);
        QFETCH(QString, outcome);
        QFETCH(QStringList, calls);
        Fixture fixture;
        RecordingHost recorder;
        recorder.openQuery = [&](const QString &sql) { return fixture.db().openQuery(sql); };
        recorder.queryValue = [&](const QString &sql) { return fixture.db().queryValue(sql); };
        recorder.execSql = [outcome](const QString &) -> bool {
            if (outcome == u"raise"_s)
                throw Rt::DatabaseError(u"disk full"_s);
            return outcome == u"true"_s;
        };
        HostFactory = recorder.factory();
        Rt::setMessageBoxResponder([&recorder](const Rt::MessageBoxRequest &m) {
            recorder.calls << u"MessageBox(%1, %2, %3)"_s.arg(m.text, m.caption).arg(int(m.icon));
            return Rt::Answer::Yes;
        });
        qsizetype from = 0;
        bool openAfterOk = false;
        const bool saved = runEditor(id, [&](OpenEditor &e) {
            if (id.isEmpty()) {
                e.setDay(QDate(2026, 12, 2));
                e.pick(u"10001"_s);
            }
            from = recorder.calls.size();
            e.ok();
            openAfterOk = e.isOpen();
        });
        Rt::setMessageBoxResponder({});
        HostFactory.reset();
        QCOMPARE(saved, outcome == u"true"_s);
        QCOMPARE(openAfterOk, !saved);
        QStringList after = recorder.calls.mid(from);
        after.removeIf([](const QString &call) {
            return call.startsWith(u"QueryValue"_s) || call.startsWith(u"Get"_s);
        });
        for (QString &call : after) {
            if (call.startsWith(u"ExecSql"_s))
                call = u"ExecSql"_s;
        }
        QCOMPARE(after, calls);
    }
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
