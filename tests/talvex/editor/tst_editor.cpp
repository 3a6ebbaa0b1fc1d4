// The exchange editor over the real host and the fixture database.

#include "EditorDriver.h"
#include "HostFixture.h"
#include "RecordingHost.h"

#include "hostapp/db/SqliteDatabase.h"
#include "hostapp/services/WaitNotice.h"
#include "runtime/component.h"
#include "runtime/controls/cxcontrols.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "runtime/exceptions.h"
#include "talvex/base/framebottom2.h"
#include "talvex/editor/FrmKqExchgClassEdt.h"
#include "talvex/project/HostFactory.h"

#include <QPushButton>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList unset = {u"00:00"_s, u"00:00"_s, u"00:00"_s, u"00:00"_s};
const QStringList dayShift = {u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s};

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

// Another desk's write, made on its own connection at the moment this desk's
// connection begins its next write: after this desk's check, before its write.
// It watches SQLite's statement trace; on PostgreSQL the same race is run by two
// desk processes (tst_twohosts).
class OtherDeskWritesFirst
{
public:
    static bool staged() { return TestDatabase::backend() == DbBackend::Sqlite; }

    OtherDeskWritesFirst(Database &db, QString statement)
        : m_handle(dynamic_cast<SqliteDatabase &>(db).handle())
        , m_other(db.location())
        , m_statement(std::move(statement))
    {
        sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &traced, this);
    }
    ~OtherDeskWritesFirst() { sqlite3_trace_v2(m_handle, 0, nullptr, nullptr); }

    bool done() const { return m_done; }

private:
    static int traced(unsigned, void *context, void *, void *sql)
    {
        auto *self = static_cast<OtherDeskWritesFirst *>(context);
        if (!self->m_done && qstrncmp(static_cast<const char *>(sql), "BEGIN IMMEDIATE", 15) == 0) {
            self->m_done = true;
            self->m_other.execSql(self->m_statement);
        }
        return 0;
    }

    sqlite3 *m_handle;
    SqliteDatabase m_other;
    QString m_statement;
    bool m_done = false;
};

QString otherDeskInsert(const QString &day)
{
    return u"  begin insert into Kq_ExchangeClass (ID, EmployeeCode, ExchgDate, WorkTime, "
           "WorkFlag, ExchgType, ExchgeReason) values (SEQ_OCID.nextval, 'E001', to_date('"_s
           + day + u"','yyyy-mm-dd'), 0, 0, 0, '另一台'); end; "_s;
}

} // namespace

class EditorTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designedLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("exchange") << u"cxGroupBox2"_s << QRect(25, 6, 431, 131) << u"调班信息"_s;
        QTest::newRow("planned") << u"cxGroupBox3"_s << QRect(24, 138, 431, 101)
                                 << u"计划上班时间"_s;
        QTest::newRow("after") << u"cxGroupBox4"_s << QRect(24, 253, 433, 102)
                               << u"调班后上班时间"_s;
        QTest::newRow("rest day") << u"cxGroupBox5"_s << QRect(26, 363, 434, 52) << QString();
        QTest::newRow("remark") << u"cxGroupBox6"_s << QRect(24, 416, 435, 41) << u"说明"_s;
    }

    void designedLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        TKqExchgClassEdtFrm form;
        form.show();
        auto *box = form.findChild<TcxGroupBox *>(name);
        QVERIFY(box);
        QCOMPARE(box->geometry(), geometry);
        QCOMPARE(box->caption(), caption);
    }

    void dialogFrameAndControls()
    {
        TKqExchgClassEdtFrm form;
        form.show();
        QCOMPARE(form.size(), QSize(481, 572));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        OpenEditor editor{&form};
        QCOMPARE(editor.child(u"Frame21"_s)->height(), 45);
        QCOMPARE(editor.child(u"Frame21"_s)->geometry().bottom(), 571);

        for (int n = 1; n <= 8; ++n) {
            auto *time = editor.child<TcxTimeEdit>(u"cxTimeEdit%1"_s.arg(n));
            QVERIFY(time->font().bold());
            QCOMPARE(time->font().pixelSize(), 14);
            QCOMPARE(time->text(), u"00:00"_s);
            QCOMPARE(time->isReadOnly(), n <= 4);
        }
        auto *name = editor.child<TcxTextEdit>(u"edtEmployeeName"_s);
        QVERIFY(!name->isEnabled());
        QCOMPARE(name->maxLength(), 16);
        QVERIFY(!editor.child(u"cbbdeptname"_s)->isEnabled());
        QCOMPARE(editor.workTime(), u"0"_s);
        QCOMPARE(editor.child<TcxCheckBox>(u"cxCheckBox1"_s)->caption(), u"调休"_s);
        auto *frame = editor.child<TFrame2>(u"Frame21"_s);
        QCOMPARE(frame->bbtnOK->caption(), u"确定(&O)"_s);
        QCOMPARE(frame->bbtnClose->caption(), u"取消(&C)"_s);
        QCOMPARE(frame->cbContinue->caption(), u"连续增加"_s);
        QCOMPARE(frame->bbtnOK->size(), QSize(75, 25));
        // The disabled employee box of modify mode still reads in the text colour.
        auto *person = editor.child(u"edtPersonName"_s);
        QCOMPARE(person->palette().color(QPalette::Disabled, QPalette::Text),
                 person->palette().color(QPalette::Active, QPalette::Text));
    }

    void tabOrderFollowsTheDesign()
    {
        TKqExchgClassEdtFrm form;
        QStringList order;
        QWidget *w = form.findChild<QWidget *>(u"edtPersonName"_s);
        for (int i = 0; i < 19; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty()
                   || w->objectName().startsWith(u"qt_"_s))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{u"edtPersonName"_s, u"edtExchgDate"_s, u"cxExchgeReason"_s,
                                     u"edtEmployeeName"_s, u"cbbdeptname"_s, u"cxTimeEdit1"_s,
                                     u"cxTimeEdit2"_s, u"cxTimeEdit3"_s, u"cxTimeEdit4"_s,
                                     u"cxTimeEdit5"_s, u"cxTimeEdit6"_s, u"cxTimeEdit7"_s,
                                     u"cxTimeEdit8"_s, u"cxCheckBox1"_s, u"edtWorkTime"_s,
                                     u"mmRemark"_s, u"bbtnOK"_s, u"bbtnClose"_s, u"cbContinue"_s}));
    }

    void addModeOpensEmptyOnTheHostsDay()
    {
        HostFixture host;
        bool opened = false;
        const bool saved = runEditor(
            QString(),
            [&](OpenEditor &e) {
                QCOMPARE(e.form->windowTitle(), u"新增调班"_s);
                QCOMPARE(e.child<TcxDateEdit>(u"edtExchgDate"_s)->text(),
                         QDate::currentDate().toString(u"yyyy-MM-dd"_s));
                QVERIFY(e.child(u"edtPersonName"_s)->isEnabled());
                QVERIFY(e.child<TcxButtonEdit>(u"edtPersonName"_s)->text().isEmpty());
                QCOMPARE(e.planned(), unset);
                QCOMPARE(e.entered(), unset);
                QVERIFY(!e.child<TcxCheckBox>(u"cxCheckBox1"_s)->isChecked());
                auto *frame = e.child<TFrame2>(u"Frame21"_s);
                QVERIFY(!frame->cbContinue->isVisible());
                QVERIFY(!frame->cbContinue->isChecked());
                // The department box knows every department by its code.
                auto *departments = e.child<TcxImageComboBox>(u"cbbdeptname"_s);
                QCOMPARE(departments->count(), 6);
                departments->setEditValue(u"0201"_s);
                QCOMPARE(departments->currentText(), u"华东销售部"_s);
            },
            &opened);
        QVERIFY(opened);
        QVERIFY(!saved);
    }

    // The planned periods: the plan's own row for the day, or the last rotating
    // shift carried forward through its cycle.
    void plannedTimes_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QStringList>("planned");
        const QStringList early = {u"06:00"_s, u"14:00"_s, u"00:00"_s, u"00:00"_s};
        const QStringList late = {u"14:00"_s, u"22:00"_s, u"00:00"_s, u"00:00"_s};
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
            << u"E002"_s << u"2026-11-05"_s
            << QStringList{u"07:00"_s, u"15:00"_s, u"00:00"_s, u"00:00"_s};
        QTest::newRow("2-day shift, second position")
            << u"E002"_s << u"2026-11-06"_s
            << QStringList{u"15:00"_s, u"23:00"_s, u"00:00"_s, u"00:00"_s};
        QTest::newRow("1-day shift") << u"E004"_s << u"2026-11-20"_s
                                     << QStringList{u"08:30"_s, u"12:00"_s, u"13:00"_s, u"17:00"_s};
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
        const QString noPlan = u"此员工在2026-12-04之前无排班,还需要继续调班吗?"_s;
        const QString irregular = u"此员工在2026-12-02之前为无规则排班,还需要继续调班吗?"_s;
        QTest::newRow("add, no plan, yes")
            << QString() << u"10001"_s << u"2026-11-27"_s
            << u"此员工在2026-11-27之前无排班,还需要继续调班吗?"_s << true;
        QTest::newRow("add, no plan, no")
            << QString() << u"10001"_s << u"2026-11-27"_s
            << u"此员工在2026-11-27之前无排班,还需要继续调班吗?"_s << false;
        QTest::newRow("add, irregular, yes")
            << QString() << u"HT10002"_s << u"2026-12-02"_s << irregular << true;
        QTest::newRow("add, irregular, no")
            << QString() << u"HT10002"_s << u"2026-12-02"_s << irregular << false;
        QTest::newRow("modify, no plan, yes") << u"4"_s << QString() << QString() << noPlan << true;
        QTest::newRow("modify, no plan, no") << u"4"_s << QString() << QString() << noPlan << false;
        QTest::newRow("modify, irregular, yes")
            << u"3"_s << QString() << QString() << irregular << true;
        QTest::newRow("modify, irregular, no")
            << u"3"_s << QString() << QString() << irregular << false;
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
        QCOMPARE(host.messages[0].caption, u"提示"_s);
        QCOMPARE(host.messages[0].buttons, Rt::Buttons::YesNo);
        QCOMPARE(host.messages[0].icon, Rt::Icon::Question);
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

    // A shift without cycle rows, or a plan whose numbers are no numbers, end the
    // lookup with a message; the planned times stay as they were.
    void brokenPlans_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("error");
        QTest::newRow("shift deleted")
            << u"E005"_s << u"2026-10-01"_s << u"以前排班有误，原因可能是班次被删除！"_s;
        QTest::newRow("no employee") << QString() << u"2026-12-02"_s << u"请选择需调班人员"_s;
    }

    void brokenPlans()
    {
        QFETCH(QString, employee);
        QFETCH(QString, day);
        QFETCH(QString, error);
        HostFixture host;
        TKqExchgClassEdtFrm form;
        form.LoadPlanTime(u"E001"_s, u"2026-11-29"_s);
        QVERIFY_THROWS_EXCEPTION(Rt::Abort, form.LoadPlanTime(employee, day));
        QCOMPARE(host.raisedErrors, QStringList{error});
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

    void workTimeFollowsThePeriods_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("minutes");
        QTest::newRow("day shift")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"17:30"_s} << u"510"_s;
        QTest::newRow("across midnight counts negative")
            << QStringList{u"22:00"_s, u"06:00"_s, u"00:00"_s, u"00:00"_s} << u"-960"_s;
        QTest::newRow("nothing set") << unset << u"0"_s;
        QTest::newRow("one minute")
            << QStringList{u"23:58"_s, u"23:59"_s, u"00:00"_s, u"00:00"_s} << u"1"_s;
    }

    void workTimeFollowsThePeriods()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, minutes);
        TKqExchgClassEdtFrm form;
        OpenEditor editor{&form};
        editor.enter(times);
        QCOMPARE(editor.workTime(), minutes);
    }

    void restDayBoxSetsAndFreesThePeriods()
    {
        TKqExchgClassEdtFrm form;
        OpenEditor editor{&form};
        editor.enter(dayShift);
        editor.tickRestDay();
        QCOMPARE(editor.entered(), unset);
        QCOMPARE(editor.workTime(), u"0"_s);
        for (int n = 5; n <= 8; ++n)
            QVERIFY(!editor.child(u"cxTimeEdit%1"_s.arg(n))->isEnabled());
        editor.tickRestDay();
        QCOMPARE(editor.entered(), unset);
        for (int n = 5; n <= 8; ++n)
            QVERIFY(editor.child(u"cxTimeEdit%1"_s.arg(n))->isEnabled());
    }

    // Each refusal over the stored exchange 2 (E001, 2026-12-03): the first broken
    // rule speaks, nothing is written and the dialog stays open.
    void validation_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QString>("refusal");
        const QString overlapBegin = u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
        QTest::newRow("period 2 not set passes")
            << QStringList{u"08:00"_s, u"12:00"_s, u"00:00"_s, u"00:00"_s} << QString();
        QTest::newRow("equal times pass")
            << QStringList{u"08:00"_s, u"08:00"_s, u"08:00"_s, u"08:00"_s} << QString();
        QTest::newRow("only period 2 end, period 1 not set passes")
            << QStringList{u"00:00"_s, u"00:00"_s, u"00:00"_s, u"10:00"_s} << QString();
        QTest::newRow("period 1 crosses midnight")
            << QStringList{u"12:00"_s, u"08:00"_s, u"00:00"_s, u"00:00"_s}
            << u" 时段一开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 begins inside period 1")
            << QStringList{u"08:00"_s, u"12:00"_s, u"11:00"_s, u"17:00"_s} << overlapBegin;
        QTest::newRow("period 2 ends before it begins, after overlaps pass")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"12:30"_s}
            << u"时段二开始时间不能大于结束时间，请核实!"_s;
        QTest::newRow("period 2 ends inside period 1")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"11:30"_s}
            << u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
        QTest::newRow("period 2 end set, begin not")
            << QStringList{u"08:00"_s, u"12:00"_s, u"00:00"_s, u"10:00"_s} << overlapBegin;
        QTest::newRow("period 2 ends at midnight")
            << QStringList{u"08:00"_s, u"12:00"_s, u"13:00"_s, u"00:00"_s}
            << u"时段二开始时间不能大于结束时间，请核实!"_s;
    }

    void validation()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, refusal);
        HostFixture host;
        bool openAfterOk = false;
        QStringList enteredAfterOk;
        const bool saved = runEditor(u"2"_s, [&](OpenEditor &e) {
            e.enter(times);
            e.ok();
            openAfterOk = e.isOpen();
            enteredAfterOk = e.entered();
        });
        const QStringList stored = storedRow(host.db(), u"ID=2"_s);
        if (refusal.isEmpty()) {
            QVERIFY(host.raisedErrors.isEmpty());
            QVERIFY(saved);
            QCOMPARE(stored.mid(2, 4), times);
        } else {
            QCOMPARE(host.raisedErrors, QStringList{refusal});
            QVERIFY(!saved);
            QVERIFY(openAfterOk);
            QCOMPARE(enteredAfterOk, times);
            QCOMPARE(stored.mid(2, 4),
                     (QStringList{u"09:00"_s, u"12:00"_s, u"13:00"_s, u"18:00"_s}));
        }
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
        QCOMPARE(host.raisedErrors, QStringList{taken});
        // The record itself, on its own day.
        host.raisedErrors.clear();
        saved = runEditor(u"2"_s, [](OpenEditor &e) { e.ok(); });
        QVERIFY(saved);
        QVERIFY(host.raisedErrors.isEmpty());
        // Moved onto the day of exchange 1.
        saved = runEditor(u"2"_s, [](OpenEditor &e) {
            e.setDay(QDate(2026, 11, 20));
            e.ok();
        });
        QVERIFY(!saved);
        QCOMPARE(host.raisedErrors, QStringList{taken});
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
            e.enter({u"09:00"_s, u"12:00"_s, u"13:00"_s, u"18:30"_s});
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

    void restDaySavesARestDay()
    {
        HostFixture host;
        QVERIFY(runEditor(QString(), [](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            e.enter(dayShift);
            e.tickRestDay();
            e.ok();
        }));
        const QStringList row = storedRow(host.db(), u"ID=6"_s);
        QCOMPARE(row.mid(2, 8), (QStringList{u"00:00"_s, u"00:00"_s, u"00:00"_s, u"00:00"_s, u"0"_s,
                                             u"0"_s, u"0"_s, u"0"_s}));
    }

    void modifyLoadsAndUpdatesTheRecord()
    {
        HostFixture host(u"clerk"_s);
        host.answer = Rt::Answer::Yes;
        bool restTicked = false;
        bool boxesEnabled = true;
        QString shown;
        QString name;
        QString department;
        bool personEnabled = true;
        QStringList planned;
        const bool saved = runEditor(u"1"_s, [&](OpenEditor &e) {
            QCOMPARE(e.form->windowTitle(), u"修改调班"_s);
            restTicked = e.child<TcxCheckBox>(u"cxCheckBox1"_s)->isChecked();
            boxesEnabled = e.child(u"cxTimeEdit5"_s)->isEnabled();
            shown = e.child<TcxButtonEdit>(u"edtPersonName"_s)->text();
            personEnabled = e.child(u"edtPersonName"_s)->isEnabled();
            name = e.child<TcxTextEdit>(u"edtEmployeeName"_s)->text();
            department = e.child<TcxImageComboBox>(u"cbbdeptname"_s)->currentText();
            planned = e.planned();
            QCOMPARE(e.reason(), u"家中有事"_s);
            QCOMPARE(e.child<TcxDateEdit>(u"edtExchgDate"_s)->text(), u"2026-11-20"_s);
            e.tickRestDay();
            e.enter({u"10:00"_s, u"15:00"_s, u"00:00"_s, u"00:00"_s});
            e.setDay(QDate(2026, 11, 21));
            e.ok();
        });
        QVERIFY(restTicked);
        QVERIFY(!boxesEnabled);
        QCOMPARE(shown, u"王芳"_s);
        QVERIFY(!personEnabled);
        QVERIFY(name.isEmpty());
        QVERIFY(department.isEmpty());
        // E001's plan starts on 2026-11-28: the question came, and the answer was to go on.
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(planned, unset);
        QVERIFY(saved);
        QCOMPARE(
            storedRow(host.db(), u"ID=1"_s),
            (QStringList{u"E001"_s, u"2026-11-21"_s, u"10:00"_s, u"15:00"_s, u"00:00"_s, u"00:00"_s,
                         u"0"_s, u"300"_s, u"1"_s, u"1"_s, u"家中有事"_s, u"clerk"_s, QString()}));
        QCOMPARE(host.db().nativeValue(
                     u"SELECT MODIFIED_TIME IS NOT NULL FROM Kq_ExchangeClass WHERE ID = 1"_s),
                 u"1"_s);
    }

    // Two desks passed the duplicate check for the same day; the other one saved
    // first. The insert is refused by the database, rolled back and logged, and
    // the dialog stays open with everything typed.
    void insertLosingTheRaceKeepsTheDialog()
    {
        if (!OtherDeskWritesFirst::staged())
            QSKIP("staged through SQLite's statement trace; tst_twohosts runs it on this engine");
        HostFixture host;
        const QString reason = u"我的理由"_s;
        std::unique_ptr<OtherDeskWritesFirst> otherDesk;
        bool openAfterOk = false;
        QStringList entered;
        QString reasonAfterOk;
        const bool saved = runEditor(QString(), [&](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            e.enter(dayShift);
            e.setReason(reason);
            otherDesk =
                std::make_unique<OtherDeskWritesFirst>(host.db(), otherDeskInsert(u"2026-12-02"_s));
            e.ok();
            openAfterOk = e.isOpen();
            entered = e.entered();
            reasonAfterOk = e.reason();
        });
        QVERIFY(otherDesk->done());
        QVERIFY(!saved);
        QVERIFY(openAfterOk);
        QCOMPARE(entered, dayShift);
        QCOMPARE(reasonAfterOk, reason);
        QCOMPARE(count(host.db(),
                       u"EmployeeCode='E001' and ExchgDate=to_date('2026-12-02','yyyy-mm-dd')"_s),
                 u"1"_s);
        QCOMPARE(
            storedRow(host.db(),
                      u"EmployeeCode='E001' and ExchgDate=to_date('2026-12-02','yyyy-mm-dd')"_s)
                .value(10),
            u"另一台"_s);
        QVERIFY(!host.db().inTransaction());
        QCOMPARE(host.log.latest().size(), 1);
        QVERIFY(host.log.latest()[0].contains(u"保存数据失败!该员工这一天已有调班记录"_s));
        QVERIFY(!host.session.waitNotice().isShown());
    }

    void updateLosingTheRaceKeepsTheDialog()
    {
        if (!OtherDeskWritesFirst::staged())
            QSKIP("staged through SQLite's statement trace; tst_twohosts runs it on this engine");
        HostFixture host;
        std::unique_ptr<OtherDeskWritesFirst> otherDesk;
        bool openAfterOk = false;
        const bool saved = runEditor(u"2"_s, [&](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            otherDesk =
                std::make_unique<OtherDeskWritesFirst>(host.db(), otherDeskInsert(u"2026-12-02"_s));
            e.ok();
            openAfterOk = e.isOpen();
        });
        QVERIFY(otherDesk->done());
        QVERIFY(!saved);
        QVERIFY(openAfterOk);
        QCOMPARE(storedRow(host.db(), u"ID=2"_s).value(1), u"2026-12-03"_s);
        QCOMPARE(host.log.latest().size(), 1);
        QVERIFY(host.log.latest()[0].contains(u"保存记录失败！"_s));
        QVERIFY(host.log.latest()[0].contains(u"该员工这一天已有调班记录"_s));
    }

    // Deleted by someone else while open: the update finds nothing to change.
    void updateOfAVanishedRecord()
    {
        HostFixture host;
        bool openAfterOk = false;
        const bool saved = runEditor(u"2"_s, [&](OpenEditor &e) {
            host.db().execute(u"DELETE FROM Kq_ExchangeClass WHERE ID = 2"_s);
            e.ok();
            openAfterOk = e.isOpen();
        });
        QVERIFY(!saved);
        QVERIFY(openAfterOk);
        QCOMPARE(host.messages.size(), 1);
        QCOMPARE(host.messages[0].text, u"保存记录失败"_s);
        QCOMPARE(host.messages[0].caption, u"系统信息"_s);
        QCOMPARE(host.messages[0].icon, Rt::Icon::Stop);
    }

    // No exchange is saved for nobody: without a pick, and after typing over one.
    void okWithoutAPickedEmployee()
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
        });
        QVERIFY(!saved);
        QVERIFY(nameAfterTyping.isEmpty());
        QCOMPARE(host.raisedErrors, (QStringList{u"请选择需调班人员"_s, u"请选择需调班人员"_s}));
        QCOMPARE(count(host.db(), u"1=1"_s), u"5"_s);
    }

    void okWithoutADay()
    {
        HostFixture host;
        runEditor(QString(), [](OpenEditor &e) {
            e.setDay(QDate(2026, 12, 2));
            e.pick(u"10001"_s);
            e.setDay(QDate());
            e.ok();
        });
        QCOMPARE(host.raisedErrors, QStringList{u"请选择调班时间"_s});
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
            runEditor(id, [&opened](OpenEditor &) { opened = true; });
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
                 (QStringList{u"09:00"_s, u"12:00"_s, u"13:00"_s, u"18:00"_s}));
    }

    void enteringTheReasonMarksIt()
    {
        HostFixture host;
        runEditor(QString(), [](OpenEditor &e) {
            QVERIFY(QTest::qWaitForWindowActive(e.form));
            auto *reason = e.child<TcxMemo>(u"cxExchgeReason"_s);
            QCOMPARE(Rt::tag(reason), 0);
            reason->setFocus();
            QCOMPARE(Rt::tag(reason), 1001);
        });
    }

    // The host calls of a save in their order. The insert runs in a transaction
    // and removes the wait notice at its end; the update is one bare statement.
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
        const bool saved = runEditor(id, [&](OpenEditor &e) {
            if (id.isEmpty()) {
                e.setDay(QDate(2026, 12, 2));
                e.pick(u"10001"_s);
            }
            from = recorder.calls.size();
            e.ok();
        });
        Rt::setMessageBoxResponder({});
        HostFactory.reset();
        QCOMPARE(saved, outcome == u"true"_s);
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

    // Looked at by eye: add mode, a stored rest day, a projected plan.
    void screenshots_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("file");
        QTest::newRow("add") << QString() << QString() << u"editor-add.png"_s;
        QTest::newRow("modify rest day") << u"1"_s << QString() << u"editor-restday.png"_s;
        QTest::newRow("projected plan") << QString() << u"10001"_s << u"editor-projected.png"_s;
    }

    void screenshots()
    {
        QFETCH(QString, id);
        QFETCH(QString, employee);
        QFETCH(QString, file);
        HostFixture host;
        host.answer = Rt::Answer::Yes;
        QImage shot;
        runEditor(id, [&](OpenEditor &e) {
            if (!employee.isEmpty()) {
                e.setDay(QDate(2026, 12, 2));
                e.pick(employee);
                e.enter({u"09:00"_s, u"12:00"_s, u"13:00"_s, u"18:30"_s});
                e.setReason(u"家里有事，与同事换班"_s);
                e.setRemark(u"已与班组长确认"_s);
            }
            shot = e.form->grab().toImage();
        });
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(481, 572));
        const QString folder = qEnvironmentVariable("TALVEX_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(shot.save(folder + u'/' + file));
    }
};

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
