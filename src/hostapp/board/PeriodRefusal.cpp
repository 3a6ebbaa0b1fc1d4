#include "PeriodRefusal.h"

using namespace Qt::StringLiterals;

namespace PeriodRefusal {

QString text(Schedule::PeriodFault fault)
{
    switch (fault) {
    case Schedule::PeriodFault::Period1Reversed:
        return u" 时段一开始时间不能大于结束时间，请核实!"_s;
    case Schedule::PeriodFault::Period2BeginsInPeriod1:
        return u"时间重叠， 时段一结束时间不能大于时段二开始时间，请核实!"_s;
    case Schedule::PeriodFault::Period2EndsInPeriod1:
        return u"时间重叠， 时段一结束时间不能大于时段二结束时间，请核实!"_s;
    case Schedule::PeriodFault::Period2Reversed:
        return u"时段二开始时间不能大于结束时间，请核实!"_s;
    }
    return {};
}

QString of(const Schedule::Periods &periods)
{
    const auto fault = Schedule::periodFault(periods);
    return fault ? text(*fault) : QString();
}

} // namespace PeriodRefusal
