// The prior-schedule lookup: what the attendance plan foresees for the employee
// on the exchange day.

#include "FrmKqExchgClassEdt.h"

#include "runtime/application.h"
#include "runtime/dataset.h"
#include "runtime/datetime.h"
#include "runtime/editors/cxeditors.h"
#include "schedule/Periods.h"
#include "talvex/project/HostFactory.h"

#include <QTime>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const std::array<QString, 4> restDay = {u"00:00"_s, u"00:00"_s, u"00:00"_s, u"00:00"_s};

// The four periods of a plan or shift row; empty texts when there is no row.
std::array<QString, 4> periodsOf(const TDataSet &row)
{
    return {
        row.fieldByName(u"period1Beg"_s).asString(), row.fieldByName(u"period1end"_s).asString(),
        row.fieldByName(u"period2Beg"_s).asString(), row.fieldByName(u"period2end"_s).asString()};
}

// A whole number stored as text, or nothing.
std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

void TKqExchgClassEdtFrm::LoadPlanTime(const QString &EmployeeCode, const QString &ExchgDate)
{
    if (EmployeeCode.isEmpty())
        Host::raiseError(u"请选择需调班人员"_s);
    // An emptied date box has no day to look up; the planned times stay.
    if (!Rt::DateTime::parseDate(ExchgDate))
        return;

    if (Host::queryValue(EditorStatements::planCount(EmployeeCode, ExchgDate)) == u"0"_s) {
        const bool goOn = askToGoOn(u"此员工在"_s + ExchgDate + u"之前无排班,还需要继续调班吗?"_s);
        setPlannedTimes(restDay);
        if (!goOn)
            closeWithoutSaving();
        return;
    }

    const std::unique_ptr<TDataSet> lastDay(
        Host::db()->OpenQuery(EditorStatements::lastPlannedDay(EmployeeCode, ExchgDate)));
    if (lastDay->fieldByName(u"WorkDate"_s).asString() == ExchgDate) {
        setPlannedTimes(periodsOf(*lastDay));
        return;
    }
    projectRotatingShift(*lastDay, ExchgDate);
}

// The last planned day lies before the exchange day. A rotating shift goes on from
// there, day by day through its cycle; an irregular schedule (ClassType 3 and up)
// says nothing about later days.
void TKqExchgClassEdtFrm::projectRotatingShift(const TDataSet &lastDay, const QString &exchgDate)
{
    const QDate exchangeDay = *Rt::DateTime::parseDate(exchgDate);
    const std::optional<double> plannedAt =
        Rt::DateTime::parse(lastDay.fieldByName(u"WorkDate"_s).asString());
    if (!plannedAt) {
        Host::raiseError(u"以前排班有误，排班日期[%1]无效！"_s.arg(
            lastDay.fieldByName(u"WorkDate"_s).asString()));
    }
    const QDate plannedDay = Rt::DateTime::toDate(*plannedAt);

    // Both questions ask whether to go on with the exchange, so "No" ends it here
    // as it does when there is no plan at all.
    if (exchangeDay > plannedDay
        && Schedule::isIrregular(lastDay.fieldByName(u"ClassType"_s).asInteger())) {
        const bool goOn =
            askToGoOn(u"此员工在"_s + exchgDate + u"之前为无规则排班,还需要继续调班吗?"_s);
        setPlannedTimes(restDay);
        if (!goOn)
            closeWithoutSaving();
        return;
    }

    const QString classId = lastDay.fieldByName(u"ClassID"_s).asString();
    const QString positionText = lastDay.fieldByName(u"SubClassNo"_s).asString();
    const std::optional<int> position = number(positionText);
    if (!position)
        Host::raiseError(u"以前排班有误，班次序号[%1]不是数字！"_s.arg(positionText));
    const QString lengthText = Host::queryValue(EditorStatements::cycleLength(classId));
    const std::optional<int> length = number(lengthText);
    if (!length)
        Host::raiseError(u"以前排班有误，班次[%1]的天数[%2]不是数字！"_s.arg(classId, lengthText));
    if (*length <= 0)
        Host::raiseError(u"以前排班有误，原因可能是班次被删除！"_s);

    const int k = Schedule::projectedPosition(*position, plannedDay, exchangeDay, *length);
    const std::unique_ptr<TDataSet> cycleDay(
        Host::db()->OpenQuery(EditorStatements::cycleDay(classId, k)));
    setPlannedTimes(periodsOf(*cycleDay));
}

// Texts that are not a time of day, empty ones included, show as "00:00", the
// time that is not set.
void TKqExchgClassEdtFrm::setPlannedTimes(const std::array<QString, 4> &times)
{
    const std::array<TcxTimeEdit *, 4> boxes = {cxTimeEdit1, cxTimeEdit2, cxTimeEdit3, cxTimeEdit4};
    for (size_t i = 0; i < boxes.size(); ++i) {
        const bool isTime = QTime::fromString(times[i], u"HH:mm"_s).isValid();
        boxes[i]->setText(isTime ? times[i] : u"00:00"_s);
    }
}

bool TKqExchgClassEdtFrm::askToGoOn(const QString &question)
{
    return Rt::messageBox(question, u"提示"_s, Rt::Buttons::YesNo, Rt::Icon::Question)
           == Rt::Answer::Yes;
}

// "No" to going on ends the exchange: an open dialog closes without saving, one
// that is still opening (modify mode) is not shown at all, since the user has
// just said he does not want to go on with it.
void TKqExchgClassEdtFrm::closeWithoutSaving()
{
    if (isVisible())
        close();
    else
        m_declined = true;
}
